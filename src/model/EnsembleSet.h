#pragma once
// One set of decoded ensembles: per-ensemble arrays whose last index is the ensemble slot. The decoders
// write one slot, the loader post-processes it, the charts and exports read it. The program holds two
// of them (the loaded set and the whole-set copy of the data set) and an export holds one of its own.
#include "model/SlotArray.h"

#include <cstdint>
#include <string>

namespace mvx {

constexpr int kMaxBins = 256;         // every per-bin array has bins 0..255
constexpr int16_t kBadValue = -32768; // bad or missing 16-bit value

struct EnsembleSet {
    int Capacity = 0;                 // slots 0..Capacity-1
    SlotArray<int32_t> EnsNumbers;    // (slot)
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
    SlotArray<int32_t> NavFirstLat, NavFirstLon, NavLastLat, NavLastLon; // (slot)
    SlotArray<int32_t> LatData, LonData;                                 // (slot)
    SlotArray<std::string> TextData;                                     // (slot)
    SlotArray<int32_t> FlowMeterDepth;                                   // (slot)
    SlotArray<double> FlowMeterQ;                                        // (slot)
    SlotArray<int32_t> FlowMeterVel;                                     // (slot)
    SlotArray<uint8_t> FlowMeterStamp;                                   // (0..7, slot)

    bool Allocated() const { return Capacity > 0; }
    bool ValidSlot(int slot) const { return slot >= 0 && slot < Capacity; }
    bool operator==(const EnsembleSet&) const = default;
};

// The one list of a set's arrays with their rows and bins. Allocation, clearing and copying all walk
// it, so an array added here is allocated, cleared and copied with the others. visit(rows, bins, a...)
// is called once per array with that array of each set given (one set, or a source and a target).
template <typename Visit, typename... Sets> void ForEachArray(Visit&& visit, Sets&... sets) {
    visit(1, 1, sets.EnsNumbers...);
    visit(7, 1, sets.EnsTimes...);
    visit(8, 1, sets.AncData...);
    visit(8, kMaxBins, sets.VelData...);
    visit(5, kMaxBins, sets.CorrData...);
    visit(5, kMaxBins, sets.IntensityData...);
    visit(5, kMaxBins, sets.PGoodData...);
    visit(5, 1, sets.BTRangeData...);
    visit(6, 1, sets.BTVelData...);
    visit(6, 1, sets.RefVelData...);
    visit(6, 1, sets.RefVelWork...);
    visit(6, 1, sets.NavData...);
    visit(1, 1, sets.NavFirstLat...);
    visit(1, 1, sets.NavFirstLon...);
    visit(1, 1, sets.NavLastLat...);
    visit(1, 1, sets.NavLastLon...);
    visit(1, 1, sets.LatData...);
    visit(1, 1, sets.LonData...);
    visit(1, 1, sets.TextData...);
    visit(1, 1, sets.FlowMeterDepth...);
    visit(1, 1, sets.FlowMeterQ...);
    visit(1, 1, sets.FlowMeterVel...);
    visit(8, 1, sets.FlowMeterStamp...);
}

// Dimensions every array anew with the given number of slots (contents discarded, all zero).
void Allocate_Ensemble_Set(EnsembleSet& set, int slots);

// Clears one slot to the state a fresh allocation leaves it in; a slot outside the set is ignored.
void Clear_Slot(EnsembleSet& set, int slot);

// Copies slots 0..count-1 of every array (all rows and bins) from one set into another; count is cut
// to the slots both sets hold.
void Copy_Slots(const EnsembleSet& from, EnsembleSet& to, int count);

} // namespace mvx
