#include "model/EnsembleIndex.h"

#include <algorithm>

namespace mvx {

int64_t EnsembleIndex::TotalLength() const {
    return MemberStarts.empty() ? 0 : MemberStarts.back() + MemberLengths.back();
}

std::optional<size_t> Entry_Of_Number(const EnsembleIndex& index, int32_t number) {
    const auto& entries = index.Entries;
    if (index.ByNumber.empty()) {
        const auto it = std::lower_bound(entries.begin(), entries.end(), number,
                                         [](const IndexEntry& e, int32_t n) { return e.Number < n; });
        if (it == entries.end()) return std::nullopt;
        return static_cast<size_t>(it - entries.begin());
    }
    const auto& order = index.ByNumber;
    const auto it = std::lower_bound(order.begin(), order.end(), number,
                                     [&entries](uint32_t i, int32_t n) { return entries[i].Number < n; });
    if (it == order.end()) return std::nullopt;
    return *it;
}

SetPosition Entry_Position(const EnsembleIndex& index, size_t entry) {
    const int64_t offset = index.Entries[entry].Offset;
    const auto& starts = index.MemberStarts;
    // The last member that starts at or before the offset (members of no length start where the next
    // one does, and hold no entry).
    const auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    const size_t member = it == starts.begin() ? 0 : static_cast<size_t>(it - starts.begin()) - 1;
    const int64_t start = starts.empty() ? 0 : starts[member];
    return SetPosition{member, offset - start + 1, entry};
}

int64_t Missing_Ensembles(const EnsembleIndex& index) {
    int64_t missing = 0;
    for (size_t i = 1; i < index.Entries.size(); ++i) {
        const int64_t d = int64_t{index.Entries[i].Number} - index.Entries[i - 1].Number;
        if (d > 1) missing += d - 1;
    }
    return missing;
}

void Order_By_Number(EnsembleIndex& index) {
    const auto& entries = index.Entries;
    const bool ordered =
        std::is_sorted(entries.begin(), entries.end(),
                       [](const IndexEntry& a, const IndexEntry& b) { return a.Number < b.Number; });
    index.ByNumber.clear();
    if (ordered) return;
    index.ByNumber.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) index.ByNumber[i] = static_cast<uint32_t>(i);
    std::stable_sort(index.ByNumber.begin(), index.ByNumber.end(),
                     [&entries](uint32_t a, uint32_t b) { return entries[a].Number < entries[b].Number; });
}

WholeSetThinning Thin_Whole_Set(const EnsembleIndex& index, int32_t maxWhole) {
    WholeSetThinning thin;
    if (maxWhole < 1 || index.Empty()) return thin;
    const size_t count = index.Count();
    thin.Step = static_cast<int32_t>(count / static_cast<size_t>(maxWhole));
    const size_t stride = static_cast<size_t>(thin.Step) + 1;
    for (size_t i = 0; i < count && thin.Entries.size() < static_cast<size_t>(maxWhole); i += stride)
        thin.Entries.push_back(i);
    return thin;
}

} // namespace mvx
