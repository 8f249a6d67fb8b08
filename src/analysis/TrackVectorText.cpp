// Text column and pointer text of the track vector window.
#include "analysis/TrackVectorText.h"

#include "common/EnsembleTimeText.h"
#include "common/NumberFormat.h"

#include <algorithm>

namespace mvx {

namespace {

// Speed and direction of rows 4 and 5 of a reference velocity, right-aligned.
std::string SpeedAndDirection(const SlotArray<int16_t>& a, int slot, double factor) {
    if (a.Empty() || slot < 0 || slot >= a.Slots() || a(4, slot) == kBadValue || a(5, slot) == kBadValue)
        return Fix_String("No Data", ' ', 9);
    return Fix_String(FormatNumber(a(4, slot) * factor, "0.000"), ' ', 9) +
           Fix_String(FormatNumber(a(5, slot) / 10.0, "0.00"), ' ', 10);
}

std::string Value(int16_t v, double factor, const std::string& unit) {
    return FormatNumber(v * factor, "0.000") + " " + unit;
}

} // namespace

std::string Track_Reference_Name(int32_t velocityReference) {
    switch (velocityReference) {
    case 1:
        return "BOTTOM";
    case 2:
    case 3:
    case 4:
        return "NAVIGATION";
    case 5:
        return "WATER MASS";
    default:
        return "NONE";
    }
}

std::vector<std::string> Track_Text_Column(const EnsembleSet& set, int32_t count, int32_t lastEnsNumber,
                                           int32_t velocityReference, int32_t speedUnit) {
    const size_t unit = Unit_Index(speedUnit);
    const double factor = kSpeedUnitFactors[unit];
    const int slot = std::min(count, set.Capacity) - 1;
    std::vector<std::string> lines{"              Speed   Direction",
                                   std::string("              ") + kSpeedUnitNames[unit] + "     degrees",
                                   ""};
    lines.push_back("Bottom     " + SpeedAndDirection(set.BTVelData, slot, factor));
    lines.push_back("Navigation " + SpeedAndDirection(set.NavData, slot, factor));
    lines.push_back("");
    lines.push_back("Reference  " + Track_Reference_Name(velocityReference));
    lines.push_back("Ensemble: " + FormatNumber(lastEnsNumber, "0"));
    if (slot >= 0 && !set.EnsTimes.Empty()) {
        lines.push_back("Date:    " + Ensemble_Date_Text(set.EnsTimes.SlotData(slot), "??"));
        lines.push_back("Time:    " + Ensemble_Time_Text(set.EnsTimes.SlotData(slot)));
    }
    return lines;
}

std::string Track_Tool_Tip(const EnsembleSet& set, int32_t count, int32_t ensembleIndex, int32_t bin,
                           int32_t binNumber, bool overlaid, int32_t speedUnit) {
    count = std::min(count, set.Capacity);
    if (count <= 0 || set.VelData.Empty() || bin < 0 || bin >= set.VelData.Bins()) return "";
    const int i = std::clamp(ensembleIndex, 0, count - 1);
    std::string text = "ENSEMBLE " + std::to_string(set.EnsNumbers[i]) +
                       (overlaid ? ", ___ BIN " : ", BIN ") + std::to_string(binNumber);
    const int16_t along = set.VelData(6, bin, i), across = set.VelData(7, bin, i);
    if (along == kBadValue) return text + ", No Data";
    const size_t unit = Unit_Index(speedUnit);
    const double factor = kSpeedUnitFactors[unit];
    text += ", Long " + Value(along, factor, kSpeedUnitNames[unit]);
    text += ", Cross " +
            (across == kBadValue ? std::string("No Data") : Value(across, factor, kSpeedUnitNames[unit]));
    return text;
}

} // namespace mvx
