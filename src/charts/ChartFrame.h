#pragma once
// The frame shared by the charts: colour-scale bar, the four axes around a plot (range on the left, bins
// on the right, ensemble numbers below, elapsed time above), text at a point and turned a quarter, and
// the layout of a chart surface (font fitting and margins).
//
// The plot area is the surface less the four margins. Ensemble k (0-based) of the N in the set occupies
// the column from LeftMargin + k * plotWidth / N; the first bin shown occupies the bottom row.
#include "charts/ColorScale.h"
#include "charts/ColorTable.h"
#include "charts/Surface.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

// Scale, layout and texts of one chart window.
struct ChartState : ChartScale {
    bool DirectionScale = false; // the bar shows the 140-colour direction scale

    // Margins in pixels around the plot area.
    float TopMargin = 0, BottomMargin = 0, LeftMargin = 0, RightMargin = 0;
    // Text positions: top-left corners of the title, the scale label and the ensemble-axis title; for the
    // two quarter-turned axis titles the left end of their bottom pixel row (see PrintVerticalTitle).
    float TitleX = 4, TitleY = 0;
    float ScaleLabelX = 0, ScaleLabelY = 0;
    float EnsembleTitleX = 0, EnsembleTitleY = 0;
    float RangeTitleX = 0, RangeTitleY = 0;
    float BinTitleX = 0, BinTitleY = 0;

    std::string Title;
    std::string ScaleLabel;
    std::string EnsembleAxisTitle;
    std::string RangeAxisTitle = "Range (m)";
    std::string BinAxisTitle = "Bin";
};

// Positions of the labelled ticks, written by the time and range axes of the contour and read by the
// series and profile charts. Owned by the application, one for the program.
struct ChartTicks {
    std::array<int32_t, 101> TimeTickX{}; // whole pixels
    int32_t TimeTickCount = 0;            // at most 100; later ticks overwrite entry 100
    std::array<float, 257> RangeTickY{};
    int32_t RangeTickCount = 0; // at most 256; later ticks overwrite entry 256
};

// What the axes need of the data set and the options.
struct ChartAxesInput {
    int32_t OrientationBalance = 0; // of the whole set (Mostly_Up_Looking)
    double CellLength = 0;          // m
    double Bin1Distance = 0;        // m
    int32_t NumCells = 0;
    int32_t FirstBinShown = 1, LastBinShown = 0; // 1-based
    int32_t FirstEnsNumber = 0, LastEnsNumber = 0;
    double SetDuration = 0;   // s from the first to the last ensemble of the set
    int32_t NumEnsembles = 0; // ensembles in the set
    // Ensemble numbers from one column to the next: 1 for consecutive ensembles, more for a thinned set.
    double EnsemblesPerColumn = 1;
    // The number of the ensemble in each column, where the columns do not follow EnsemblesPerColumn (a
    // set loaded over the file's index, whose numbers may skip or repeat); empty otherwise.
    std::vector<int32_t> ColumnNumbers;
    bool ShowGrid = false;
};

// The column (0-based, fractional between two columns) where an ensemble number falls: by
// EnsemblesPerColumn from FirstEnsNumber, or with ColumnNumbers the first column (in number order, then
// column order) whose number is not below it, less the share of the step from the column before.
// Not limited to the chart's columns.
double Column_Of_Ensemble(const ChartAxesInput& in, double ensemble);

// The number of the ensemble in a column: FirstEnsNumber + column, or with ColumnNumbers the number of
// that column (a column beyond them counts as the nearest one).
int32_t Ensemble_In_Column(const ChartAxesInput& in, int32_t column);

// The column (slot) of an ensemble number: number - first, or with numbers the first column that holds
// it, -1 when none does.
int32_t Column_Of_Number(const std::vector<int32_t>& numbers, int32_t first, int32_t number);

// Sets the current position to (x, y) and prints text with its top-left corner there.
void PrintChart3d(Surface& surface, double x, double y, const std::string& text);

// Prints text turned by a quarter: drawn on a scratch surface of the same font (background included),
// then copied pixel by pixel. Both ways the text covers x from Xdest to Xdest + height - 1 and y from
// Ydest - width + 1 to Ydest. Upwards it reads from bottom to top (glyph tops to the left); otherwise
// from top to bottom (glyph tops to the right).
void PrintVerticalTitle(Surface& surface, const std::string& text, double Xdest, double Ydest, bool Upwards);

// The colour-scale bar at the top of the surface, centred on the scale label, a quarter of the plot
// width wide, with clipping boxes (grey below, white above) when the data extend beyond the scale, and
// the minimum, middle and maximum printed under it.
void Draw_Color_Scale(Surface& surface, const ChartState& state, const ColorTableArray& colors);

// Range labels (m) left of the plot, negative for down-looking sets; stores the labelled ticks in
// RangeTickY; then the range title upwards. Nothing but the title when no bin is shown or the cell
// length is not positive.
void Draw_Range_Axis(Surface& surface, const ChartState& state, const ChartAxesInput& in, ChartTicks& ticks);

// Bin numbers right of the plot, one candidate per row; then the bin title downwards.
void Draw_Bin_Axis(Surface& surface, const ChartState& state, const ChartAxesInput& in);

// Ensemble numbers below the plot; then the ensemble-axis title. Needs at least 3 ensembles in the
// number range for labels.
void Draw_Ensemble_Axis(Surface& surface, const ChartState& state, const ChartAxesInput& in);

// Elapsed time above the plot, from 0 at the first column's centre; stores the labelled ticks in
// TimeTickX. With ShowGrid each labelled tick runs down to the plot bottom.
void Draw_Time_Axis(Surface& surface, const ChartState& state, const ChartAxesInput& in, ChartTicks& ticks);

// True when the surface is taller than the top and bottom margins and wider than the side margins,
// the condition for drawing the bar and the axes.
bool Chart_Plot_Area_Not_Empty(const Surface& surface, const ChartState& state);

// Result of fitting a chart into its share of a window.
struct ChartSurfaceSize {
    int FontSize = 10;
    double PlotWidth = 0, PlotHeight = 0;
    int SurfaceWidth = 0, SurfaceHeight = 0; // plot plus margins
};

// Font and margins of a chart surface given its share of the window (pixels) and the bins shown:
// Arial from size 10 down (not below 1) until 10 heights of "W" fit the height share, then further down
// until 40 widths of "W" fit the width share; margins 3 heights top, 4 heights bottom (at least 40),
// 5 widths left (at least 50) and right (at least 60); the plot height is capped at 15 pixels a bin.
// Sets the surface's font (keeping its bold flag) and the state's margins; does not resize the surface.
ChartSurfaceSize Layout_Chart_Surface(Surface& surface, double shareWidth, double shareHeight, int binsShown,
                                      ChartState& state);

// Default text positions for a surface already at its laid-out size: title at (4, 0); the scale label
// inside the bar row, centred over the right half of the plot; the ensemble-axis title centred below
// the ensemble labels; the range title in the left margin and the bin title at the right edge, both
// centred on the plot height.
void Place_Chart_Texts(const Surface& surface, ChartState& state);

} // namespace mvx
