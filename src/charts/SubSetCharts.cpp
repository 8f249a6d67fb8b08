#include "charts/SubSetCharts.h"

#include "charts/ContourTexts.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"

#include <algorithm>

namespace mvx {

namespace {

// Resizes a surface only when its size changes, so that a second layout pass keeps the picture.
void Fit(Surface& s, int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (s.Width() != width || s.Height() != height) s.Resize(width, height);
}

int32_t LoadedCount(const CoreState& core) {
    return std::clamp(core.Set.CurrentEnsIndex, 0, std::max(core.Data.Capacity, 0));
}

template <typename T> T At(const SlotArray<T>& v, int32_t slot) {
    return slot >= 0 && slot < v.Slots() ? v[slot] : T{};
}

// Texts of one ensemble of the loaded set: number, date-time, position.
std::array<std::string, 3> EnsembleInfo(const CoreState& core, int32_t slot, int32_t number) {
    std::array<std::string, 3> info;
    info[0] = FormatNumber(number, "0");
    const DataSet& d = core.Data;
    if (slot < 0 || slot >= d.EnsTimes.Slots()) return info;
    uint8_t time[7];
    for (int i = 0; i < 7; ++i) time[i] = d.EnsTimes(i, slot);
    info[1] = Ensemble_Date_Time_Text(time);
    // The navigation block's first fix (0 where the ensemble carries none).
    info[2] = Position_Text(At(d.NavFirstLat, slot), At(d.NavFirstLon, slot));
    return info;
}

} // namespace

std::vector<int32_t> Loaded_Numbers(const CoreState& core) {
    const int32_t n = std::min(LoadedCount(core), core.Data.EnsNumbers.Slots());
    std::vector<int32_t> numbers(static_cast<size_t>(std::max(n, 0)));
    for (int32_t slot = 0; slot < n; ++slot) numbers[static_cast<size_t>(slot)] = core.Data.EnsNumbers[slot];
    return numbers;
}

ContourView Sub_Set_Contour_View(const CoreState& core) {
    ContourView v = Contour_View_Of(core, core.Data, LoadedCount(core));
    ChartAxesInput& a = v.Axes;
    // The arrays hold bins 1..256; a range beyond them would only chart missing cells.
    a.FirstBinShown = std::clamp(core.Set.FirstBinShown, 1, kMaxBins);
    a.LastBinShown = std::clamp(core.Set.LastBinShown, 0, kMaxBins);
    a.FirstEnsNumber = core.Set.FirstEnsNumber;
    a.LastEnsNumber = core.Set.LastEnsNumber;
    a.SetDuration = core.Set.SetDuration;
    // An indexed set's numbers may skip or repeat: each column is the ensemble loaded in its slot.
    if (!core.Set.Index.Empty()) a.ColumnNumbers = Loaded_Numbers(core);
    v.ShowLocators = core.Opts.ShowLocators;
    v.ProfileEnsNumber = core.Set.ProfileEnsNumber;
    v.SeriesBins = &core.Opts.SeriesBinSelect;
    return v;
}

SubSetLayout Set_Chart3d_Size(ContourChart& chart, SubSetSurfaces& surfaces, int windowWidth,
                              int windowHeight, double contourHeightShare, double profileWidthShare) {
    SubSetLayout layout;
    layout.WindowWidth = std::max(windowWidth, 1);
    layout.WindowHeight = std::max(windowHeight, 1);
    const double profileShare = std::clamp(profileWidthShare, 0.0, 1.0);
    const double contourShare = std::clamp(contourHeightShare, 0.0, 1.0);
    const int32_t bins = chart.Axes.LastBinShown - chart.Axes.FirstBinShown + 1;

    const ChartSurfaceSize size =
        Layout_Chart_Surface(surfaces.Picture1, (1 - profileShare) * layout.WindowWidth,
                             contourShare * layout.WindowHeight, bins, chart.Frame);
    layout.Contour = {layout.WindowWidth - size.SurfaceWidth, 0, size.SurfaceWidth, size.SurfaceHeight};
    layout.Profile = {0, 0, RoundToInt32(layout.WindowWidth * profileShare), layout.WindowHeight};
    layout.Series = {layout.Contour.X, layout.Contour.Height, layout.Contour.Width,
                     std::max(0, layout.WindowHeight - layout.Contour.Height)};

    Fit(surfaces.Picture1, layout.Contour.Width, layout.Contour.Height);
    Fit(surfaces.Picture5, layout.Profile.Width, layout.Profile.Height);
    Fit(surfaces.Picture4, layout.Series.Width, layout.Series.Height);
    Place_Chart_Texts(surfaces.Picture1, chart.Frame);
    return layout;
}

void Build_Contour_Texts(ContourChart& chart, const CoreState& core) {
    chart.StatsLine = Contour_Statistics_Line(chart.Frame, chart.Type.Direction);
    chart.Frame.EnsembleAxisTitle.clear();
    const int32_t n = chart.Axes.NumEnsembles;
    chart.FirstInfo = EnsembleInfo(core, n >= 1 ? 0 : -1, core.Set.FirstEnsNumber);
    chart.LastInfo = EnsembleInfo(core, n >= 1 ? n - 1 : -1, core.Set.LastEnsNumber);
    chart.Caption = Sub_Set_Caption(core.Set.SetDuration);
}

void Init_Charts(SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core,
                 const ColorTableArray& colors, int32_t dataType, const SubSetChartHooks& hooks) {
    if (!core.Set.FileValid) return;
    if (hooks.Show_Selected_Data_Location) hooks.Show_Selected_Data_Location();
    ContourChart& chart = charts.Contour;
    const ContourView view = Sub_Set_Contour_View(core);
    Move_Data_To_Chart3d_Array(chart, view, dataType);
    Create_Chart3d(chart, surfaces.Picture2, colors, charts.ScreenWidth);
    charts.Layout = Set_Chart3d_Size(chart, surfaces, charts.WindowWidth, charts.WindowHeight,
                                     core.Opts.ContourHeightShare, core.Opts.ProfileWidthShare);
    Move_Clip_To_Chart3d(chart, surfaces.Picture1, surfaces.Picture2);
    Build_Contour_Texts(chart, core);
    // The text positions follow the texts just built.
    charts.Layout = Set_Chart3d_Size(chart, surfaces, charts.WindowWidth, charts.WindowHeight,
                                     core.Opts.ContourHeightShare, core.Opts.ProfileWidthShare);
    Display_Sub_Set_Titles(charts, surfaces, core, colors, hooks);
}

void Resize_Chart3d(SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core,
                    const ColorTableArray& colors, const SubSetChartHooks& hooks) {
    ContourChart& chart = charts.Contour;
    charts.Layout = Set_Chart3d_Size(chart, surfaces, charts.WindowWidth, charts.WindowHeight,
                                     core.Opts.ContourHeightShare, core.Opts.ProfileWidthShare);
    if (chart.Chart3dReady) Move_Clip_To_Chart3d(chart, surfaces.Picture1, surfaces.Picture2);
    Display_Sub_Set_Titles(charts, surfaces, core, colors, hooks);
}

void Display_Sub_Set_Titles(SubSetCharts& charts, SubSetSurfaces& surfaces, const CoreState& core,
                            const ColorTableArray& colors, const SubSetChartHooks& hooks) {
    Chart3d_DisplayTitles(charts.Contour, surfaces.Picture1, Sub_Set_Contour_View(core), colors,
                          charts.Ticks);
    if (hooks.Show_Series_And_Ancillary_Data)
        hooks.Show_Series_And_Ancillary_Data();
    else
        Draw_Series_Frame(surfaces.Picture4);
    if (hooks.Show_Profile_Data)
        hooks.Show_Profile_Data();
    else
        Draw_Profile_Frame(surfaces.Picture5);
}

void Draw_Profile_Frame(Surface& picture5) {
    picture5.SetBackColor(kWhite);
    picture5.Clear();
    picture5.SetDrawMode(DrawMode::Copy);
    picture5.SetDrawStyle(DrawStyle::Solid);
    picture5.SetDrawWidth(2);
    const double x = picture5.Width() - 1;
    picture5.Line(x, 0, x, picture5.Height(), kBlack);
    picture5.SetDrawWidth(1);
}

void Draw_Series_Frame(Surface& picture4) {
    picture4.SetBackColor(kWhite);
    picture4.Clear();
    picture4.SetDrawMode(DrawMode::Copy);
    picture4.SetDrawStyle(DrawStyle::Solid);
    picture4.SetDrawWidth(2);
    picture4.Line(0, 1, picture4.Width(), 1, kBlack);
    picture4.SetDrawWidth(1);
}

void Compose_Sub_Set_Picture(const SubSetLayout& layout, const SubSetSurfaces& surfaces, Surface& out) {
    const int width = layout.Contour.Width + layout.Profile.Width;
    const int height = layout.Contour.Height + layout.Series.Height;
    out.SetBackColor(kWhite);
    out.Resize(std::max(width, 1), std::max(height, 1));
    auto paint = [&out](const Surface& s, const SurfaceRect& r) {
        if (r.Width > 0 && r.Height > 0) out.StretchFrom(s, r.X, r.Y, r.Width, r.Height);
    };
    paint(surfaces.Picture5, layout.Profile);
    paint(surfaces.Picture1, layout.Contour);
    paint(surfaces.Picture4, layout.Series);
}

} // namespace mvx
