#pragma once
// The profile chart: the values of one ensemble of the loaded set, the profile ensemble, along the bins.
// Each chosen data type is a trace across a panel of its kind (intensity, correlation, velocity,
// magnitude, direction, error-velocity statistics, percent good); the bin rows line up with the contour
// rows beside it because both use the contour's plot height and bottom.
#include "charts/ChartFrame.h"
#include "charts/Surface.h"

#include "model/DataSet.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

constexpr int kProfileTypes = 23;
constexpr int kProfileKinds = 7;

// What the profile reads of the data set and the options.
struct ProfileView {
    const EnsembleSet* Set = nullptr;
    const SlotArray<int32_t>* ErrVelStats = nullptr; // (0 mean, 1 deviation, 2 percent valid, bin)
    int32_t Ensembles = 0;                           // slots loaded
    int32_t FirstEnsNumber = 0, LastEnsNumber = 0, ProfileEnsNumber = 0;
    // The number in each slot of an indexed set (whose numbers may skip or repeat); empty when slot s
    // holds FirstEnsNumber + s.
    std::vector<int32_t> SlotNumbers;
    int32_t FirstBinShown = 1, LastBinShown = 0;
    int32_t VelocityReference = 0;
    bool FlowMeterFirmware = false;
    std::array<bool, kProfileTypes> DataTypes{};
    bool Lines = true, Symbols = false, Grid = true;
    std::array<double, kProfileKinds> ScaleMin{}, ScaleMax{};
};

// Panel kind of a type (check-box index 0..22): 0 intensity, 1 correlation, 2 velocity, 3 magnitude,
// 4 direction, 5 statistics, 6 percent good; -1 for any other index.
int Profile_Kind(int type);

// The panels shown, in kind order, and the width of each: (surface width - 5) / panels.
struct ProfilePanels {
    std::vector<int> Kinds;
    double Width = 0;
    // Panel of a kind; -1 when the kind has no panel.
    int PanelOf(int kind) const;
};
ProfilePanels Profile_Panels(const std::array<bool, kProfileTypes>& types, int surfaceWidth);

// The value of a type at bin (0-based) for the profile ensemble, as drawn (directions in degrees,
// statistics from the per-bin error-velocity statistics); kNoData where there is none.
double Profile_Value(const ProfileView& view, int type, int bin);

// Horizontal position of a value in panel k of width W: clamped into min..max, the span at least 1.
double Profile_X(int panel, double width, double value, double min, double max);

// Height of one bin row: plotHeight / B (0 when no bin is shown or the plot is under 2 pixels), and the
// centre y of bin row r (0 = the first bin shown): plotBottom - h/2 - r*h.
double Profile_Row_Height(int32_t bins, double plotHeight);
double Profile_Row_Y(double plotBottom, double rowHeight, int row);

// Clears the surface with its splitter line, then draws the panels, the traces, their labels and
// scales, the grid at the contour's range ticks and the header. Only the frame when no type is on or
// the profile ensemble lies outside the loaded set.
void Draw_Profile(Surface& picture5, const ProfileView& view, double plotHeight, double plotBottom,
                  const ChartTicks& ticks);

// Pixel to cell on the profile surface: the profile ensemble's index in the set and the bin row under y
// counted from the top row (integer part of (y - topMargin) / row height). Inside when the row lies
// within one row of the plot and the ensemble inside the set; then both are clamped into the set.
struct ProfileDataIndex {
    int32_t EnsembleIndex = -1;
    int32_t BinRow = 0;
    bool Inside = false;
};
ProfileDataIndex Get_Profile_DataIndex(const ProfileView& view, double plotHeight, double topMargin,
                                       double Y);

} // namespace mvx
