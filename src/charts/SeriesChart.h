#pragma once
// The series and ancillary chart below the contour: time series of chosen quantities over the
// ensembles of the loaded set, each ensemble at the centre of the contour column above it. The upper
// block holds the series strips (water data of the selected bins, reference velocities), the lower block
// the ancillary strips (pitch, roll, heading, temperature, depth, orientation, built-in test, battery);
// each interval of the averaging ("candle") is drawn over its strip.
#include "charts/ChartFrame.h"
#include "charts/Surface.h"

#include "dataset/SeriesCandles.h"
#include "model/Candles.h"
#include "model/DataSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

constexpr int kAncTypes = 8;

// What the chart reads of the data set and the options.
struct SeriesView {
    const EnsembleSet* Set = nullptr;
    int32_t Ensembles = 0; // columns: min(LastEnsNumber - FirstEnsNumber + 1, slots loaded)
    int NumCells = 0;
    int32_t OrientationBalance = 0;
    int32_t VelocityReference = 0;
    bool FlowMeterFirmware = false;
    SeriesSelection Selection;
    std::array<bool, kAncTypes> AncTypes{};
    bool Combo = true, Lines = true, Symbols = false, Grid = true;
    bool AncLines = true, AncSymbols = false, AncGrid = true;
    std::array<double, 6> ScaleMin{}, ScaleMax{}; // intensity, correlation, velocity, magnitude, direction, %
    std::array<double, 11> AncMin{},
        AncMax{}; // the eight types, then reference velocity, magnitude, direction
    CandleIntervals Intervals;
    double PlotLeft = 0, PlotWidth = 0; // the contour's left margin and plot width
    double StatisticsX = -1;            // where the selected candle's statistics are printed; < 0 none
};

// One strip: a series code of one bin (or of every selected bin in combo mode, Bin = -1; reference
// codes have Bin = -1 too), or an ancillary type.
struct SeriesStrip {
    int32_t Code = 0; // series code; 0 for an ancillary strip
    int Bin = -1;     // 0-based bin index
    int AncType = -1; // 0..7 for an ancillary strip
    double Top = 0, Height = 0;
};

struct SeriesLayout {
    std::vector<SeriesStrip> Strips;
    double SeriesTop = 0, SeriesHeight = 0, AncTop = 0, AncHeight = 0;
    int32_t Columns = 0;
    double ColumnWidth = 0;
    double PlotLeft = 0;
};

// The strips of a surface height: series and ancillary blocks share height - 4 half and half when
// both are selected (either takes all of it otherwise), below the splitter line; strip height = block
// height / strips.
SeriesLayout Series_Layout(const SeriesView& view, int surfaceHeight);

// Scale class and raw-to-drawn factor of a series code; the ancillary types have their own pairs.
void Series_Scale(const SeriesView& view, int32_t code, double& min, double& max);
double Series_Factor(int32_t code);
// The ancillary value of a type at a slot, in the units of its scale (degrees, m, counts); kNoData where
// there is none.
double Ancillary_Value(const EnsembleSet& set, int type, int slot);

// y of a value in a strip: clamped into min..max, strip bottom - (value - min) * height / (max - min) - 1.
double Series_Y(const SeriesStrip& strip, double value, double min, double max);

// The label of a strip: its type with the velocity reference suffix, and the bin ("Bin " and three
// digits, counted from the far end for a down-looking set) or "BT  ", "WM  ", "NAV ".
std::string Series_Strip_Label(const SeriesView& view, const SeriesStrip& strip);

// The eight line colours, taken in turn.
ColorRef Series_Color(int index);

// Clears the surface, draws the splitter line, the strips with their labels, scales and time grid, the
// lines, and the candles of `candles` over their strips. Only the frame when nothing is selected.
void Draw_Series(Surface& picture4, const SeriesView& view, const ChartTicks& ticks, const Candles& candles);

// Pixel to ensemble and strip: the ensemble whose column holds x (round((x - left) / colW - 0.5)) and the
// strip under y. Inside when the ensemble lies within one column of the set and y on a strip; the
// ensemble is then clamped into the set. Strip is -1 off the strips.
struct SeriesDataIndex {
    int32_t EnsembleIndex = 0;
    int Strip = -1;
    bool Inside = false;
};
SeriesDataIndex Get_Series_DataIndex(const SeriesLayout& layout, double X, double Y);

} // namespace mvx
