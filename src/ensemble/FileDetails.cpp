#include "ensemble/FileDetails.h"

#include "common/EnsembleTimeText.h"
#include "common/NumberFormat.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/EnsembleIndexPass.h"
#include "ensemble/Framing.h"
#include "ensemble/IndexDecision.h"
#include "ensemble/LastEnsembleSearch.h"
#include "ensemble/LayoutCheck.h"
#include "model/EnsembleFrame.h"
#include "model/Options.h"

#include <algorithm>
#include <cstdio>

namespace mvx {

namespace {

const char* const kCrLf = "\r\n";

std::string N0(double v) {
    return FormatNumber(v, "0");
}
std::string N2(double v) {
    return FormatNumber(v, "0.00");
}
std::string EnsembleLine(const char* caption, int32_t number, const std::array<uint8_t, 7>& clock) {
    return caption + FormatNumber(number, "00000000") + " " + Ensemble_Date_Text(clock.data()) + " " +
           Ensemble_Time_Text(clock.data()) + kCrLf;
}

std::string TimePerPingText(const std::array<int32_t, 3>& t) {
    return Time_Per_Ping_Text(t[0], t[1], t[2]);
}

// Heading alignment and bias: one leading space for values that are not negative, so signs line up.
std::string SignedDegrees(double v) {
    return (v >= 0 ? " " : "") + N2(v);
}

// The report names narrowband codes only up to 5, the highest its configuration byte was given.
std::string Frequency(int32_t code, int32_t structure) {
    const char* name =
        structure == kNarrowband && code > 5 ? nullptr : System_Frequency_Name(code, structure);
    return name ? name : "Unknown";
}

std::string CoordXformText(int32_t ex) {
    static const char* const kFrames[] = {"Beam", "Instrument", "Ship", "Earth"};
    static const char* const kExtras[] = {"",
                                          "Using Bin Mapping",
                                          "Using 3 Beam Solutions",
                                          "Using 3 Beam Solutions and Bin Mapping",
                                          "Using Tilts",
                                          "Using Tilts and Bin Mapping",
                                          "Using Tilts and 3 Beam Solutions",
                                          "Using Tilts, 3 Beam Solutions, and Bin Mapping"};
    return "Coord Xform (EX) " + CovertByteToBinaryStr(ex, 4) + " " + kFrames[(ex >> 3) & 3] +
           " Coordinates " + kExtras[ex & 7];
}

void AppendNarrowbandSetup(const DetailsConfig& c, std::string& t) {
    auto line = [&t](const std::string& s) { t += s + kCrLf; };
    line("System Frequency " + Frequency((c.NBConfig >> 4) & 7, kNarrowband));
    line((c.NBConfig & 0x08) ? "Concave" : "Convex");
    line(std::string("Orientation ") + ((c.NBConfig & 0x04) ? "Down" : "UP"));
    line(std::string("Velocity Reference ") + ((c.NBConfig & 0x02) ? "Earth" : "Beam"));
    line(std::string("Velocity Range ") + ((c.NBConfig & 0x01) ? "High Range" : "Low Range"));
    line("Pings/Ens    (P) " + N0(c.Pings));
    line("Bins         (Q) " + N0(c.Bins));
    const double binLength = c.NBBinLengthCode < 31 ? static_cast<double>(1u << c.NBBinLengthCode) : 0;
    line("Bin Length   (L) " + N0(binLength) + " m");
    line("Xmt Length   (I) " + N0(c.NBXmtLength) + " m");
    line("Blank        (J) " + N0(c.NBBlank) + " m");
    line("Delay        (K) " + N0(c.NBDelay) + " m");
    line("S/N Threshold(N) " + FormatNumber(c.NBSnr / 10.0, "0.0") + " dB");
    line("%GD Threshold(M) " + N0(c.NBPGoodThreshold));
    line("Time/Ping    (V) " + TimePerPingText(c.TimePerPing));
}

void AppendBroadbandSetup(const DetailsConfig& c, const InstrumentSetup& bt, std::string& t) {
    auto line = [&t](const std::string& s) { t += s + kCrLf; };
    const int32_t w = c.SystemConfigWord;
    line("Firmware Version " + N2(c.FirmwareVersion));
    line("System Frequency " + Frequency(w & 7, kBroadband));
    line((w & 0x08) ? "Convex" : "Concave");
    line("Sensor Configuration #" + N0(((w >> 4) & 3) + 1));
    line(std::string("Transducer Head Attached ") + ((w & 0x40) ? "TRUE" : "FALSE"));
    line(std::string("Orientation ") + ((w & 0x80) ? "UP" : "DOWN"));
    static const char* const kAngles[] = {"15", "20", "30", "Other"};
    line(std::string("Beam Angle ") + kAngles[(w >> 8) & 3] + " Degrees");
    const int32_t head = (w >> 12) & 0xF;
    line(std::string("Transducer ") + (head == 0x4   ? "4 Beam Janus"
                                       : head == 0x5 ? "5 Beam Janus"
                                       : head == 0xF ? "Switched 5 Beam Janus"
                                                     : "Unknown"));
    line(c.RealSimFlag == 0 ? "Real Data" : "Fake Data");
    std::string serial = "CPU Serial Number:";
    for (uint8_t byte : c.CpuSerial) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", byte);
        serial += std::string(" ") + hex;
    }
    line(serial);
    t += kCrLf;
    line("High Power  (CQ) " + N0(c.HighPower));
    line("Trigger     (CX) " + N0(c.Trigger));
    line("False Target(WA) " + N0(c.FalseTarget) + " counts");
    line("Band Width  (WB) " + N0(c.BandWidth));
    line("Cor. Thres. (WC) " + N0(c.CorrThreshold) + " counts");
    line("Err Thres.  (WE) " + N0(c.ErrThreshold) + " mm/s");
    line("Blank       (WF) " + N2(c.Blank) + " m");
    line("Min PGood   (WG) " + N0(c.MinPGood));
    line("Ref Layer   (WL) " + N0(c.RefLayerFirst) + ", " + N0(c.RefLayerLast) + " first bin, last bin");
    line("Mode        (WM) " + N0(c.Mode));
    line("Bins        (WN) " + N0(c.Bins));
    line("Pings/Ens   (WP) " + N0(c.Pings));
    line("Bin Size    (WS) " + N2(c.BinSize) + " m");
    line("Head Align  (EA) " + SignedDegrees(c.HeadAlign) + " degrees");
    line("Head Bias   (EB) " + SignedDegrees(c.HeadBias) + " degrees");
    line(CoordXformText(c.CoordXform));
    line("Sens Source (EZ) " + CovertByteToBinaryStr(c.SensorSource, 6) + " cdhprst");
    line("Sens Avail       " + CovertByteToBinaryStr(c.SensorsAvailable, 6) + " cdhprst");
    line("Time/Ping   (TP) " + TimePerPingText(c.TimePerPing));
    line("Hardware   " + N0(c.Beams) + " Beams");
    line("Lag        " + N0(c.LagLength) + " elements");
    line("Code Reps. " + N0(c.CodeReps));
    line("Lag Length " + N2(c.LagDistance) + " m");
    line("Xmt Length " + N2(c.XmtLength) + " m");
    line("1st Bin    " + N2(c.Bin1) + " m");
    t += kCrLf;
    line("BT Pings/Ens    (BP) " + N0(bt.BTPings));
    line("BT Ens Delay    (BD) " + N0(bt.BTDelay));
    line("BT Cor.Thres.   (BC) " + N0(bt.BTCorrMin) + " counts");
    line("BT Eval. Thres. (BA) " + N0(bt.BTEvalMin) + " counts");
    line("BT PG Thres.    (BG) " + N0(bt.BTPGoodMin));
    line("BT Mode         (BM) " + N0(bt.BTMode));
    line("BT Err Thres.   (BE) " + N0(bt.BTErrMax) + " mm/s");
    line("BT Max Range    (BX) " + N0(bt.BTMaxDepth) + " dm");
}

void DataTypesLine(int32_t structure, const DetailsConfig& c, std::string& t) {
    std::string s = "Data Types";
    if (structure == kNarrowband) {
        static const char* const kNames[] = {" Leader", " Velocity", " Spectrum", " AGC", " PercentGood"};
        for (int k = 0; k < 5; ++k)
            if (c.NBBlockLengths[k] != 0) s += kNames[k];
    } else {
        for (int32_t id : c.DataTypeIds) {
            char hex[8];
            std::snprintf(hex, sizeof hex, " %04X", id & 0xFFFF);
            s += hex;
        }
    }
    t += s + kCrLf;
    if (structure == kBroadband && c.Strandex) t += std::string("STRANDEX GPS") + kCrLf;
}

// The six counters, fed the ensembles in file order. An ensemble of another length than the first
// is wrong size when it cannot hold what its own header describes (or is a set-up block); one that can
// is counted as any other, since files with text blocks of varying size or changing cell counts are
// made of such ensembles. One of 8258 bytes is passed over, its number kept as the previous one.
class StatisticsCounter {
  public:
    StatisticsCounter(FileDetailsResult& r, const EnsembleFormat& format, int32_t expectedBytes,
                      const std::function<void(const EnsembleStatistics&)>& onStatistics)
        : r_(r), format_(format), onStatistics_(onStatistics), expectedBytes_(expectedBytes),
          previous_(static_cast<int64_t>(r.Config.EnsembleNumber) - 1) {
        r_.Stats = EnsembleStatistics{};
        r_.UpCount = r_.DownCount = 0;
        r_.Stats.First = r_.Config.EnsembleNumber;
        Changed();
    }

