#include "ensemble/FileDetails.h"

#include "common/EnsembleTimeText.h"
#include "common/NumberFormat.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"
#include "ensemble/LastEnsembleSearch.h"
#include "model/EnsembleFrame.h"

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

// The statistics scan over every ensemble of the file.
void ScanEnsembles(EnsembleFile& file, EnsembleFrame& frame, const EnsembleFormat& format,
                   FileDetailsResult& r, const std::function<void(const EnsembleStatistics&)>& onStatistics,
                   const YieldFn& yield, const ProgressSink& progress) {
    EnsembleStatistics& s = r.Stats;
    s = EnsembleStatistics{};
    r.UpCount = r.DownCount = 0;
    const int32_t expectedBytes = frame.EnsembleBytes;
    int64_t previous = static_cast<int64_t>(r.Config.EnsembleNumber) - 1;
    s.First = r.Config.EnsembleNumber;
    auto changed = [&] {
        if (onStatistics) onStatistics(s);
    };
    changed();
    file.Seek(1);
    DetailsConfig scratch;
    const double length = static_cast<double>(std::max<int64_t>(file.Length(), 1));
    while (!file.AtEnd()) {
        // The share of the file read so far (positions count from 1).
        const double read = std::min(static_cast<double>(file.NextPosition() - 1) / length, 1.0);
        if (!progress.DoValue(100.0 * read)) {
            r.Stopped = true;
            return;
        }
        if (!format.Find(file, frame, yield)) continue;
        format.DecodeLeaders(frame, scratch, false);
        const int64_t number = scratch.EnsembleNumber;
        if (frame.EnsembleBytes != expectedBytes) {
            if (frame.EnsembleBytes + 2 != 8258) {
                ++s.WrongSize;
                changed();
            }
            previous = number;
            continue;
        }
        const int64_t d = number - previous;
        if (d == 1) {
            s.Last = static_cast<int32_t>(number);
        } else if (d > 1) {
            s.Missing += static_cast<int32_t>(d - 1);
        } else if (d < 0) {
            ++s.Resets;
        } else {
            ++s.Repeats;
        }
        changed();
        if (scratch.Config & 0x80)
            ++r.UpCount;
        else
            ++r.DownCount;
        previous = number;
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
    r.Nvram = found.Nvram;
    t += EnsembleLine("Last  Ensemble ", last.EnsembleNumber, last.Time);
    const int64_t extra = length - (static_cast<int64_t>(last.EnsembleNumber) - firstNumber + 1) *
                                       (static_cast<int64_t>(firstBytes) + 2);
    t += "Extra Data in File " + FormatNumber(static_cast<double>(extra), "###,###,###,##0") + " bytes" +
         kCrLf;
    if (structure == kBroadband) t += std::string("NVRAM Data Set  ") + (r.Nvram ? "TRUE" : "FALSE") + kCrLf;

    // The scan starts from the first ensemble's number and the length the last search left.
    r.Config.EnsembleNumber = firstNumber;
    ScanEnsembles(file, frame, *format, r, onStatistics, yield, progress);
    if (file.Length() < length) t += std::string(kCrLf) + "File Error";
    return true;
}

} // namespace mvx
