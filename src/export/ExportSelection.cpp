#include "export/ExportSelection.h"

#include "common/ContourCode.h"
#include "common/LeadingNumber.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace mvx {

void BinList::SelectAll(int numCells) {
    const int last = std::clamp(numCells, 0, kBinListItems);
    for (int m = 1; m <= last; ++m) Selected[static_cast<size_t>(m)] = true;
}

void BinList::SelectNone(int numCells) {
    const int last = std::clamp(numCells, 0, kBinListItems);
    for (int m = 1; m <= last; ++m) Selected[static_cast<size_t>(m)] = false;
}

std::vector<int> BinList::Exported(int numCells) const {
    std::vector<int> bins;
    const int last = std::clamp(numCells, 0, kBinListItems);
    for (int m = 1; m <= last; ++m)
        if (Selected[static_cast<size_t>(m)]) bins.push_back(m);
    return bins;
}

int64_t EnsembleRange::Count() const {
    if (Last < First || Step < 1) return 0;
    return (static_cast<int64_t>(Last) - First) / Step + 1;
}

std::optional<int> ContourTypeOption(int32_t code) {
    // The dialog's twenty buttons are the twenty codes in order.
    const ContourCode decoded = Decode_Contour_Code(code);
    if (decoded.Source == ContourSourceKind::None) return std::nullopt;
    return decoded.Index;
}

int32_t EnsembleEntryValue(const std::string& text) {
    return LeadingWholeNumber(std::string_view(text).substr(0, 8));
}

namespace {

int32_t ClampEnsemble(int32_t value, const SetDescriptors& set) {
    // A file whose first number lies above its last would make clamp's bounds cross.
    const int32_t lo = std::min(set.FileFirstEnsemble, set.FileLastEnsemble);
    const int32_t hi = std::max(set.FileFirstEnsemble, set.FileLastEnsemble);
    return std::clamp(value, lo, hi);
}

std::string BoxText(int32_t value) {
    return FormatNumber(static_cast<double>(value), "0");
}

} // namespace

EnsembleRange Clamp_Ensemble_Entries(std::array<std::string, 3>& boxes, const SetDescriptors& set) {
    EnsembleRange range;
    range.First = ClampEnsemble(EnsembleEntryValue(boxes[0]), set);
    range.Last = ClampEnsemble(EnsembleEntryValue(boxes[1]), set);
    const int64_t span = std::max<int64_t>(1, static_cast<int64_t>(set.FileLastEnsemble) -
                                                  static_cast<int64_t>(set.FileFirstEnsemble) + 1);
    range.Step = static_cast<int32_t>(std::clamp<int64_t>(EnsembleEntryValue(boxes[2]), 1, span));
    boxes[0] = BoxText(range.First);
    boxes[1] = BoxText(range.Last);
    boxes[2] = BoxText(range.Step);
    return range;
}

int32_t Clamp_Ensemble_Entry(std::string& box, const SetDescriptors& set) {
    const int32_t value = ClampEnsemble(EnsembleEntryValue(box), set);
    box = BoxText(value);
    return value;
}

void Load_Folders(const Options& o, const SetDescriptors& set, ExportSelection& selection) {
    if (const auto option = ContourTypeOption(o.ContourDataType)) selection.ContourType = *option;
    selection.ProfileEnsemble = BoxText(set.ProfileEnsNumber);
    // The profile chart's lines 0-15 are the panel's boxes 0-15; its percent-good lines 19-22 are
    // boxes 16-19 (the chart's statistics lines 16-18 have no box).
    for (int k = 0; k < 16; ++k)
        selection.ProfileTypes[static_cast<size_t>(k)] = o.ProfileDataTypes[static_cast<size_t>(k)];
    for (int k = 16; k < kExportDataTypes; ++k)
        selection.ProfileTypes[static_cast<size_t>(k)] = o.ProfileDataTypes[static_cast<size_t>(k + 3)];
    const std::string first = BoxText(set.FirstEnsNumber), last = BoxText(set.LastEnsNumber);
    selection.ContourEnsembles = {first, last, "1"};
    selection.SeriesEnsembles = {first, last, "1"};
    // The series chart's lines are the boxes 0-35; it has no line for 36-39.
    for (int k = 0; k < kSeriesBoxes; ++k)
        selection.SeriesTypes[static_cast<size_t>(k)] = k < 36 && o.SeriesDataTypes[static_cast<size_t>(k)];
    for (int k = 0; k < kAncBoxes; ++k)
        selection.AncTypes[static_cast<size_t>(k)] = o.AncDataTypes[static_cast<size_t>(k)];
    selection.ReportProgress(0);
}

} // namespace mvx