    void Take(const EnsembleFrame& frame) {
        EnsembleStatistics& s = r_.Stats;
        format_.DecodeLeaders(frame, scratch_, false);
        const int64_t number = scratch_.EnsembleNumber;
        if (frame.EnsembleBytes != expectedBytes_) {
            const bool whole = !Is_Nvram_Block(frame) && Holds_Its_Layout(format_.Structure, frame);
            if (frame.EnsembleBytes + 2 == 8258 || !whole) {
                if (frame.EnsembleBytes + 2 != 8258) {
                    ++s.WrongSize;
                    Changed();
                }
                previous_ = number;
                return;
            }
        }
        const int64_t d = number - previous_;
        if (d == 1) {
            s.Last = static_cast<int32_t>(number);
        } else if (d > 1) {
            s.Missing += static_cast<int32_t>(d - 1);
        } else if (d < 0) {
            ++s.Resets;
        } else {
            ++s.Repeats;
        }
        Changed();
        if (scratch_.Config & 0x80)
            ++r_.UpCount;
        else
            ++r_.DownCount;
        previous_ = number;
    }

  private:
    void Changed() {
        if (onStatistics_) onStatistics_(r_.Stats);
    }
    FileDetailsResult& r_;
    const EnsembleFormat& format_;
    const std::function<void(const EnsembleStatistics&)>& onStatistics_;
    int32_t expectedBytes_;
    int64_t previous_;
    DetailsConfig scratch_;
};

// The statistics scan over every ensemble of the file, searched one after another.
void ScanEnsembles(EnsembleFile& file, EnsembleFrame& frame, const EnsembleFormat& format,
                   StatisticsCounter& counter, FileDetailsResult& r, const YieldFn& yield,
                   const ProgressSink& progress) {
    file.Seek(1);
    const double length = static_cast<double>(std::max<int64_t>(file.Length(), 1));
    while (!file.AtEnd()) {
        // The share of the file read so far (positions count from 1).
        const double read = std::min(static_cast<double>(file.NextPosition() - 1) / length, 1.0);
        if (!progress.DoValue(100.0 * read)) {
            r.Stopped = true;
            return;
        }
        if (format.Find(file, frame, yield)) counter.Take(frame);
    }
}

// The bytes of an indexed file outside its ensembles, less the bytes of the ensembles missing from its
// numbering (each the ensembles' mean length): for ensembles of one length with nothing between them,
// the file's length less (last - first + 1) ensembles, as the arithmetic counts it.
int64_t ExtraBytes(const EnsembleIndex& index) {
    const int64_t missing = Missing_Ensembles(index);
    const int64_t count = static_cast<int64_t>(index.Count());
    return index.TotalLength() - index.CoveredBytes - (index.CoveredBytes * missing + count / 2) / count;
}

// Reads entry k of the index into the frame: the pass has checked its bytes, so only its length word is
// looked at again (a file rewritten since reads as no ensemble there).
bool ReadEntry(EnsembleFile& file, EnsembleFrame& frame, const EnsembleFormat& format,
               const EnsembleIndex& index, size_t k) {
    const IndexEntry& entry = index.Entries[k];
    const size_t total = size_t{entry.Bytes} + 2;
    size_t got = 0;
    const uint8_t* bytes = file.Peek(Entry_Position(index, k).Position, total, got);
    const FramingRule& rule = format.Framing;
    if (got < total || rule.LengthOffset + 2 > total) return false;
    const uint8_t* word = bytes + rule.LengthOffset;
    if ((rule.BigEndian ? (word[0] << 8 | word[1]) : (word[0] | word[1] << 8)) != entry.Bytes) return false;
    frame.EnsembleBuffer.assign(bytes, bytes + total);
    frame.EnsembleBytes = entry.Bytes;
    return true;
}

// The same over the ensembles of the file's index, each read at its own place; progress runs from
// `from` to 100.
void ScanIndexed(EnsembleFile& file, EnsembleFrame& frame, const EnsembleFormat& format,
                 const EnsembleIndex& index, StatisticsCounter& counter, FileDetailsResult& r,
                 const YieldFn& yield, const ProgressSink& progress, double from) {
    const double length = static_cast<double>(std::max<int64_t>(file.Length(), 1));
    SearchPacer pacer(yield);
    for (size_t k = 0; k < index.Count(); ++k) {
        const double read = std::min(static_cast<double>(index.Entries[k].Offset) / length, 1.0);
        if (!progress.DoValue(from + (100.0 - from) * read)) {
            r.Stopped = true;
            return;
        }
        if (ReadEntry(file, frame, format, index, k)) counter.Take(frame);
        pacer.Examined(size_t{index.Entries[k].Bytes} + 2);
    }
}

} // namespace

