#include "ensemble/DataViewText.h"

#include "common/EnsembleTimeText.h"
#include "common/NumberFormat.h"
#include "common/Orientation.h"

namespace mvx {

namespace {

const char* const kCrLf = "\r\n";
const char* const kDegree = "\xC2\xB0";       // UTF-8 degree sign
const char* const kCubed = "\xC2\xB3";        // UTF-8 superscript three
constexpr double kBinaryAngle = 2147483648.0; // 2^31

std::string Pad(const std::string& text, int width) {
    return Fix_String(text, ' ', width);
}
std::string PadInt(double v, int width) {
    return Pad(FormatNumber(v, "0"), width);
}
// A value followed by the degree sign, the two together right-aligned in width characters.
std::string PadDegrees(const std::string& text, int width) {
    return Pad(text, width - 1) + kDegree;
}

std::string Direction(int16_t tenths) {
    if (tenths == kBadValue) return Pad("-32768", 7);
    return PadDegrees(FormatNumber(tenths / 10.0, "0.0"), 7);
}

template <typename Row> std::string Columns(Row value, int rows) {
    std::string s;
    for (int r = 0; r < rows; ++r) s += PadInt(value(r), 6);
    return s;
}

std::string Position(int32_t angle) {
    return PadDegrees(FormatNumber(angle * 180.0 / kBinaryAngle, "0.00000000"), 14);
}

} // namespace

bool Update_Data_View(const EnsembleSet& d, const InstrumentSetup& s, const SetDescriptors& set, int e, int b,
                      std::string& text) {
    if (e < 0 || e >= set.CurrentEnsIndex || !d.ValidSlot(e)) return false;
    if (b < 0 || b >= s.NumCells) return false;

    const int m = Mostly_Up_Looking(set.OrientationBalance) ? set.LastBinShown - b
                                                            : b + (s.NumCells - set.LastBinShown) + 1;
    const int n = m - 1;
    const bool up = d.AncData(5, e) == 1;
    const int bin = up ? m - 1 : s.NumCells - m;
    if (bin < 0 || bin >= kMaxBins) return false;

    std::string t;
    auto line = [&t](const std::string& l) { t += l + kCrLf; };
    const uint8_t* clock = d.EnsTimes.SlotData(e);
    line("Ensemble " + PadInt(d.EnsNumbers[e], 9) + "         Date " + Ensemble_Date_Text(clock));
    line("Bin      " + PadInt(n, 9) + "         Time " + Ensemble_Time_Text(clock));
    line("Range(m) " +
         Pad((up ? "" : "-") + FormatNumber(s.CellLength * n + s.Bin1Distance, "0.00") + " ", 10));
    t += kCrLf;

    auto vel = [&](int r) { return static_cast<double>(d.VelData(r, bin, e)); };
    if (s.FlowMeterFirmware) {
        line("Array  B1/P1 B2/P2    B3    B4    Av");
        line("V mm/s" + Columns(vel, 2));
    } else {
        line("Array   B1/E  B2/N  B3/V  B4/e Av/Mg    Dir");
        line("V mm/s" + Columns(vel, 5) + Direction(d.VelData(5, bin, e)));
    }
    line("E cnt " + Columns([&](int r) { return static_cast<double>(d.IntensityData(r, bin, e)); }, 5));
    line("C cnt " + Columns([&](int r) { return static_cast<double>(d.CorrData(r, bin, e)); }, 5));
    line("PGood " + Columns([&](int r) { return static_cast<double>(d.PGoodData(r, bin, e)); }, 4));
    line("B mm/s" + Columns([&](int r) { return static_cast<double>(d.BTVelData(r, e)); }, 5) +
         Direction(d.BTVelData(5, e)));
    line("W mm/s" + Columns([&](int r) { return static_cast<double>(d.RefVelData(r, e)); }, 5) +
         Direction(d.RefVelData(5, e)));
    line("N mm/s" + Columns([&](int r) { return static_cast<double>(d.NavData(r, e)); }, 5) +
         Direction(d.NavData(5, e)));
    line("D (cm)" + Columns([&](int r) { return static_cast<double>(d.BTRangeData(r, e)); }, 5));
    t += kCrLf;

    if (s.FlowMeterFirmware) {
        const double q = d.FlowMeterQ[e];
        line("FLXM Q      " + Pad(q == kBadValue ? "" : FormatNumber(q / 1000000.0, "0.000"), 20) + " m" +
             kCubed + "/s");
        line("FLXM Depth  " + Pad(FormatNumber(d.FlowMeterDepth[e] / 10000.0, "0.000"), 20) + " m");
        line("FLXM Vel    " + Pad(FormatNumber(d.FlowMeterVel[e], "0.000"), 20) + " m/s");
    } else {
        static const char* const kAnc[] = {"Pitch       ", "Roll        ", "Heading     ", "Temperature "};
        for (int r = 0; r < 4; ++r) line(kAnc[r] + Pad(FormatNumber(d.AncData(r, e) / 100.0, "0.00"), 7));
        line("Depth Sensor" + Pad(FormatNumber(d.AncData(4, e) / 1000.0, "0.000"), 8) + " meters");
        line("BIT         " + PadInt(d.AncData(6, e), 7));
        t += kCrLf;
        line("                    First          Last      Strandex");
        line("LAT        " + Position(d.NavFirstLat[e]) + Position(d.NavLastLat[e]) + Position(d.LatData[e]));
        line("LON        " + Position(d.NavFirstLon[e]) + Position(d.NavLastLon[e]) + Position(d.LonData[e]));
    }
    if (s.TextBlockSeen) {
        t += kCrLf;
        line("MicroCAT String:");
        t += d.TextData[e];
    }
    text = t;
    return true;
}

} // namespace mvx
