#include "options/OptionsDialogFields.h"

#include "common/ContourCode.h"
#include "common/LeadingNumber.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "options/TextRecords.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <utility>

namespace mvx {

namespace {

constexpr double kLargestEntry = 1e9;

std::string WholeText(int32_t value) {
    return FormatNumber(static_cast<double>(value), "0");
}

// An ensemble or bin box reads the number in its first `width` characters.
int32_t BoxValue(const std::string& text, size_t width) {
    return LeadingWholeNumber(std::string_view(text).substr(0, width));
}

// Bins shown are kept in slots counted from the far end; the dialog counts them from the transducer
// when the set looks down.
int32_t MirroredBin(int32_t bin, const SetDescriptors& set, int32_t numCells) {
    return set.OrientationBalance > 0 ? numCells - bin + 1 : bin;
}

template <size_t N>
void ScalesToText(const std::array<double, N>& min, const std::array<double, N>& max, size_t pairs,
                  std::string* boxes) {
    for (size_t k = 0; k < pairs; ++k) {
        boxes[2 * k] = NumberText(min[k]);
        boxes[2 * k + 1] = NumberText(max[k]);
    }
}

template <size_t N>
void TextToScales(const std::string* boxes, size_t pairs, std::array<double, N>& min,
                  std::array<double, N>& max) {
    for (size_t k = 0; k < pairs; ++k) {
        min[k] = Scale_Entry_Value(boxes[2 * k]);
        max[k] = Scale_Entry_Value(boxes[2 * k + 1]);
    }
}

void ReadSelectedSet(const OptionsDialogFields& f, SetDescriptors& set) {
    const int32_t lo = std::min(set.FileFirstEnsemble, set.FileLastEnsemble);
    const int32_t hi = std::max(set.FileFirstEnsemble, set.FileLastEnsemble);
    if (lo == hi) return; // no two different ensembles to choose from
    int32_t first = std::clamp(BoxValue(f.SelectedSet[0], 8), lo, hi);
    int32_t last = std::clamp(BoxValue(f.SelectedSet[1], 8), lo, hi);
    if (last < first) std::swap(first, last);
    if (first == last) {
        if (first < hi)
            last = first + 1;
        else
            first = last - 1;
    }
    set.SelFirstEns = first;
    set.SelLastEns = last;
}

void ReadBinsShown(const OptionsDialogFields& f, SetDescriptors& set, int32_t numCells) {
    if (numCells < 2) return; // a single bin has no range to choose
    int32_t first = std::clamp(BoxValue(f.SubSet[0], 3), 1, numCells);
    int32_t last = std::clamp(BoxValue(f.SubSet[1], 3), 1, numCells);
    first = std::clamp(MirroredBin(first, set, numCells), 1, numCells);
    last = std::clamp(MirroredBin(last, set, numCells), 1, numCells);
    if (last < first) std::swap(first, last);
    if (first == last) {
        if (first >= numCells)
            first = last - 1;
        else
            last = first + 1;
    }
    set.FirstBinShown = first;
    set.LastBinShown = last;
}

} // namespace

std::string Interval_Text(double seconds) {
    const double hundredths =
        std::isfinite(seconds) ? std::clamp(RoundHalfEven(seconds * 100), 0.0, 1e15) : 0;
    const auto total = static_cast<long long>(hundredths);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld:%02lld:%02lld.%02lld", total / 360000, total / 6000 % 60,
                  total / 100 % 60, total % 100);
    return text;
}

double Parse_Interval_Text(const std::string& text) {
    // hours ':' minutes ':' seconds '.' hundredths
    double parts[4] = {0, 0, 0, 0};
    std::string_view rest(text);
    for (int k = 0; k < 4 && !rest.empty(); ++k) {
        const char end = k < 2 ? ':' : '.';
        const size_t at = k < 3 ? rest.find(end) : std::string_view::npos;
        const std::string_view part = rest.substr(0, at);
        // Each part is a whole number of its unit; "1.5" hours is not what the box asks for.
        parts[k] = std::clamp(static_cast<double>(LeadingDigits(part)), -kLargestEntry, kLargestEntry);
        if (at == std::string_view::npos) break;
        rest.remove_prefix(at + 1);
    }
    const double seconds = ((parts[0] * 60 + parts[1]) * 60 + parts[2]) + parts[3] / 100;
    return std::clamp(seconds, -kLargestEntry, kLargestEntry);
}

double Scale_Entry_Value(const std::string& text) {
    const double value = LeadingNumberValue(text);
    if (std::isnan(value)) return 0;
    return std::clamp(value, -kLargestEntry, kLargestEntry);
}

