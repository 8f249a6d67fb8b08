#pragma once
// The series chart's quantities and its averaging intervals ("candles").
//
// A series code names one quantity of the loaded set: 1-5 echo intensity of beam 1-4 and the average,
// 10-50 correlation, 100-600 east, north, vertical, error velocity, magnitude and direction, 1000-4000
// percent good of beam 1-4 (all per bin); 10000-60000 bottom-track, 100000-600000 water-mass and
// 1000000, 2000000, 5000000, 6000000 navigation east, north, magnitude and direction (one value per
// ensemble). Directions are kept in tenths of a degree, the raw unit of the candles.
//
// The candles divide the loaded set into intervals of whole ensembles and keep, per interval, selected
// bin and series code, eight statistics and the interval's samples (model/Candles.h). The trend window
// reads them.
#include "model/Candles.h"
#include "model/EnsembleSet.h"
#include "model/Options.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

constexpr int kSeriesBoxes = 36; // check boxes of the series page that carry a code

// The series code of check box 0..35; 0 for any other index.
int32_t Series_Code(int box);
// True for codes read per bin (water data); reference and navigation codes have one value an ensemble.
bool Series_Code_Per_Bin(int32_t code);
bool Series_Code_Direction(int32_t code);
// Unit text of a code's raw values: "cnt", "mm/s", "deg" or "%".
std::string Series_Code_Unit(int32_t code);
// Row label of a code's table lines: "Bin ", "BT  ", "WM  " or "NAV ".
std::string Series_Code_Label(int32_t code);

// The raw values of a code at a bin (0-based) across the slots of a set: the array's values of that row
// and bin, one slot after the other. No values (every slot kBadValue) where the code is unknown or the bin
// lies beyond numCells or the arrays.
class SeriesColumn {
  public:
    SeriesColumn() = default;
    template <typename T> SeriesColumn(const SlotArray<T>& a, int row, int bin) {
        if (row < 0 || row >= a.Rows() || bin < 0 || bin >= a.Bins() || a.Empty()) return;
        const T* base = &a(row, bin, 0);
        if constexpr (sizeof(T) == 1)
            bytes_ = base;
        else
            words_ = base;
        step_ = static_cast<ptrdiff_t>(a.Rows()) * a.Bins();
        slots_ = a.Slots();
    }
    int32_t operator()(int slot) const {
        if (slot < 0 || slot >= slots_) return kBadValue;
        return words_ != nullptr ? words_[slot * step_] : bytes_[slot * step_];
    }
    // The value at slot 0 (16-bit or byte array, at most one of them set), the distance between slots
    // and the number of slots.
    const int16_t* Words() const { return words_; }
    const uint8_t* Bytes() const { return bytes_; }
    ptrdiff_t Step() const { return step_; }
    int Slots() const { return slots_; }

  private:
    const int16_t* words_ = nullptr;
    const uint8_t* bytes_ = nullptr;
    ptrdiff_t step_ = 0;
    int slots_ = 0;
};
SeriesColumn Series_Column(const EnsembleSet& set, int32_t code, int bin, int numCells);

// The raw value of a code at bin (0-based) and slot of a set; kBadValue where the code is unknown, the
// bin lies beyond numCells (or the arrays), or the slot beyond the set.
int32_t Series_Value(const EnsembleSet& set, int32_t code, int bin, int slot, int numCells);

// What the series chart shows: the codes ticked, in check-box order, and the selected bins (0-based bin
// indexes, ascending) of the chart's bin selection (bins 1..255 at their own index).
struct SeriesSelection {
    std::vector<int32_t> Codes;
    std::vector<int> Bins;
    bool Empty() const { return Codes.empty(); }
};
SeriesSelection Series_Selection(const std::array<bool, 37>& dataTypes, const std::array<bool, 256>& bins);

// After a file is opened: the bin choices are kept to the bins the file shows (firstShown..lastShown,
// 1-based); a choice beyond them would only chart missing values.
void Map_Series_Bins(std::array<bool, 256>& bins, int32_t firstShown, int32_t lastShown);

// How the loaded set is cut into intervals.
struct CandleIntervals {
    double SecondsPerEnsemble = 0; // setDuration / ensembles
    double IntervalSeconds = 0;
    int32_t EnsemblesPerInterval = 0;
    int32_t Count = 0;
};
// Seconds per ensemble = setDuration / ensembles. The interval is averageInterval when averaging is on
// for a user interval, else the whole set. Ensembles per interval = round(interval / seconds per
// ensemble), at least 1 (all ensembles when the seconds per ensemble are 0); intervals =
// round(ensembles / ensembles per interval). Interval k covers ensembles k*per .. (k+1)*per - 1, the last
// one running to the set's last ensemble.
CandleIntervals Candle_Intervals(int32_t ensembles, double setDuration, bool averageOn, bool averageAll,
                                 double averageInterval);

// Fills the candles of a set of `ensembles` slots: a group per code (in the selection's order; per-bin
// codes only when a bin is selected), a row per selected bin (one row when none is selected), the eight
// statistics in raw units (a candle without valid samples gets 0 for all four values; with one sample its
// mean is that sample and the deviation 0) and the samples. No interval, no code or no ensemble leaves
// the candles empty (CandleCount 0). The trend window's choices are kept within the new sizes.
void Compute_Series_Candles(Candles& out, const EnsembleSet& set, int32_t ensembles, int numCells,
                            const SeriesSelection& selection, const CandleIntervals& intervals);

} // namespace mvx
