#pragma once
// The charts of the sub-set window: the contour at the top right, the profile down the left side and the
// series below the contour, laid out from the window size and the two shares of the options. Everything
// here is a function of the core state, the window size and the surfaces, so the desktop window, the
// tests and the command line draw the same pictures.
#include "charts/ContourChart.h"
#include "model/CoreState.h"

#include <functional>

namespace mvx {

struct SurfaceRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// Where the three surfaces sit in the window's client area.
struct SubSetLayout {
    int WindowWidth = 0, WindowHeight = 0;
    SurfaceRect Contour, Profile, Series;
};

// The window's pictures: Picture1 the contour, Picture2 the hidden raster of one pixel per cell,
// Picture4 the series chart, Picture5 the profile chart.
struct SubSetSurfaces {
    Surface& Picture1;
    Surface& Picture2;
    Surface& Picture4;
    Surface& Picture5;
};

// Calls into the other charts of the window and into the whole-set window. Without Show_Profile_Data or
// Show_Series_And_Ancillary_Data their surfaces are drawn bare (cleared, with the splitter line).
struct SubSetChartHooks {
    std::function<void()> Show_Selected_Data_Location;
    std::function<void()> Show_Profile_Data;
    std::function<void()> Show_Series_And_Ancillary_Data;
};

// State of the sub-set window's charts.
struct SubSetCharts {
    ContourChart Contour;
    ChartTicks Ticks;
    SubSetLayout Layout;
    int WindowWidth = 1200, WindowHeight = 800; // client area the charts are laid out in
    int ScreenWidth = 1920;                     // the raster is never wider
    double StatisticsX = -1;                    // the series' statistics display; < 0 not shown
};

// What the contour of the loaded set reads from the core state.
ContourView Sub_Set_Contour_View(const CoreState& core);

// The numbers of the ensembles loaded, slot by slot.
std::vector<int32_t> Loaded_Numbers(const CoreState& core);

// Font, margins and text positions of the contour, and the split of the window: the contour takes
// (1 - profileWidthShare) of the width at the top right and contourHeightShare of the height (less when
// its bins would be more than 15 pixels tall); the profile runs down the left side, profileWidthShare of
// the width; the series fills the rest below the contour. Resizes the three surfaces when their size
// changes (a surface that keeps its size keeps its picture).
SubSetLayout Set_Chart3d_Size(ContourChart& chart, SubSetSurfaces& surfaces, int windowWidth,
                              int windowHeight, double contourHeightShare, double profileWidthShare);

// The text fields of a built contour: statistics line, the first and last ensemble's number, date-time
// and position, and the window caption.
void Build_Contour_Texts(ContourChart& chart, const CoreState& core);

// Full rebuild with a data type: data, raster, layout, stretched picture, texts, titles, then the profile
// and series charts. Nothing while no valid file is open.
void Init_Charts(SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core,
                 const ColorTableArray& colors, int32_t dataType, const SubSetChartHooks& hooks = {});

// Redraw after a size or share change without recomputing the data.
void Resize_Chart3d(SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core,
                    const ColorTableArray& colors, const SubSetChartHooks& hooks = {});

// The contour's titles and frame (Chart3d_DisplayTitles), then the profile and series charts.
void Display_Sub_Set_Titles(SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core,
                            const ColorTableArray& colors, const SubSetChartHooks& hooks);

// The bare profile and series surfaces: cleared, with the splitter line the user drags (a two-pixel line
// at the profile's right edge, along the series' top edge).
void Draw_Profile_Frame(Surface& picture5);
void Draw_Series_Frame(Surface& picture4);

// The composite picture of the window: (contour width + profile width) by (contour height + series
// height), each surface painted at its place in the window.
void Compose_Sub_Set_Picture(const SubSetLayout& layout, const SubSetSurfaces& surfaces, Surface& out);

} // namespace mvx