void Options_To_Dialog(const Options& o, const SetDescriptors& set, int32_t numCells,
                       OptionsDialogFields& f) {
    const ContourCode code = Decode_Contour_Code(o.ContourDataType);
    f.ContourType = code.Index >= 0 ? code.Index : 14;
    f.ScaleMode = std::clamp(o.ContourScaleMode, 0, 4);
    f.UserScale = {WholeText(o.ContourUserScale[0]), WholeText(o.ContourUserScale[1])};
    f.ContourChecks = {o.ShowLocators, o.ShowGrid, o.ShowBTDepth};
    f.SelectedSet = {WholeText(set.SelFirstEns), WholeText(set.SelLastEns)};
    f.SubSet = {WholeText(MirroredBin(set.FirstBinShown, set, numCells)),
                WholeText(MirroredBin(set.LastBinShown, set, numCells)), WholeText(set.FirstEnsNumber),
                WholeText(set.LastEnsNumber)};
    if (set.OrientationBalance > 0) std::swap(f.SubSet[0], f.SubSet[1]);

    f.ProfileTypes = o.ProfileDataTypes;
    f.ProfileStyle = {o.ProfileLines, o.ProfileSymbols, o.ProfileGrid};
    ScalesToText(o.ProfileScaleMin, o.ProfileScaleMax, 7, f.ProfileScales.data());
    f.ProfileEnsemble = WholeText(set.ProfileEnsNumber);

    f.SeriesStyle = {o.SeriesCombo, o.SeriesLines, o.SeriesSymbols, o.SeriesGrid};
    std::copy_n(o.SeriesDataTypes.begin(), kSeriesTypeBoxes, f.SeriesTypes.begin());
    ScalesToText(o.SeriesScaleMin, o.SeriesScaleMax, 5, f.SeriesScales.data());
    std::copy_n(o.SeriesBinSelect.begin(), kOptionsBinItems + 1, f.SeriesBins.begin());
    f.SeriesBins[0] = false;
    f.AverageAll = o.SeriesAverageAll;
    f.AverageInterval = Interval_Text(o.SeriesAverageInterval);

    f.AncTypes = o.AncDataTypes;
    f.AncStyle = {o.AncLines, o.AncSymbols, o.AncGrid};
    ScalesToText(o.AncScaleMin, o.AncScaleMax, 11, f.AncScales.data());
    f.WaterDensity = NumberText(o.WaterDensity);

    f.WaterScale = NumberText(o.WaterVelScale);
    f.BottomScale = NumberText(o.BottomVelScale);
    f.VelRef = std::clamp(o.VelocityReference, 0, 5);
    f.EndOfProfile = o.EndOfProfile;
}

void Dialog_To_Options(OptionsDialogFields& f, Options& o, SetDescriptors& set, int32_t numCells) {
    if (const int32_t code = Contour_Code_At(f.ContourType); code != 0) o.ContourDataType = code;
    o.ContourScaleMode = std::clamp(f.ScaleMode, 0, 4);
    o.ContourUserScale = {RoundedLeadingNumber(f.UserScale[0]), RoundedLeadingNumber(f.UserScale[1])};
    o.ShowLocators = f.ContourChecks[0];
    o.ShowGrid = f.ContourChecks[1];
    o.ShowBTDepth = f.ContourChecks[2];
    if (set.FileValid) {
        ReadSelectedSet(f, set);
        ReadBinsShown(f, set, numCells);
    }

    o.ProfileDataTypes = f.ProfileTypes;
    o.ProfileLines = f.ProfileStyle[0];
    o.ProfileSymbols = f.ProfileStyle[1];
    o.ProfileGrid = f.ProfileStyle[2];
    TextToScales(f.ProfileScales.data(), 7, o.ProfileScaleMin, o.ProfileScaleMax);
    if (set.FileValid) {
        const int32_t lo = std::min(set.FirstEnsNumber, set.LastEnsNumber);
        const int32_t hi = std::max(set.FirstEnsNumber, set.LastEnsNumber);
        set.ProfileEnsNumber = std::clamp(RoundedLeadingNumber(f.ProfileEnsemble), lo, hi);
        o.ProfileEnsNumber = set.ProfileEnsNumber;
    }

    o.SeriesCombo = f.SeriesStyle[0];
    o.SeriesLines = f.SeriesStyle[1];
    o.SeriesSymbols = f.SeriesStyle[2];
    o.SeriesGrid = f.SeriesStyle[3];
    std::copy_n(f.SeriesTypes.begin(), kSeriesTypeBoxes, o.SeriesDataTypes.begin());
    TextToScales(f.SeriesScales.data(), 5, o.SeriesScaleMin, o.SeriesScaleMax);
    std::copy_n(f.SeriesBins.begin() + 1, kOptionsBinItems, o.SeriesBinSelect.begin() + 1);
    o.SeriesAverageAll = f.AverageAll;
    if (f.AverageAll) {
        const int32_t n = set.CurrentEnsIndex;
        o.SeriesAverageInterval =
            n >= 2 && std::isfinite(set.SetDuration) ? set.SetDuration / (n - 1) * n : 0;
    } else {
        o.SeriesAverageInterval = Parse_Interval_Text(f.AverageInterval);
    }
    o.SeriesAverageOn = o.SeriesAverageInterval > 0;
    f.AverageInterval = Interval_Text(o.SeriesAverageInterval);

    o.AncDataTypes = f.AncTypes;
    o.AncLines = f.AncStyle[0];
    o.AncSymbols = f.AncStyle[1];
    o.AncGrid = f.AncStyle[2];
    TextToScales(f.AncScales.data(), 11, o.AncScaleMin, o.AncScaleMax);
    // Depth from pressure divides by the density: an entry that is not positive is refused.
    if (const double density = Scale_Entry_Value(f.WaterDensity); density > 0)
        o.WaterDensity = static_cast<float>(density);
}

bool Processing_To_Options(const OptionsDialogFields& f, Options& o) {
    bool reload = false;
    const int32_t reference = std::clamp(f.VelRef, 0, 5);
    if (reference != o.VelocityReference) {
        o.VelocityReference = reference;
        reload = true;
    }
    const std::pair<const std::string*, double*> scales[] = {{&f.BottomScale, &o.BottomVelScale},
                                                             {&f.WaterScale, &o.WaterVelScale}};
    for (const auto& [text, value] : scales) {
        const double read = Scale_Entry_Value(*text);
        if (read != *value) {
            *value = read;
            reload = true;
        }
    }
    o.EndOfProfile = f.EndOfProfile;
    return reload;
}

} // namespace mvx
