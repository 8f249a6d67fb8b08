#pragma once
// The in-memory data set: per-ensemble arrays whose last index is the ensemble slot. The decoders write
// slot CurrentEnsIndex directly; the loader post-processes it. Index order is (row, bin, slot) with the
// first index varying fastest, so one slot's rows and bins are contiguous.
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

constexpr int kMaxBins = 256;         // every per-bin array has bins 0..255
constexpr int16_t kBadValue = -32768; // bad or missing 16-bit value

// A (rows x bins x slots) or (rows x slots) array with bounds-checked slot access for callers that
// pass indices computed from file contents.
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

    // All rows and bins of one slot, contiguous.
    T* SlotData(int slot) { return values_.data() + static_cast<size_t>(slot) * rows_ * bins_; }
    const T* SlotData(int slot) const { return values_.data() + static_cast<size_t>(slot) * rows_ * bins_; }
    size_t SlotSize() const { return static_cast<size_t>(rows_) * bins_; }
    std::vector<T>& Raw() { return values_; }
    const std::vector<T>& Raw() const { return values_; }

  private:
    size_t Index(int row, int bin, int slot) const {
        return (static_cast<size_t>(slot) * bins_ + bin) * rows_ + row;
    }
    int rows_ = 0, bins_ = 0, slots_ = 0;
    std::vector<T> values_;
};

struct DataSet {
    // Loaded (sub) set, slots 0..Capacity-1 where Capacity = max(MaxSubEnsembles, MaxWholeEnsembles) + 1.
    int Capacity = 0;
    std::vector<int32_t> EnsNumbers;
    SlotArray<uint8_t> EnsTimes;      // (0..6, slot) yr mo dy hr mn sc hundredths
    SlotArray<int32_t> AncData;       // (0..7, slot)
    SlotArray<int16_t> VelData;       // (0..7, bin, slot)
    SlotArray<uint8_t> CorrData;      // (0..4, bin, slot)
    SlotArray<uint8_t> IntensityData; // (0..4, bin, slot)
    SlotArray<uint8_t> PGoodData;     // (0..4, bin, slot); row 4 unused
    SlotArray<int32_t> BTRangeData;   // (0..4, slot)
    SlotArray<int16_t> BTVelData;     // (0..5, slot)
    SlotArray<int16_t> RefVelData;    // (0..5, slot)
    SlotArray<int16_t> RefVelWork;    // (0..5, slot)
    SlotArray<int16_t> NavData;       // (0..5, slot)
    std::vector<int32_t> NavFirstLat, NavFirstLon, NavLastLat, NavLastLon;
    std::vector<int32_t> LatData, LonData;
    std::vector<std::string> TextData;
    std::vector<int32_t> FlowMeterDepth;
    std::vector<double> FlowMeterQ;
    std::vector<int32_t> FlowMeterVel;
    SlotArray<uint8_t> FlowMeterStamp; // (0..7, slot)

    // Per-bin error velocity statistics of the loaded set: (0 mean, 1 std dev, 2 percent valid, bin).
    SlotArray<int32_t> ErrVelStats;

    // Whole-set copy for the navigator, slots 0..MaxWholeEnsembles.
    int WholeCapacity = 0;
    SlotArray<uint8_t> WholeEnsTimes;
    SlotArray<uint8_t> WholeCorrData, WholeIntensityData, WholePGoodData;
    SlotArray<int16_t> WholeVelData; // rows 0..5
    SlotArray<int32_t> WholeAncData;
    SlotArray<int16_t> WholeNavData, WholeRefVelWork, WholeBTVelData, WholeRefVelData;
    SlotArray<int32_t> WholeBTRangeData;

    bool Allocated() const { return Capacity > 0; }
    bool ValidSlot(int slot) const { return slot >= 0 && slot < Capacity; }
};

// Dimensions every loaded-set array anew (contents discarded) with Capacity = max(sub, whole) + 1
// slots; with wholeToo also ErrVelStats and the whole-set copy (MaxWholeEnsembles + 1 slots).
void Allocate_Data_Set(DataSet& data, int maxSubEnsembles, int maxWholeEnsembles, bool wholeToo);

// Clears one slot to the state a fresh allocation leaves it in.
void Clear_Slot(DataSet& data, int slot);

} // namespace mvx
