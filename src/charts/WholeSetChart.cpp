#include "charts/WholeSetChart.h"

#include "charts/ContourTexts.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

// Plot area and cell size of the chart surface.
struct Plot {
    double Left = 0, Top = 0, Width = 0, Height = 0;
    int32_t Columns = 0, Rows = 0;
    double ColumnWidth = 0, RowHeight = 0;
};

Plot PlotOf(const WholeSetChart& chart, const Surface& s) {
    const ContourChart& c = chart.Contour;
    Plot p;
    p.Left = c.Frame.LeftMargin;
    p.Top = c.Frame.TopMargin;
    p.Width = s.Width() - c.Frame.LeftMargin - c.Frame.RightMargin;
    p.Height = s.Height() - c.Frame.TopMargin - c.Frame.BottomMargin;
    p.Columns = c.Axes.NumEnsembles;
    p.Rows = c.Axes.LastBinShown - c.Axes.FirstBinShown + 1;
    p.ColumnWidth = p.Columns >= 1 ? p.Width / p.Columns : 0;
    p.RowHeight = p.Rows >= 1 ? p.Height / p.Rows : 0;
    return p;
}

// Number, date and time of one slot of the whole set.
std::array<std::string, 3> ColumnInfo(const CoreState& core, int32_t slot, int32_t number) {
    std::array<std::string, 3> info;
    info[0] = FormatNumber(number, "0");
    const SlotArray<uint8_t>& times = core.Data.Whole.EnsTimes;
    if (slot < 0 || slot >= times.Slots()) return info;
    uint8_t time[7];
    for (int i = 0; i < 7; ++i) time[i] = times(i, slot);
    const std::string text = Ensemble_Date_Time_Text(time);
    const size_t comma = text.find(", ");
    info[1] = comma == std::string::npos ? text : text.substr(0, comma);
    info[2] = comma == std::string::npos ? std::string() : text.substr(comma + 2);
    return info;
}

// The footer line: the last text line of the surface, below the three information lines.
void PrintFooter(const WholeSetChart& chart, Surface& picture1) {
    if (!Chart_Plot_Area_Not_Empty(picture1, chart.Contour.Frame)) return;
    const double h = picture1.TextHeight("W");
    const double y = picture1.Height() - h - 1;
    picture1.SetDrawMode(DrawMode::Copy);
    picture1.SetDrawStyle(DrawStyle::Solid);
    picture1.SetDrawWidth(1);
    picture1.FillBox(0, y, picture1.Width() - 1, picture1.Height() - 1, picture1.BackColor());
    picture1.SetForeColor(kBlack);
    PrintChart3d(picture1, 4, y, chart.SubText);
    const double middle =
        chart.Contour.Frame.LeftMargin +
        (picture1.Width() - chart.Contour.Frame.LeftMargin - chart.Contour.Frame.RightMargin) / 2;
    PrintChart3d(picture1, std::max(middle, 4.0 + picture1.TextWidth(chart.SubText) + h), y, chart.SelText);
}

std::string RangeText(const char* word, int32_t first, int32_t last) {
    return std::string(word) + FormatNumber(first, "0") + " to " + FormatNumber(last, "0");
}

bool SelectionDrawn(const WholeSetMarkers& m) {
    return m.Sel.Valid;
}

// The selection marker lies two pixels outside its cells, so that where its edges would meet the sub-set
// marker's (a selection that starts or ends with the sub set) the two XOR outlines do not cancel out.
MarkerRect SelectionRect(const WholeSetChart& chart, const Surface& picture1, const CoreState& core) {
    MarkerRect r = Marker_Rect(chart, picture1, core.Set.FirstBinShown, core.Set.LastBinShown,
                               core.Set.SelFirstEns, core.Set.SelLastEns);
    r.X1 -= 2;
    r.Y1 -= 2;
    r.X2 += 2;
    r.Y2 += 2;
    return r;
}

} // namespace

ContourView Whole_Set_Contour_View(const CoreState& core) {
    const EnsembleSet& whole = core.Data.Whole;
    ContourView v =
        Contour_View_Of(core, whole, std::clamp(core.Set.WholeEnsCount, 0, std::max(whole.Capacity, 0)));
    ChartAxesInput& a = v.Axes;
    a.FirstBinShown = 1;
    a.LastBinShown = std::clamp(core.Setup.NumCells, 0, kMaxBins);
    a.FirstEnsNumber = core.Set.WholeFirstEns;
    a.LastEnsNumber = std::max(core.Set.FileLastEnsemble, core.Set.WholeFirstEns);
    a.SetDuration = core.Set.WholeSetDuration;
    a.EnsemblesPerColumn = core.Set.WholeStepSaved + 1.0;
    // An indexed file's whole set was thinned over its entries: each column is the ensemble loaded there.
    if (!core.Set.Index.Empty()) {
        a.ColumnNumbers.resize(static_cast<size_t>(std::max(v.Axes.NumEnsembles, 0)));
        for (size_t k = 0; k < a.ColumnNumbers.size(); ++k)
            a.ColumnNumbers[k] = whole.EnsNumbers[static_cast<int>(k)];
    }
    v.ShowLocators = false; // the navigator marks the sub set, not the profile and series
    return v;
}

