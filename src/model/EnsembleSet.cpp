#include "model/EnsembleSet.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace mvx {

void SlotIndexOutOfRange(int row, int bin, int slot, int rows, int bins, int slots) {
    std::fprintf(stderr, "slot array index (%d, %d, %d) outside (%d, %d, %d)\n", row, bin, slot, rows, bins,
                 slots);
    std::abort();
}

void Allocate_Ensemble_Set(EnsembleSet& set, int slots) {
    set.Capacity = slots;
    ForEachArray([slots](int rows, int bins, auto& a) { a.Allocate(rows, bins, slots); }, set);
}

void Clear_Slot(EnsembleSet& set, int slot) {
    if (!set.ValidSlot(slot)) return;
    ForEachArray([slot](int, int, auto& a) { a.ClearSlot(slot); }, set);
}

void Copy_Slots(const EnsembleSet& from, EnsembleSet& to, int count) {
    count = std::min({count, from.Capacity, to.Capacity});
    ForEachArray([count](int, int, const auto& source, auto& target) { target.CopySlots(source, count); },
                 from, to);
}

} // namespace mvx