std::string CovertByteToBinaryStr(int32_t value, int topBit) {
    std::string s;
    for (int bit = topBit; bit >= 0; --bit) s += ((value >> bit) & 1) ? '1' : '0';
    return s;
}

bool Show_File_Details(const std::string& path, const InstrumentSetup& btSetup, FileDetailsResult& r,
                       const std::function<void(const EnsembleStatistics&)>& onStatistics,
                       const YieldFn& yield, const ProgressSink& progress) {
    r = FileDetailsResult{};
    EnsembleFile file;
    if (!file.Open(path)) {
        r.Text = "Invalid File";
        return false;
    }
    std::string& t = r.Text;
    const int64_t length = file.Length();
    t += "File Size " + FormatNumber(static_cast<double>(length), "###,###,###,###") + " bytes" + kCrLf;

    EnsembleFrame frame;
    const int32_t structure = Determine_File_Data_Structure(file, frame, yield);
    const EnsembleFormat* format = Ensemble_Format(structure);
    t += std::string("Data Structure ") + (format ? format->DetailsName : "Unknown ") + kCrLf;
    if (!format || !format->Find(file, frame, yield)) return true;

    format->DecodeLeaders(frame, r.Config, true);
    const int32_t firstBytes = frame.EnsembleBytes;
    const int32_t firstNumber = r.Config.EnsembleNumber;
    const auto firstTime = r.Config.Time;
    // Where the first ensemble starts, for the check of the arithmetic.
    ArithmeticFacts facts;
    facts.FirstNumber = firstNumber;
    facts.FirstBytes = firstBytes;
    facts.FirstOffset = file.NextPosition() - (int64_t{firstBytes} + 2) - 1;
    t += "Ensemble Length " + N0(firstBytes + 2.0) + " bytes" + kCrLf;
    DataTypesLine(structure, r.Config, t);
    t += kCrLf;
    if (structure == kNarrowband)
        AppendNarrowbandSetup(r.Config, t);
    else
        AppendBroadbandSetup(r.Config, btSetup, t);
    t += kCrLf;
    t += EnsembleLine("First Ensemble ", firstNumber, firstTime);

    DetailsConfig last = r.Config;
    SetStream single;
    LastEnsembleResult found;
    bool fileValid = true;
    if (single.Open({path}))
        found = Find_Last_Ensemble(
            single, frame, structure, single.TotalLength(), firstBytes, fileValid,
            [&] { format->DecodeLeaders(frame, last, false); }, yield);
    facts.LastNumber = last.EnsembleNumber;
    // A file whose ensembles do not all sit where the first one's length puts them is indexed, as the
    // file statistics index it; its last ensemble and its bytes outside the ensembles come from there.
    bool indexed = !found.Found || Arithmetic_Last_Ensemble(facts, length, found.Nvram) != facts.LastNumber ||
                   !Arithmetic_Holds({path}, structure, facts, Options{}.MaxSubEnsembles + 1, yield);
    int64_t extra = length - (static_cast<int64_t>(last.EnsembleNumber) - firstNumber + 1) *
                                 (static_cast<int64_t>(firstBytes) + 2);
    r.Nvram = found.Nvram;
    EnsembleIndex index;
    if (indexed) {
        ProgressSink firstHalf;
        firstHalf.Value = [&progress](double v) { return progress.DoValue(v / 2); };
        if (Index_Ensembles({path}, structure, false, index, yield, firstHalf) == IndexPassEnd::Stopped) {
            r.Stopped = true;
            return true;
        }
    }
    // A file that shrank away under the pass keeps what the arithmetic found.
    if (index.Empty()) indexed = false;
    if (indexed) {
        last.EnsembleNumber = index.Entries.back().Number;
        if (ReadEntry(file, frame, *format, index, index.Count() - 1)) {
            format->DecodeLeaders(frame, last, false);
            last.EnsembleNumber = index.Entries.back().Number;
        }
        extra = ExtraBytes(index);
        r.Nvram = index.NvramBlocks > 0;
    }
    t += EnsembleLine("Last  Ensemble ", last.EnsembleNumber, last.Time);
    t += "Extra Data in File " + FormatNumber(static_cast<double>(extra), "###,###,###,##0") + " bytes" +
         kCrLf;
    if (structure == kBroadband) t += std::string("NVRAM Data Set  ") + (r.Nvram ? "TRUE" : "FALSE") + kCrLf;

    // The scan starts from the first ensemble's number and, without an index, the length the last
    // search left.
    r.Config.EnsembleNumber = firstNumber;
    StatisticsCounter counter(r, *format, indexed ? firstBytes : frame.EnsembleBytes, onStatistics);
    if (indexed)
        ScanIndexed(file, frame, *format, index, counter, r, yield, progress, 50);
    else
        ScanEnsembles(file, frame, *format, counter, r, yield, progress);
    if (file.Length() < length) t += std::string(kCrLf) + "File Error";
    return true;
}

} // namespace mvx
