#include "charts/Navigator.h"

#include "common/Rounding.h"

#include <algorithm>
#include <optional>

namespace mvx {

namespace {

int64_t Range(const ScrollBarState& s) {
    return std::max<int64_t>(int64_t{s.Max} - s.Min + 1, 1);
}

int32_t StepWithin(double v) {
    return static_cast<int32_t>(RoundToInt64(v, 1, 32767));
}

// The bar value of an offset within a span.
int32_t ValueOf(const ScrollBarState& s, double offset, double span) {
    const double v = offset / span * static_cast<double>(Range(s)) + s.Min;
    return static_cast<int32_t>(RoundToInt64(v, s.Min, s.Max));
}

// The number a bar value stands for: its share of a span from a base, rounded.
int64_t PositionOf(const ScrollBarState& s, double span, double base) {
    return RoundToInt64((static_cast<double>(s.Value) - s.Min) / static_cast<double>(Range(s)) * span + base,
                        INT32_MIN, INT32_MAX);
}

// An indexed file moves its sub set by entries (ensembles present), not by numbers: the first entry of
// the sub set, the entries it holds and the entries of the file.
struct EntryWindow {
    int64_t First = 0, Held = 1, Count = 1;
};

EntryWindow EntriesOf(const SetDescriptors& set) {
    const EnsembleIndex& index = set.Index;
    EntryWindow w;
    w.Count = std::max<int64_t>(static_cast<int64_t>(index.Count()), 1);
    w.First = static_cast<int64_t>(Entry_Of_Number(index, set.FirstEnsNumber).value_or(index.Count() - 1));
    const std::optional<size_t> last = Entry_Of_Number(index, set.LastEnsNumber);
    const int64_t end = last ? static_cast<int64_t>(*last) : w.Count - 1;
    w.Held = std::clamp<int64_t>(std::max<int64_t>(set.CurrentEnsIndex, end - w.First + 1), 1, w.Count);
    w.First = std::clamp<int64_t>(w.First, 0, w.Count - w.Held);
    return w;
}

// The numbers of the entries first..first + held - 1, kept inside the index.
EnsembleSpan SpanOfEntries(const EnsembleIndex& index, int64_t first, int64_t held) {
    const int64_t count = static_cast<int64_t>(index.Count());
    first = std::clamp<int64_t>(first, 0, std::max<int64_t>(count - held, 0));
    const int64_t last = std::min(first + held - 1, count - 1);
    return {index.Entries[static_cast<size_t>(first)].Number,
            index.Entries[static_cast<size_t>(last)].Number};
}

// The sub set's length along the bar: entries held, or numbers spanned.
double SubSetLength(const SetDescriptors& set) {
    if (!set.Index.Empty()) return static_cast<double>(EntriesOf(set).Held);
    return static_cast<double>(std::max(int64_t{set.LastEnsNumber} - set.FirstEnsNumber + 1, int64_t{1}));
}

int32_t BinsShown(const SetDescriptors& set) {
    return std::max(set.LastBinShown - set.FirstBinShown + 1, 1);
}

} // namespace

int32_t Ensemble_Span(const SetDescriptors& set) {
    if (!set.Index.Empty()) {
        const EntryWindow w = EntriesOf(set);
        return static_cast<int32_t>(std::clamp<int64_t>(w.Count - w.Held, 1, INT32_MAX));
    }
    const int64_t span = (int64_t{set.FileLastEnsemble} - set.WholeFirstEns) -
                         (int64_t{set.LastEnsNumber} - set.FirstEnsNumber);
    return static_cast<int32_t>(std::clamp<int64_t>(span, 1, INT32_MAX));
}

int32_t Bin_Span(const SetDescriptors& set, int32_t numCells) {
    return std::max(numCells - BinsShown(set), 1);
}

void Set_Scroll_Steps(NavigatorScrolls& scrolls, const SetDescriptors& set, int32_t numCells) {
    ScrollBarState& h = scrolls.H;
    const double n = SubSetLength(set);
    const double span = Ensemble_Span(set);
    h.SmallChange = StepWithin(static_cast<double>(Range(h)) / span);
    h.LargeChange = StepWithin(static_cast<double>(Range(h)) * n / span);
    h.Enabled = !(set.FirstEnsNumber <= set.FileFirstEnsemble && set.LastEnsNumber >= set.FileLastEnsemble);

    ScrollBarState& v = scrolls.V;
    const double b = BinsShown(set);
    const double binSpan = Bin_Span(set, numCells);
    v.SmallChange = StepWithin(static_cast<double>(Range(v)) / binSpan);
    v.LargeChange = StepWithin(static_cast<double>(Range(v)) * b / binSpan);
    v.Enabled = BinsShown(set) < numCells;
}

void Move_Scrollers(NavigatorScrolls& scrolls, const SetDescriptors& set, int32_t numCells) {
    Set_Scroll_Steps(scrolls, set, numCells);
    const double offset = set.Index.Empty() ? static_cast<double>(set.FirstEnsNumber) - set.WholeFirstEns
                                            : static_cast<double>(EntriesOf(set).First);
    scrolls.H.Value = ValueOf(scrolls.H, offset, Ensemble_Span(set));
    scrolls.V.Value =
        ValueOf(scrolls.V, static_cast<double>(numCells) - set.LastBinShown, Bin_Span(set, numCells));
}

EnsembleSpan HScroll_Range(const ScrollBarState& h, const SetDescriptors& set) {
    if (!set.Index.Empty()) {
        const EntryWindow w = EntriesOf(set);
        const int64_t start = h.Value >= h.Max ? w.Count - w.Held : PositionOf(h, Ensemble_Span(set), 0);
        return SpanOfEntries(set.Index, start, w.Held);
    }
    const int64_t n = std::max(int64_t{set.LastEnsNumber} - set.FirstEnsNumber + 1, int64_t{1});
    const int64_t first = set.WholeFirstEns, last = set.FileLastEnsemble;
    int64_t start = 0, end = 0;
    if (h.Value >= h.Max) {
        end = last;
        start = end - n + 1;
    } else {
        start = PositionOf(h, Ensemble_Span(set), static_cast<double>(first));
        end = start + n - 1;
        if (end > last) {
            end = last;
            start = end - n + 1;
        }
    }
    // A sub set longer than the file (it grew shorter under a monitor) keeps to the file.
    if (start < first) {
        start = first;
        end = std::min(start + n - 1, std::max(last, first));
    }
    return {static_cast<int32_t>(start), static_cast<int32_t>(end)};
}

BinRange VScroll_Bins(const ScrollBarState& v, const SetDescriptors& set, int32_t numCells) {
    const int32_t b = std::min(BinsShown(set), std::max(numCells, 1));
    const int64_t offset = std::clamp<int64_t>(v.Value >= v.Max ? Bin_Span(set, numCells)
                                                                : PositionOf(v, Bin_Span(set, numCells), 0),
                                               0, std::max(numCells - b, 0));
    const int32_t last = std::max(numCells, 1) - static_cast<int32_t>(offset);
    return {std::max(last - b + 1, 1), last};
}

bool Shift_Sub_Set(const SetDescriptors& set, int delta, EnsembleSpan& out) {
    if (!set.Index.Empty()) {
        const EntryWindow w = EntriesOf(set);
        if (delta > 0 ? w.First + w.Held >= w.Count : w.First <= 0) return false;
        out = SpanOfEntries(set.Index, w.First + (delta > 0 ? 1 : -1), w.Held);
        return true;
    }
    if (delta > 0 && set.LastEnsNumber >= set.FileLastEnsemble) return false;
    if (delta < 0 && set.FirstEnsNumber <= set.FileFirstEnsemble) return false;
    out = {set.FirstEnsNumber + (delta > 0 ? 1 : -1), set.LastEnsNumber + (delta > 0 ? 1 : -1)};
    return true;
}

bool Shift_Bins_Shown(const SetDescriptors& set, int32_t numCells, int delta, BinRange& out) {
    if (delta > 0 && set.LastBinShown >= numCells) return false;
    if (delta < 0 && set.FirstBinShown < 2) return false;
    out = {set.FirstBinShown + (delta > 0 ? 1 : -1), set.LastBinShown + (delta > 0 ? 1 : -1)};
    return true;
}

bool Drag_Box_Selection(const WholeSetChart& chart, const ChartDataIndex& press,
                        const ChartDataIndex& release, DragSelection& out) {
    // A corner dragged beyond the chart counts as the edge cell nearest to it.
    if (press.EnsembleIndex == release.EnsembleIndex || press.BinRow == release.BinRow) return false;
    const int32_t a = Ensemble_Of_Column(chart, press.EnsembleIndex);
    const int32_t b = Ensemble_Of_Column(chart, release.EnsembleIndex);
    out.Ensembles.First = std::clamp(std::min(a, b), chart.FirstEnsemble, chart.LastEnsemble);
    out.Ensembles.Last = std::clamp(std::max(a, b), chart.FirstEnsemble, chart.LastEnsemble);
    const int32_t top = chart.Contour.Axes.LastBinShown; // the bin of row 0
    const int32_t p = top - press.BinRow, r = top - release.BinRow;
    out.Bins = {std::max(std::min(p, r), 1), std::max(p, r)};
    return true;
}

} // namespace mvx
