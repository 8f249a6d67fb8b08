#pragma once
// The track vector window's pictures: a text column of the last ensemble's reference speeds and the two
// time-series charts of the long-track and cross-track velocities, one line (or band) per series bin.
#include "analysis/TrackRotation.h"
#include "charts/Surface.h"
#include "model/CoreState.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

// The series chart's line colours, taken in turn.
inline constexpr std::array<ColorRef, 8> kSeriesLineColors{
    Rgb(255, 0, 0),   Rgb(0, 255, 1),    Rgb(0, 0, 255),   Rgb(0, 255, 255),
    Rgb(255, 0, 255), Rgb(255, 127, 15), Rgb(0, 127, 255), Rgb(255, 192, 192)};

// Where one chart put its plot, for the pointer text.
struct TrackChartGeometry {
    double Left = 0, Top = 0, PlotWidth = 0, PlotHeight = 0;
    double Step = 0; // pixels per ensemble
    int32_t Count = 0;
    bool Mirrored = false;
    std::vector<int32_t> Bins; // array bins drawn, one band each unless overlaid
    bool Overlaid = false;
};

struct TrackVectorChart {
    TrackChartGeometry Upper, Lower;
    bool Drawn = false;    // something was drawn: a valid file with ensembles loaded
    bool HasData = false;  // at least one long-track value is good
    int32_t TextWidth = 0; // width of the text column the layout gives
};

// The three surfaces of the window: the text column and the upper and lower charts.
struct TrackSurfaces {
    Surface& Text;
    Surface& Upper;
    Surface& Lower;
};

// The array bins the series chart has selected (its bin numbers 1..255 are array bins 0..254; bins beyond
// the set's cells are left out); with none selected, the shown bin with the most good values.
std::vector<int32_t> Track_Series_Bins(const CoreState& core);

// Width of the text column for a font: the widest line it prints and a little.
int32_t Track_Text_Width(const Surface& text);

// Rotates when the state asks for it, then draws the text column and both charts on surfaces already at
// their size. Nothing but a cleared surface while no valid file is open or nothing is loaded; a chart
// whose values are all bad says there is nothing to draw.
void Show_Track_Vector_Data(TrackVectorChart& chart, TrackVectorState& state, CoreState& core,
                            TrackSurfaces surfaces);

// The pointer text over a chart (upper or lower) at pixel (x, y); empty outside the plot.
std::string Do_Tool_Tip(const TrackVectorChart& chart, bool upper, const TrackVectorState& state,
                        const CoreState& core, double x, double y);

} // namespace mvx
