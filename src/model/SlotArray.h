#pragma once
// A (rows x bins x slots) array of one ensemble-set quantity, the slot being the last index. The bin
// varies fastest, then the row, then the slot: one row of one slot is contiguous over its bins, and one
// slot's rows and bins are contiguous. The rows of one bin lie Bins() values apart (see Cell).
//
// Every index is checked in debug builds and in the sanitizer and fuzzing builds (MARVOX_CHECK_BOUNDS):
// an index outside the array ends the program with a message naming it. Release builds compile the
// checks out, so the loaders and charts index as fast as a plain vector.
#include <algorithm>
#include <cstddef>
#include <vector>

#if !defined(NDEBUG) || defined(MARVOX_CHECK_BOUNDS)
#define MARVOX_SLOT_CHECKS 1
#else
#define MARVOX_SLOT_CHECKS 0
#endif

namespace mvx {

// Reports an index outside a slot array and aborts.
[[noreturn]] void SlotIndexOutOfRange(int row, int bin, int slot, int rows, int bins, int slots);

// The rows of one bin of one slot, `stride` values apart; indexed like a pointer to the bin's rows.
template <typename V> class CellRows {
  public:
    CellRows(V* first, size_t stride, [[maybe_unused]] int rows) : first_(first), stride_(stride) {
#if MARVOX_SLOT_CHECKS
        rows_ = rows;
#endif
    }
    V& operator[](int row) const {
#if MARVOX_SLOT_CHECKS
        if (row < 0 || row >= rows_) SlotIndexOutOfRange(row, 0, 0, rows_, 1, 1);
#endif
        return first_[static_cast<size_t>(row) * stride_];
    }

  private:
    V* first_;
    size_t stride_;
#if MARVOX_SLOT_CHECKS
    int rows_ = 0;
#endif
};

template <typename T> class SlotArray {
  public:
    void Allocate(int rows, int bins, int slotCount, T fill = T{}) {
        rows_ = rows;
        bins_ = bins;
        slots_ = slotCount;
        values_.assign(static_cast<size_t>(rows) * bins * slotCount, fill);
    }
    int Rows() const { return rows_; }
    int Bins() const { return bins_; }
    int Slots() const { return slots_; }
    bool Empty() const { return values_.empty(); }

    T& operator()(int row, int bin, int slot) { return values_[Index(row, bin, slot)]; }
    const T& operator()(int row, int bin, int slot) const { return values_[Index(row, bin, slot)]; }
    // Two-index form for arrays without bins.
    T& operator()(int row, int slot) { return values_[Index(row, 0, slot)]; }
    const T& operator()(int row, int slot) const { return values_[Index(row, 0, slot)]; }
    // One-index form for arrays of one value per slot.
    T& operator[](int slot) { return values_[Index(0, 0, slot)]; }
    const T& operator[](int slot) const { return values_[Index(0, 0, slot)]; }

    // The rows of one bin of one slot.
    CellRows<T> Cell(int bin, int slot) {
        return {&values_[Index(0, bin, slot)], static_cast<size_t>(bins_), rows_};
    }
    CellRows<const T> Cell(int bin, int slot) const {
        return {&values_[Index(0, bin, slot)], static_cast<size_t>(bins_), rows_};
    }
    // One row of one slot over its bins, contiguous.
    T* RowData(int row, int slot) { return values_.data() + Index(row, 0, slot); }
    const T* RowData(int row, int slot) const { return values_.data() + Index(row, 0, slot); }

    // All rows and bins of one slot, contiguous.
    T* SlotData(int slot) { return values_.data() + Index(0, 0, slot); }
    const T* SlotData(int slot) const { return values_.data() + Index(0, 0, slot); }
    size_t SlotSize() const { return static_cast<size_t>(rows_) * bins_; }
    std::vector<T>& Raw() { return values_; }
    const std::vector<T>& Raw() const { return values_; }

    // Sets every row and bin of one slot to T{}.
    void ClearSlot(int slot) { std::fill_n(SlotData(slot), SlotSize(), T{}); }
    // Copies slots 0..count-1 of an array of the same rows and bins.
    void CopySlots(const SlotArray& from, int count) {
        if (count <= 0) return;
        Check(0, 0, count - 1);
        from.Check(0, 0, count - 1);
#if MARVOX_SLOT_CHECKS
        if (from.rows_ != rows_ || from.bins_ != bins_)
            SlotIndexOutOfRange(from.rows_, from.bins_, 0, rows_, bins_, 0);
#endif
        std::copy_n(from.values_.begin(), static_cast<size_t>(count) * SlotSize(), values_.begin());
    }

    bool operator==(const SlotArray&) const = default;

  private:
    void Check([[maybe_unused]] int row, [[maybe_unused]] int bin, [[maybe_unused]] int slot) const {
#if MARVOX_SLOT_CHECKS
        if (row < 0 || row >= rows_ || bin < 0 || bin >= bins_ || slot < 0 || slot >= slots_)
            SlotIndexOutOfRange(row, bin, slot, rows_, bins_, slots_);
#endif
    }
    size_t Index(int row, int bin, int slot) const {
        Check(row, bin, slot);
        return (static_cast<size_t>(slot) * rows_ + row) * bins_ + bin;
    }
    int rows_ = 0, bins_ = 0, slots_ = 0;
    std::vector<T> values_;
};

} // namespace mvx