std::string Whole_Set_Caption(double wholeSetDuration) {
    return "Whole Set --- Deployment Duration: " + Deployment_Duration_Text(wholeSetDuration);
}

void Set_Whole_Set_Size(WholeSetChart& chart, Surface& picture1, int width, int height) {
    ContourChart& c = chart.Contour;
    width = std::max(width, 1);
    height = std::max(height, 1);
    const int bins = c.Axes.LastBinShown - c.Axes.FirstBinShown + 1;
    // The font is fitted to the height less the footer line, which then joins the bottom margin.
    const int footer = std::max(picture1.TextHeight("W"), 1);
    const ChartSurfaceSize size =
        Layout_Chart_Surface(picture1, width, std::max(height - footer, 1), bins, c.Frame);
    const int h = picture1.TextHeight("W");
    c.Frame.BottomMargin += static_cast<float>(h);
    const int surfaceHeight = std::min(height, size.SurfaceHeight + h);
    if (picture1.Width() != width || picture1.Height() != surfaceHeight)
        picture1.Resize(width, std::max(surfaceHeight, 1));
    Place_Chart_Texts(picture1, c.Frame);
}

void Init_Whole_Set_Chart(WholeSetChart& chart, WholeSetSurfaces& surfaces, const CoreState& core,
                          const ColorTableArray& colors, int32_t dataType) {
    if (!core.Set.FileValid) return;
    ContourChart& c = chart.Contour;
    const ContourView view = Whole_Set_Contour_View(core);
    chart.FirstEnsemble = view.Axes.FirstEnsNumber;
    chart.LastEnsemble = view.Axes.LastEnsNumber;
    chart.ColumnStride = std::max(core.Set.WholeStepSaved + 1, 1);
    Move_Data_To_Chart3d_Array(c, view, dataType);
    Create_Chart3d(c, surfaces.Picture2, colors, chart.ScreenWidth);

    c.StatsLine = " " + Contour_Statistics_Line(c.Frame, c.Type.Direction);
    if (c.Type.Direction) c.StatsLine.clear();
    c.Frame.EnsembleAxisTitle.clear();
    c.InfoHeaders = {"Ensemble", "Date", "Time"};
    const int32_t n = view.Axes.NumEnsembles;
    c.FirstInfo = ColumnInfo(core, n >= 1 ? 0 : -1, chart.FirstEnsemble);
    c.LastInfo = ColumnInfo(core, n >= 1 ? n - 1 : -1, chart.LastEnsemble);
    c.Caption = Whole_Set_Caption(core.Set.WholeSetDuration);
    chart.SubText = RangeText("Sub: ", core.Set.FirstEnsNumber, core.Set.LastEnsNumber);
    chart.SelText = RangeText("Sel: ", core.Set.SelFirstEns, core.Set.SelLastEns);
    chart.Built = true;
    Resize_Whole_Set_Chart(chart, surfaces, core, colors);
}

void Draw_Whole_Set_Picture(WholeSetChart& chart, WholeSetSurfaces& surfaces, const CoreState& core,
                            const ColorTableArray& colors, int32_t dataType) {
    Init_Whole_Set_Chart(chart, surfaces, core, colors, dataType);
    if (!chart.Built) return;
    WholeSetMarkers& m = chart.Markers;
    m.SubShown = m.SelShown = true;
    Toggle_Marker(surfaces.Picture1, m.Sub);
    if (SelectionDrawn(m)) Toggle_Marker(surfaces.Picture1, m.Sel);
}

void Resize_Whole_Set_Chart(WholeSetChart& chart, WholeSetSurfaces& surfaces, const CoreState& core,
                            const ColorTableArray& colors) {
    if (!chart.Built) return;
    Surface& picture1 = surfaces.Picture1;
    Set_Whole_Set_Size(chart, picture1, chart.WindowWidth, chart.WindowHeight);
    Move_Clip_To_Chart3d(chart.Contour, picture1, surfaces.Picture2);
    // Clearing the picture took the markers with it.
    chart.Markers.SubShown = chart.Markers.SelShown = false;
    Chart3d_DisplayTitles(chart.Contour, picture1, Whole_Set_Contour_View(core), colors, chart.Ticks);
    chart.Markers.Sub = Marker_Rect(chart, picture1, core.Set.FirstBinShown, core.Set.LastBinShown,
                                    core.Set.FirstEnsNumber, core.Set.LastEnsNumber);
    chart.Markers.Sel = SelectionRect(chart, picture1, core);
    PrintFooter(chart, picture1);
}

int32_t Ensemble_Of_Column(const WholeSetChart& chart, int32_t column) {
    const int32_t columns = chart.Contour.Axes.NumEnsembles;
    if (column >= columns - 1) return chart.LastEnsemble;
    if (!chart.Contour.Axes.ColumnNumbers.empty()) return Ensemble_In_Column(chart.Contour.Axes, column);
    const int64_t e = int64_t{chart.FirstEnsemble} + int64_t{std::max(column, 0)} * chart.ColumnStride;
    return static_cast<int32_t>(std::min<int64_t>(e, chart.LastEnsemble));
}

