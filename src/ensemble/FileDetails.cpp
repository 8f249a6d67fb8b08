#include "ensemble/FileDetails.h"

#include "common/NumberFormat.h"
#include "ensemble/DecoderDetail.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/Framing.h"
#include "ensemble/LastEnsembleSearch.h"
#include "model/EnsembleFrame.h"

#include <algorithm>
#include <cstdio>

namespace mvx {

namespace {

const char* const kCrLf = "\r\n";

// Reads of leader fields that may lie outside a short ensemble: those read as 0.
class LeaderReads {
  public:
    explicit LeaderReads(const EnsembleFrame& frame) : view_(frame) {}
    bool Has(int64_t offset, int64_t width) const {
        return offset >= 0 && width >= 0 &&
               view_.Holds(static_cast<size_t>(offset), static_cast<size_t>(width));
    }
    int32_t U8(int64_t offset) const { return Has(offset, 1) ? view_.U8(static_cast<size_t>(offset)) : 0; }
    int32_t U16LE(int64_t offset) const {
        return Has(offset, 2) ? view_.LE16(static_cast<size_t>(offset)) : 0;
    }
    int32_t U16BE(int64_t offset) const {
        return Has(offset, 2) ? view_.BE16(static_cast<size_t>(offset)) : 0;
    }
    int32_t S16LE(int64_t offset) const { return detail::SignedWord(static_cast<uint16_t>(U16LE(offset))); }

