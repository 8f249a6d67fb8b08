#pragma once
// The profile and series charts of the sub-set window, drawn from the core state beside and below the
// contour: what each reads, Show_Profile_Data and Show_Series_And_Ancillary_Data, and the hooks that
// make the contour's redraw draw them too.
#include "charts/ProfileChart.h"
#include "charts/SeriesChart.h"
#include "charts/SubSetCharts.h"

namespace mvx {

ProfileView Sub_Set_Profile_View(const CoreState& core);
// The series view of the loaded set under a contour laid out on picture1.
SeriesView Sub_Set_Series_View(const CoreState& core, const ContourChart& contour, const Surface& picture1,
                               double statisticsX);

// The contour's plot height and bottom (whole pixels), which the profile's rows follow.
struct ContourPlotRows {
    double PlotHeight = 0, PlotBottom = 0, TopMargin = 0;
};
ContourPlotRows Contour_Plot_Rows(const ContourChart& contour, const Surface& picture1);

// Draws the profile of the profile ensemble on Picture5.
void Show_Profile_Data(const SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core);
// Computes the candles of the loaded set into core.Series, then draws the series on Picture4.
void Show_Series_And_Ancillary_Data(const SubSetCharts& charts, SubSetSurfaces& surfaces, CoreState& core);
// Puts the statistics display at half the series surface's width and redraws the series.
void Force_Statistics_Display(SubSetCharts& charts, SubSetSurfaces& surfaces, CoreState& core);

// Hooks that draw both charts whenever the contour is drawn; showSelected (may be empty) marks the sub
// set on the whole-set window. The references must outlive the hooks.
SubSetChartHooks Sub_Set_Plot_Hooks(SubSetCharts& charts, SubSetSurfaces& surfaces, CoreState& core,
                                    std::function<void()> showSelected = {});

// Pixel to cell on the profile and series surfaces.
ProfileDataIndex Profile_DataIndex_At(const SubSetCharts& charts, const SubSetSurfaces& surfaces,
                                      const CoreState& core, double Y);
SeriesDataIndex Series_DataIndex_At(const SubSetCharts& charts, const SubSetSurfaces& surfaces,
                                    const CoreState& core, double X, double Y);

} // namespace mvx