PixelPoint Get_Chart3d_DataCoordinate(const WholeSetChart& chart, const Surface& picture1, int32_t bin,
                                      int32_t ensemble) {
    const Plot p = PlotOf(chart, picture1);
    const double lastColumn = std::max(p.Columns - 1, 0);
    const double column = std::clamp(Column_Of_Ensemble(chart.Contour.Axes, ensemble), 0.0, lastColumn);
    const double row = std::clamp(static_cast<double>(chart.Contour.Axes.LastBinShown) - bin, 0.0,
                                  static_cast<double>(std::max(p.Rows - 1, 0)));
    return {p.Left + (column + 0.5) * p.ColumnWidth, p.Top + (row + 0.5) * p.RowHeight};
}

MarkerRect Marker_Rect(const WholeSetChart& chart, const Surface& picture1, int32_t firstBin, int32_t lastBin,
                       int32_t firstEnsemble, int32_t lastEnsemble) {
    MarkerRect r;
    const Plot p = PlotOf(chart, picture1);
    if (p.ColumnWidth <= 0 || p.RowHeight <= 0 || lastEnsemble < firstEnsemble || lastBin < firstBin)
        return r;
    const PixelPoint a = Get_Chart3d_DataCoordinate(chart, picture1, lastBin, firstEnsemble);
    const PixelPoint b = Get_Chart3d_DataCoordinate(chart, picture1, firstBin, lastEnsemble);
    r.X1 = RoundToInt32(a.X - p.ColumnWidth / 2);
    r.Y1 = RoundToInt32(a.Y - p.RowHeight / 2);
    r.X2 = std::max(RoundToInt32(b.X + p.ColumnWidth / 2) - 1, r.X1 + 1);
    r.Y2 = std::max(RoundToInt32(b.Y + p.RowHeight / 2) - 1, r.Y1 + 1);
    r.Valid = true;
    return r;
}

void Toggle_Marker(Surface& picture1, const MarkerRect& rect) {
    if (!rect.Valid) return;
    picture1.SetDrawMode(DrawMode::XorPen);
    picture1.SetDrawStyle(DrawStyle::Solid);
    picture1.SetDrawWidth(1);
    picture1.Box(rect.X1, rect.Y1, rect.X2, rect.Y2, kWhite);
    picture1.SetDrawMode(DrawMode::Copy);
}

void Hide_Markers(WholeSetChart& chart, Surface& picture1) {
    WholeSetMarkers& m = chart.Markers;
    if (m.SubShown) Toggle_Marker(picture1, m.Sub);
    if (m.SelShown && SelectionDrawn(m)) Toggle_Marker(picture1, m.Sel);
    m.SubShown = m.SelShown = false;
}

void Blink_Tick(WholeSetChart& chart, Surface& picture1, bool showLocators) {
    WholeSetMarkers& m = chart.Markers;
    if (!m.Blinking || !chart.Built) return;
    const int32_t count = m.BlinkCount;
    m.BlinkCount = (count + 1) % 4;
    if (count == 0 || !showLocators) Hide_Markers(chart, picture1);
    if (!showLocators || (count != 0 && count != 3)) return;
    m.SubShown = !m.SubShown;
    m.SelShown = !m.SelShown;
    Toggle_Marker(picture1, m.Sub);
    if (SelectionDrawn(m)) Toggle_Marker(picture1, m.Sel);
}

void Show_Selected_Data_Location(WholeSetChart& chart, Surface& picture1, const CoreState& core) {
    if (!chart.Built) return;
    WholeSetMarkers& m = chart.Markers;
    const bool shown = m.SubShown;
    Hide_Markers(chart, picture1);
    m.Sub = Marker_Rect(chart, picture1, core.Set.FirstBinShown, core.Set.LastBinShown,
                        core.Set.FirstEnsNumber, core.Set.LastEnsNumber);
    m.Sel = SelectionRect(chart, picture1, core);
    if (shown || core.Opts.ShowLocators) {
        m.SubShown = m.SelShown = true;
        Toggle_Marker(picture1, m.Sub);
        if (SelectionDrawn(m)) Toggle_Marker(picture1, m.Sel);
        m.BlinkCount = 1;
    }
    chart.SubText = RangeText("Sub: ", core.Set.FirstEnsNumber, core.Set.LastEnsNumber);
    PrintFooter(chart, picture1);
}

void Display_Footer(WholeSetChart& chart, Surface& picture1, const CoreState& core) {
    if (!chart.Built) return;
    WholeSetMarkers& m = chart.Markers;
    const bool shown = m.SubShown;
    Hide_Markers(chart, picture1);
    m.Sel = SelectionRect(chart, picture1, core);
    if (shown) {
        m.SubShown = m.SelShown = true;
        Toggle_Marker(picture1, m.Sub);
        if (SelectionDrawn(m)) Toggle_Marker(picture1, m.Sel);
    }
    chart.SelText = RangeText("Sel: ", core.Set.SelFirstEns, core.Set.SelLastEns);
    PrintFooter(chart, picture1);
}

} // namespace mvx
