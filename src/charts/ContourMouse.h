#pragma once
// What the mouse and the keys do on the contour: a click picks the profile ensemble and toggles a series
// bin, a dragged box (after the space key) selects a new sub set, the arrow keys step the profile
// ensemble and the series bins.
#include "charts/ContourChart.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mvx {

// A click at (x, y). The profile ensemble changes when x lies within two pixels of the plot's columns
// (LeftMargin - 2 < x < width - RightMargin + 2); the series bin toggles when y lies within two pixels
// of its rows (TopMargin - 2 < y < height - BottomMargin + 2).
struct ContourClick {
    bool ProfileChanged = false;
    int32_t ProfileEnsNumber = 0;
    bool SeriesChanged = false;
    int32_t Bin = 0; // bin number, the numbering of FirstBinShown and LastBinShown
};
ContourClick Contour_Click(const ContourChart& chart, const Surface& picture1, double x, double y);

// The sub set under a dragged box whose corners fall in the cells press and release: both bins sorted
// (LastBinShown - row), both ensembles sorted (FirstEnsNumber + index). False, and nothing to load,
// when the corners share a row or an ensemble.
struct ZoomRange {
    int32_t FirstEnsemble = 0, LastEnsemble = 0;
    int32_t FirstBin = 0, LastBin = 0;
};
bool Zoom_Range(const ContourChart& chart, const ChartDataIndex& press, const ChartDataIndex& release,
                ZoomRange& out);

// Draws or erases (XOR, white) the zoom box between the press corner and the current corner.
void Toggle_Zoom_Box(Surface& picture1, ZoomState& zoom);
// Starts a zoom box at the pixel (x, y) of the cell under the press: disarmed, dragging, nothing drawn.
void Start_Zoom_Box(ZoomState& zoom, const ChartDataIndex& cell, double x, double y);
// Moves the zoom box's current corner to (x, y): the old box erased, the new one drawn.
void Move_Zoom_Box(Surface& picture1, ZoomState& zoom, double x, double y);

// The profile ensemble one step back (delta -1) or on (+1), kept within first..last; with the numbers of
// the columns (an indexed set), the ensemble of the column before or after the first one holding it.
int32_t Step_Profile_Ensemble(int32_t current, int delta, int32_t first, int32_t last,
                              const std::vector<int32_t>& numbers = {});

// Every selected series bin one bin up (+1) or down (-1); refused (false, nothing moved) when the top
// (bottom) bin shown is already selected. Bins that would leave 1..255 are dropped.
bool Shift_Series_Bins(std::array<bool, 256>& bins, int delta, int32_t firstShown, int32_t lastShown);

} // namespace mvx