  private:
    detail::EnsembleBytesView view_;
};

int32_t Bcd(int32_t byte) {
    return detail::FromBcd(static_cast<uint8_t>(byte));
}

void DecodeBroadbandLeaders(const EnsembleFrame& frame, DetailsConfig& cfg, bool recordTypes) {
    LeaderReads b(frame);
    const int32_t count = b.U8(5);
    bool fixedSeen = false, variableSeen = false;
    if (recordTypes) cfg.DataTypeIds.clear();
    for (int32_t i = 0; i < count; ++i) {
        const int64_t offsetAt = 6 + 2 * static_cast<int64_t>(i);
        if (!b.Has(offsetAt, 2)) break;
        const int64_t p = b.U16LE(offsetAt);
        if (!b.Has(p, 2)) continue;
        const int32_t id = b.U16LE(p);
        if (recordTypes) cfg.DataTypeIds.push_back(id);
        if (id == 0x0000 && !fixedSeen) {
            fixedSeen = true;
            int32_t revision = b.U8(p + 3);
            if (revision > 99) revision -= 100;
            cfg.FirmwareVersion = b.U8(p + 2) + revision / 100.0;
            cfg.SystemConfigWord = b.U16LE(p + 4);
            cfg.Config = cfg.SystemConfigWord;
            cfg.RealSimFlag = b.U8(p + 6);
            cfg.LagLength = b.U8(p + 7);
            cfg.Beams = b.U8(p + 8);
            cfg.Bins = b.U8(p + 9);
            cfg.Pings = b.U16LE(p + 10);
            cfg.BinSize = b.U16LE(p + 12) / 100.0;
            cfg.Blank = b.U16LE(p + 14) / 100.0;
            cfg.Mode = b.U8(p + 16);
            cfg.CorrThreshold = b.U8(p + 17);
            cfg.CodeReps = b.U8(p + 18);
            cfg.MinPGood = b.U8(p + 19);
            cfg.ErrThreshold = b.U16LE(p + 20);
            cfg.TimePerPing = {b.U8(p + 22), b.U8(p + 23), b.U8(p + 24)};
            cfg.CoordXform = b.U8(p + 25);
            cfg.HeadAlign = b.S16LE(p + 26) / 100.0;
            cfg.HeadBias = b.S16LE(p + 28) / 100.0;
            cfg.SensorSource = b.U8(p + 30);
            cfg.SensorsAvailable = b.U8(p + 31);
            cfg.Bin1 = b.U16LE(p + 32) / 100.0;
            cfg.XmtLength = b.U16LE(p + 34) / 100.0;
            cfg.RefLayerFirst = b.U8(p + 36);
            cfg.RefLayerLast = b.U8(p + 37);
            cfg.FalseTarget = b.U8(p + 38);
            cfg.Trigger = b.U8(p + 39);
            cfg.LagDistance = b.U16LE(p + 40) / 100.0;
            for (int k = 0; k < 8; ++k) cfg.CpuSerial[k] = static_cast<uint8_t>(b.U8(p + 42 + k));
            cfg.BandWidth = b.U16LE(p + 50);
            cfg.HighPower = b.U8(p + 52);
        } else if (id == 0x0080 && !variableSeen) {
            variableSeen = true;
            cfg.EnsembleNumber = b.U8(p + 2) + 256 * b.U8(p + 3) + 65536 * b.U8(p + 11);
            for (int k = 0; k < 7; ++k) cfg.Time[k] = b.U8(p + 4 + k);
            if (cfg.Time[0] > 99) cfg.Time[0] -= 100;
        } else if (id == 0x0600 && recordTypes) {
            if (b.Has(p + 64, 1)) cfg.Strandex = b.U8(p + 64) < 4;
        }
    }
}

void DecodeNarrowbandLeader(const EnsembleFrame& frame, DetailsConfig& cfg) {
    LeaderReads b(frame);
    for (int k = 0; k < 5; ++k) cfg.NBBlockLengths[k] = b.U16BE(2 + 2 * k);
    if (cfg.NBBlockLengths[0] == 0) return;
    const int64_t p = 14;
    cfg.Time[0] = 80;
    for (int k = 0; k < 5; ++k) cfg.Time[1 + k] = Bcd(b.U8(p + k));
    cfg.Time[6] = 0;
    cfg.TimePerPing = {Bcd(b.U8(p + 5)), Bcd(b.U8(p + 6)), Bcd(b.U8(p + 7))};
    cfg.Pings = b.U16BE(p + 8);
    cfg.Bins = b.U8(p + 10);
    cfg.NBBinLengthCode = b.U8(p + 11);
    cfg.NBXmtLength = b.U8(p + 12);
    cfg.NBBlank = b.U8(p + 13);
    cfg.NBDelay = b.U8(p + 14);
    cfg.EnsembleNumber = b.U16BE(p + 15);
    cfg.NBConfig = b.U8(p + 18);
    cfg.Config = cfg.NBConfig;
    cfg.NBSnr = b.U8(p + 19);
    cfg.NBPGoodThreshold = b.U8(p + 20);
}

void DecodeLeaders(int32_t structure, const EnsembleFrame& frame, DetailsConfig& cfg, bool recordTypes) {
    if (structure == kNarrowband)
        DecodeNarrowbandLeader(frame, cfg);
    else if (structure == kBroadband)
        DecodeBroadbandLeaders(frame, cfg, recordTypes);
}

std::string N0(double v) {
    return FormatNumber(v, "0");
}
std::string N2(double v) {
    return FormatNumber(v, "0.00");
}
std::string Two(int32_t v) {
    return FormatNumber(v, "00");
}

std::string TimeStamp(const std::array<int32_t, 7>& t) {
    std::string s;
    if (t[0] != 80) s += Two(t[0]) + "/";
    s += Two(t[1]) + "/" + Two(t[2]) + " " + Two(t[3]) + ":" + Two(t[4]) + ":" + Two(t[5]) + "." + Two(t[6]);
    return s;
}

std::string TimePerPingText(const std::array<int32_t, 3>& t) {
    return Two(t[0]) + ":" + Two(t[1]) + "." + Two(t[2]);
}

// Heading alignment and bias: one leading space for values that are not negative, so signs line up.
std::string SignedDegrees(double v) {
    return (v >= 0 ? " " : "") + N2(v);
}

std::string Frequency(int32_t code, bool narrowband) {
    static const char* const kBroadband[] = {"76.8 kHz",   "153.6 kHz",  "307.2 kHz", "614.4 kHz",
                                             "1228.8 kHz", "2457.6 kHz", "38.4 kHz",  "Unknown"};
    static const char* const kNarrowband[] = {"76.8 kHz",  "153.6 kHz",  "307.2 kHz",
                                              "614.4 kHz", "1228.8 kHz", "115.0 kHz"};
    if (narrowband) return code >= 0 && code <= 5 ? kNarrowband[code] : "Unknown";
    return kBroadband[code & 7];
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
    line("System Frequency " + Frequency((c.NBConfig >> 4) & 7, true));
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
    line("System Frequency " + Frequency(w & 7, false));
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
void ScanEnsembles(EnsembleFile& file, EnsembleFrame& frame, int32_t structure, FileDetailsResult& r,
                   const std::function<void(const EnsembleStatistics&)>& onStatistics, const YieldFn& yield) {
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
    bool fileValid = true;
    DetailsConfig scratch;
    while (!file.AtEnd()) {
        if (!Get_Next_Ensemble(structure, file, frame, fileValid, yield)) continue;
        DecodeLeaders(structure, frame, scratch, false);
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
                       const YieldFn& yield) {
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
    t += structure == kNarrowband  ? "Data Structure NarrowBand"
         : structure == kBroadband ? "Data Structure BB/LX/MX"
                                   : "Data Structure Unknown ";
    t += kCrLf;
    bool fileValid = true;
    if (structure == kStructureUnknown || !Get_Next_Ensemble(structure, file, frame, fileValid, yield))
        return true;

    DecodeLeaders(structure, frame, r.Config, true);
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
    t += "First Ensemble " + FormatNumber(firstNumber, "00000000") + " " + TimeStamp(firstTime) + kCrLf;

    DetailsConfig last = r.Config;
    SetStream single;
    LastEnsembleResult found;
    if (single.Open({path}))
        found = Find_Last_Ensemble(
            single, frame, structure, single.TotalLength(), firstBytes, fileValid,
            [&] { DecodeLeaders(structure, frame, last, false); }, yield);
    r.Nvram = found.Nvram;
    t += "Last  Ensemble " + FormatNumber(last.EnsembleNumber, "00000000") + " " + TimeStamp(last.Time) +
         kCrLf;
    const int64_t extra = length - (static_cast<int64_t>(last.EnsembleNumber) - firstNumber + 1) *
                                       (static_cast<int64_t>(firstBytes) + 2);
    t += "Extra Data in File " + FormatNumber(static_cast<double>(extra), "###,###,###,##0") + " bytes" +
         kCrLf;
    if (structure == kBroadband) t += std::string("NVRAM Data Set  ") + (r.Nvram ? "TRUE" : "FALSE") + kCrLf;

    // The scan starts from the first ensemble's number and the length the last search left.
    r.Config.EnsembleNumber = firstNumber;
    ScanEnsembles(file, frame, structure, r, onStatistics, yield);
    if (file.Length() < length) t += std::string(kCrLf) + "File Error";
    return true;
}

} // namespace mvx
