#include "charts/SubSetPlots.h"

#include "common/Rounding.h"

#include <algorithm>

namespace mvx {

namespace {

int32_t Loaded(const CoreState& core) {
    return std::clamp(core.Set.CurrentEnsIndex, 0, std::max(core.Data.Capacity, 0));
}

// Columns of the series: the set's ensemble numbers, but never more than the slots loaded.
int32_t SeriesColumns(const CoreState& core) {
    if (!core.Set.Index.Empty()) return Loaded(core); // an indexed set: one column per slot
    const int64_t numbers = int64_t{core.Set.LastEnsNumber} - core.Set.FirstEnsNumber + 1;
    return static_cast<int32_t>(std::clamp<int64_t>(numbers, 0, Loaded(core)));
}

} // namespace

ProfileView Sub_Set_Profile_View(const CoreState& core) {
    ProfileView v;
    const Options& o = core.Opts;
    v.Set = &core.Data;
    v.ErrVelStats = &core.Data.ErrVelStats;
    v.Ensembles = Loaded(core);
    v.FirstEnsNumber = core.Set.FirstEnsNumber;
    v.LastEnsNumber = core.Set.LastEnsNumber;
    v.ProfileEnsNumber = core.Set.ProfileEnsNumber;
    if (!core.Set.Index.Empty()) v.SlotNumbers = Loaded_Numbers(core);
    v.FirstBinShown = std::clamp(core.Set.FirstBinShown, 1, kMaxBins);
    v.LastBinShown = std::clamp(core.Set.LastBinShown, 0, kMaxBins);
    v.VelocityReference = o.VelocityReference;
    v.FlowMeterFirmware = core.Setup.FlowMeterFirmware;
    v.DataTypes = o.ProfileDataTypes;
    v.Lines = o.ProfileLines;
    v.Symbols = o.ProfileSymbols;
    v.Grid = o.ProfileGrid;
    v.ScaleMin = o.ProfileScaleMin;
    v.ScaleMax = o.ProfileScaleMax;
    return v;
}

SeriesView Sub_Set_Series_View(const CoreState& core, const ContourChart& contour, const Surface& picture1,
                               double statisticsX) {
    SeriesView v;
    const Options& o = core.Opts;
    v.Set = &core.Data;
    v.Ensembles = SeriesColumns(core);
    v.NumCells = core.Setup.NumCells;
    v.OrientationBalance = core.Set.OrientationBalance;
    v.VelocityReference = o.VelocityReference;
    v.FlowMeterFirmware = core.Setup.FlowMeterFirmware;
    v.Selection = Series_Selection(o.SeriesDataTypes, o.SeriesBinSelect);
    v.AncTypes = o.AncDataTypes;
    v.Combo = o.SeriesCombo;
    v.Lines = o.SeriesLines;
    v.Symbols = o.SeriesSymbols;
    v.Grid = o.SeriesGrid;
    v.AncLines = o.AncLines;
    v.AncSymbols = o.AncSymbols;
    v.AncGrid = o.AncGrid;
    v.ScaleMin = o.SeriesScaleMin;
    v.ScaleMax = o.SeriesScaleMax;
    v.AncMin = o.AncScaleMin;
    v.AncMax = o.AncScaleMax;
    v.Intervals = Candle_Intervals(v.Ensembles, core.Set.SetDuration, o.SeriesAverageOn, o.SeriesAverageAll,
                                   o.SeriesAverageInterval);
    v.PlotLeft = contour.Frame.LeftMargin;
    v.PlotWidth = std::max(0.0, static_cast<double>(picture1.Width()) - contour.Frame.LeftMargin -
                                    contour.Frame.RightMargin);
    v.StatisticsX = statisticsX;
    return v;
}

ContourPlotRows Contour_Plot_Rows(const ContourChart& contour, const Surface& picture1) {
    ContourPlotRows r;
    r.TopMargin = RoundToInt32(contour.Frame.TopMargin);
    r.PlotBottom = RoundToInt32(picture1.Height() - contour.Frame.BottomMargin);
    r.PlotHeight = std::max(0.0, r.PlotBottom - r.TopMargin);
    return r;
}

void Show_Profile_Data(const SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core) {
    const ContourPlotRows rows = Contour_Plot_Rows(charts.Contour, surfaces.Picture1);
    Draw_Profile(surfaces.Picture5, Sub_Set_Profile_View(core), rows.PlotHeight, rows.PlotBottom,
                 charts.Ticks);
}

void Show_Series_And_Ancillary_Data(const SubSetCharts& charts, SubSetSurfaces& surfaces, CoreState& core) {
    const SeriesView view = Sub_Set_Series_View(core, charts.Contour, surfaces.Picture1, charts.StatisticsX);
    Compute_Series_Candles(core.Series, core.Data, view.Ensembles, view.NumCells, view.Selection,
                           view.Intervals);
    Draw_Series(surfaces.Picture4, view, charts.Ticks, core.Series);
}

void Force_Statistics_Display(SubSetCharts& charts, SubSetSurfaces& surfaces, CoreState& core) {
    charts.StatisticsX = surfaces.Picture4.Width() / 2.0;
    Show_Series_And_Ancillary_Data(charts, surfaces, core);
}

SubSetChartHooks Sub_Set_Plot_Hooks(SubSetCharts& charts, SubSetSurfaces& surfaces, CoreState& core,
                                    std::function<void()> showSelected) {
    SubSetChartHooks hooks;
    hooks.Show_Selected_Data_Location = std::move(showSelected);
    hooks.Show_Profile_Data = [&charts, &surfaces, &core] { Show_Profile_Data(charts, surfaces, core); };
    hooks.Show_Series_And_Ancillary_Data = [&charts, &surfaces, &core] {
        Show_Series_And_Ancillary_Data(charts, surfaces, core);
    };
    return hooks;
}

ProfileDataIndex Profile_DataIndex_At(const SubSetCharts& charts, const SubSetSurfaces& surfaces,
                                      const CoreState& core, double Y) {
    const ContourPlotRows rows = Contour_Plot_Rows(charts.Contour, surfaces.Picture1);
    return Get_Profile_DataIndex(Sub_Set_Profile_View(core), rows.PlotHeight, rows.TopMargin, Y);
}

SeriesDataIndex Series_DataIndex_At(const SubSetCharts& charts, const SubSetSurfaces& surfaces,
                                    const CoreState& core, double X, double Y) {
    const SeriesView view = Sub_Set_Series_View(core, charts.Contour, surfaces.Picture1, charts.StatisticsX);
    return Get_Series_DataIndex(Series_Layout(view, surfaces.Picture4.Height()), X, Y);
}

} // namespace mvx
