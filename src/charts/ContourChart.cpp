#include "charts/ContourChart.h"

#include "common/Orientation.h"
#include "common/Rounding.h"
#include "model/CoreState.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

template <typename T> int32_t ArrayValue(const SlotArray<T>* a, int row, int bin, int slot) {
    if (a == nullptr || row < 0 || row >= a->Rows() || bin < 0 || bin >= a->Bins() || slot < 0 ||
        slot >= a->Slots())
        return kNoData;
    return (*a)(row, bin, slot);
}

// Plot size and cell size of the contour surface.
struct Plot {
    double Left = 0, Top = 0, Width = 0, Height = 0, Bottom = 0;
    int32_t Ensembles = 0, Bins = 0;
    double ColumnWidth = 0, RowHeight = 0;
};

Plot PlotOf(const ContourChart& chart, const Surface& s) {
    Plot p;
    p.Left = chart.Frame.LeftMargin;
    p.Top = chart.Frame.TopMargin;
    p.Width = s.Width() - chart.Frame.LeftMargin - chart.Frame.RightMargin;
    p.Height = s.Height() - chart.Frame.TopMargin - chart.Frame.BottomMargin;
    p.Bottom = s.Height() - chart.Frame.BottomMargin;
    p.Ensembles = chart.Axes.NumEnsembles;
    p.Bins = chart.Axes.LastBinShown - chart.Axes.FirstBinShown + 1;
    p.ColumnWidth = p.Ensembles >= 1 ? p.Width / p.Ensembles : 0;
    p.RowHeight = p.Bins > 0 ? p.Height / p.Bins : 0;
    return p;
}

// The stretched raster covers whole pixels from the plot's top-left corner.
int TargetWidth(const ContourChart& chart, const Surface& s) {
    return std::max(1, RoundToInt32(s.Width() - chart.Frame.LeftMargin - chart.Frame.RightMargin));
}
int TargetHeight(const ContourChart& chart, const Surface& s) {
    return std::max(1, RoundToInt32(s.Height() - chart.Frame.TopMargin - chart.Frame.BottomMargin));
}

void ResetPen(Surface& s) {
    s.SetDrawMode(DrawMode::Copy);
    s.SetDrawStyle(DrawStyle::Solid);
    s.SetDrawWidth(1);
}

} // namespace

int32_t ContourSource::Value(const ContourDataTypeInfo& type, int bin, int slot) const {
    if (slot >= Count) return kNoData;
    switch (type.Source) {
    case ContourSourceKind::Intensity:
        return ArrayValue(IntensityData, type.Row, bin, slot);
    case ContourSourceKind::Correlation:
        return ArrayValue(CorrData, type.Row, bin, slot);
    case ContourSourceKind::PercentGood:
        return ArrayValue(PGoodData, type.Row, bin, slot);
    case ContourSourceKind::Velocity:
        return ArrayValue(VelData, type.Row, bin, slot);
    case ContourSourceKind::None:
        break;
    }
    return kNoData;
}

int32_t ContourSource::BottomRange(int beam, int slot) const {
    if (slot >= Count) return 0;
    const int32_t v = ArrayValue(BTRangeData, beam, 0, slot);
    return v == kNoData ? 0 : v;
}

ContourView Contour_View_Of(const CoreState& core, const EnsembleSet& set, int32_t count) {
    ContourView v;
    v.Source.VelData = &set.VelData;
    v.Source.IntensityData = &set.IntensityData;
    v.Source.CorrData = &set.CorrData;
    v.Source.PGoodData = &set.PGoodData;
    v.Source.BTRangeData = &set.BTRangeData;
    v.Source.Count = count;
    ChartAxesInput& a = v.Axes;
    a.OrientationBalance = core.Set.OrientationBalance;
    a.CellLength = core.Setup.CellLength;
    a.Bin1Distance = core.Setup.Bin1Distance;
    a.NumCells = core.Setup.NumCells;
    a.NumEnsembles = count;
    a.ShowGrid = core.Opts.ShowGrid;
    v.VelocityReference = core.Opts.VelocityReference;
    v.FlowMeterFirmware = core.Setup.FlowMeterFirmware;
    v.ScaleMode = core.Opts.ContourScaleMode;
    v.UserScale = core.Opts.ContourUserScale;
    v.ShowBTDepth = core.Opts.ShowBTDepth;
    return v;
}

void Move_Data_To_Chart3d_Array(ContourChart& chart, const ContourView& view, int32_t dataType) {
    chart.Axes = view.Axes;
    chart.DataType = dataType;
    chart.Type = Contour_Data_Type(dataType, view.VelocityReference, view.FlowMeterFirmware);
    chart.Frame.Title = chart.Type.Title;
    chart.Frame.ScaleLabel = chart.Type.ScaleLabel;
    chart.Frame.DirectionScale = chart.Type.Direction;

    const int32_t bins = view.Axes.LastBinShown - view.Axes.FirstBinShown + 1;
    const int32_t ensembles = view.Axes.NumEnsembles;
    const bool empty = bins <= 0 || ensembles <= 0;
    chart.Chart3dRows = empty ? 1 : bins;
    chart.Chart3dColumns = empty ? 1 : ensembles;
    chart.Chart3dArray.assign(static_cast<size_t>(chart.Chart3dRows) * chart.Chart3dColumns, kNoData);
    if (!empty) {
        const int firstBin = view.Axes.FirstBinShown - 1;
        size_t k = 0;
        for (int32_t e = 0; e < ensembles; ++e) {
            for (int32_t r = 0; r < bins; ++r, ++k) {
                int32_t v = view.Source.Value(chart.Type, firstBin + r, e);
                if (chart.Type.Direction && v != kNoData) v = RoundToInt32(v / 10.0);
                chart.Chart3dArray[k] = v;
            }
        }
    }

    ScaleRule rule;
    rule.Direction = chart.Type.Direction;
    rule.ScaleMode = view.ScaleMode;
    rule.UserScale = view.UserScale;
    rule.LowLimit = chart.Type.LowLimit;
    rule.HighLimit = chart.Type.HighLimit;
    const ColorScaleRange range =
        Resolve_Scale(Compute_Scale_Statistics(chart.Chart3dArray), rule, chart.Frame);
    Values_To_Color_Indexes(chart.Chart3dArray, range);
}

void Create_Chart3d(ContourChart& chart, Surface& picture2, const ColorTableArray& colors, int screenWidth) {
    // A set without ensembles or without bins keeps its one placeholder cell off the screen.
    const bool empty = chart.Axes.NumEnsembles <= 0 || chart.Axes.LastBinShown < chart.Axes.FirstBinShown;
    const int32_t ensembles = empty ? 0 : chart.Chart3dColumns;
    const int32_t rows = chart.Chart3dRows;
    const int width = std::max(1, std::min(ensembles, std::max(1, screenWidth)));
    picture2.SetBackColor(kWhite);
    picture2.Resize(width, rows);
    chart.ColumnStep = ensembles > 0 ? static_cast<double>(width) / ensembles : 0;
    chart.Chart3dReady = chart.ColumnStep > 0 && ensembles > 0;
    if (!chart.Chart3dReady) return;

    // The raster is built in memory a row at a time, then handed over row by row.
    std::vector<ColorRef> pixels(static_cast<size_t>(width) * rows, kWhite);
    for (int32_t e = 0; e < ensembles; ++e) {
        const int x = RoundToInt32(e * chart.ColumnStep);
        if (x < 0 || x >= width) continue;
        const int32_t* column = chart.Chart3dArray.data() + static_cast<size_t>(rows) * e;
        for (int32_t r = 0; r < rows; ++r) {
            const int32_t index = column[r];
            const ColorRef c = index >= 0 && index < kColorTableSize ? colors[static_cast<size_t>(index)]
                                                                     : colors[BadDataColor];
            pixels[static_cast<size_t>(rows - 1 - r) * width + x] = c;
        }
    }
    for (int32_t y = 0; y < rows; ++y)
        picture2.SetPixelRow(0, y, pixels.data() + static_cast<size_t>(y) * width, width);
}

void Move_Clip_To_Chart3d(const ContourChart& chart, Surface& picture1, const Surface& picture2) {
    picture1.Clear();
    if (!chart.Chart3dReady) return;
    picture1.StretchFrom(picture2, RoundToInt32(chart.Frame.LeftMargin), RoundToInt32(chart.Frame.TopMargin),
                         TargetWidth(chart, picture1), TargetHeight(chart, picture1));
}

std::vector<ChartPoint> BT_Contour_Points(const ContourChart& chart, int surfaceWidth, int surfaceHeight,
                                          const ContourSource& source) {
    const ChartState& st = chart.Frame;
    const ChartAxesInput& a = chart.Axes;
    const double plotWidth = surfaceWidth - st.LeftMargin - st.RightMargin;
    const double plotHeight = surfaceHeight - st.TopMargin - st.BottomMargin;
    const int32_t ensembles = a.NumEnsembles;
    const double columnWidth = ensembles >= 2 ? plotWidth / ensembles : 0;
    const double reference = static_cast<double>(a.NumCells - a.LastBinShown) * a.CellLength + a.Bin1Distance;
    const double span = static_cast<double>(a.LastBinShown - a.FirstBinShown) * a.CellLength;
    double pixelsPerMetre = span != 0 ? plotHeight / span : 0;
    double origin = st.TopMargin;
    if (Mostly_Up_Looking(a.OrientationBalance)) {
        origin = surfaceHeight - st.BottomMargin;
        pixelsPerMetre = -pixelsPerMetre;
    }
    const int firstBeam = chart.Type.BottomBeam >= 0 ? chart.Type.BottomBeam : 0;
    const int lastBeam = chart.Type.BottomBeam >= 0 ? chart.Type.BottomBeam : 3;

    std::vector<ChartPoint> points;
    for (int32_t e = 0; e < ensembles; ++e) {
        double sum = 0;
        int count = 0;
        for (int beam = firstBeam; beam <= lastBeam; ++beam) {
            const int32_t range = source.BottomRange(beam, e);
            if (range > 0) {
                sum += range;
                ++count;
            }
        }
        if (count == 0) continue;
        const double depth = sum / count / 100.0;
        points.push_back({st.LeftMargin + columnWidth / 2 + e * columnWidth,
                          (depth - reference) * pixelsPerMetre + origin});
    }
    return points;
}

void Display_BT_Contour(const ContourChart& chart, Surface& picture1, const ContourView& view) {
    if (!view.ShowBTDepth) return;
    const std::vector<ChartPoint> points =
        BT_Contour_Points(chart, picture1.Width(), picture1.Height(), view.Source);
    picture1.SetDrawMode(DrawMode::XorPen);
    picture1.SetDrawStyle(DrawStyle::Solid);
    picture1.SetDrawWidth(1);
    for (size_t k = 0; k < points.size(); ++k) {
        if (k == 0)
            picture1.SetCurrentPosition(points[k].X, points[k].Y);
        else
            picture1.LineTo(points[k].X, points[k].Y, kWhite);
    }
    // What fell above or below the plot is wiped off the margins.
    picture1.SetDrawMode(DrawMode::Copy);
    const double left = chart.Frame.LeftMargin;
    const int right = RoundToInt32(left) + TargetWidth(chart, picture1) - 1;
    const int plotTop = RoundToInt32(chart.Frame.TopMargin);
    const int plotBottom = plotTop + TargetHeight(chart, picture1); // first row below the plot
    if (plotTop > 0) picture1.FillBox(left, 0, right, plotTop - 1, picture1.BackColor());
    if (plotBottom < picture1.Height())
        picture1.FillBox(left, plotBottom, right, picture1.Height() - 1, picture1.BackColor());
}

void Chart3d_DisplayTitles(const ContourChart& chart, Surface& picture1, const ContourView& view,
                           const ColorTableArray& colors, ChartTicks& ticks) {
    Display_BT_Contour(chart, picture1, view);
    ResetPen(picture1);
    picture1.SetForeColor(kBlack);
    const ChartState& st = chart.Frame;
    PrintChart3d(picture1, st.TitleX, st.TitleY, st.Title);

    if (Chart_Plot_Area_Not_Empty(picture1, st)) {
        const double h = picture1.TextHeight("W");
        PrintChart3d(picture1, 4, h, chart.StatsLine);
        Draw_Color_Scale(picture1, st, colors);
        Draw_Range_Axis(picture1, st, chart.Axes, ticks);
        Draw_Bin_Axis(picture1, st, chart.Axes);
        Draw_Ensemble_Axis(picture1, st, chart.Axes);
        Draw_Time_Axis(picture1, st, chart.Axes, ticks);

        // Three lines below the ensemble labels: the header word in the middle, the first ensemble's
        // text from the plot's left edge and the last one's up to its right edge.
        const double left = st.LeftMargin;
        const double width = picture1.Width() - st.LeftMargin - st.RightMargin;
        const double right = left + width;
        const double plotBottom = picture1.Height() - st.BottomMargin;
        for (int line = 0; line < 3; ++line) {
            const double y = plotBottom + (line + 1) * h;
            const std::string& header = chart.InfoHeaders[static_cast<size_t>(line)];
            PrintChart3d(picture1, left + width / 2 - picture1.TextWidth(header) / 2.0, y, header);
            PrintChart3d(picture1, left, y, chart.FirstInfo[static_cast<size_t>(line)]);
            const std::string& last = chart.LastInfo[static_cast<size_t>(line)];
            PrintChart3d(picture1, right - picture1.TextWidth(last), y, last);
        }
        const int plotLeft = RoundToInt32(st.LeftMargin), plotTop = RoundToInt32(st.TopMargin);
        picture1.Box(plotLeft - 1, plotTop - 1, plotLeft + TargetWidth(chart, picture1),
                     plotTop + TargetHeight(chart, picture1), kBlack);
    }

    if (view.ShowLocators) {
        if (view.SeriesBins != nullptr) Toggle_Series_Line(chart, picture1, *view.SeriesBins);
        Toggle_Profile_Line(chart, picture1, view.ProfileEnsNumber);
    }
}

ChartDataIndex Get_Chart3d_DataIndex(const ContourChart& chart, const Surface& picture1, double X, double Y) {
    const Plot p = PlotOf(chart, picture1);
    ChartDataIndex out;
    if (p.ColumnWidth == 0 || p.RowHeight == 0) return out;
    const int64_t e = RoundToInt64((X - p.Left) / p.ColumnWidth - 0.5, INT32_MIN, INT32_MAX);
    const int64_t row = RoundToInt64((Y - p.Top) / p.RowHeight - 0.5, INT32_MIN, INT32_MAX);
    out.Inside = e >= -1 && e <= int64_t{p.Ensembles} + 1 && row >= -1 && row <= int64_t{p.Bins} + 1;
    out.EnsembleIndex = static_cast<int32_t>(std::clamp<int64_t>(e, 0, p.Ensembles - 1));
    out.BinRow = static_cast<int32_t>(std::clamp<int64_t>(row, 0, p.Bins - 1));
    return out;
}

void Toggle_Profile_Line(const ContourChart& chart, Surface& picture1, int32_t ensembleNumber) {
    const ChartAxesInput& a = chart.Axes;
    if (ensembleNumber < a.FirstEnsNumber || ensembleNumber > a.LastEnsNumber) return;
    const int32_t column = Column_Of_Number(a.ColumnNumbers, a.FirstEnsNumber, ensembleNumber);
    const Plot p = PlotOf(chart, picture1);
    if (p.Ensembles < 1 || column < 0) return;
    const double x = static_cast<double>(column) * p.ColumnWidth + p.Left + p.ColumnWidth / 2;
    picture1.SetDrawMode(DrawMode::XorPen);
    picture1.SetDrawWidth(1);
    picture1.SetDrawStyle(DrawStyle::Dot);
    picture1.Line(x, p.Top - 2, x, p.Bottom + 2, kWhite);
    // The mark sits just above the dotted line, so the two never share a pixel.
    picture1.SetDrawStyle(DrawStyle::Solid);
    picture1.SetDrawWidth(4);
    picture1.Line(x, p.Top - 8, x, p.Top - 5, kWhite);
    ResetPen(picture1);
}

void Toggle_Series_Line(const ContourChart& chart, Surface& picture1, const std::array<bool, 256>& bins) {
    const ChartAxesInput& a = chart.Axes;
    const Plot p = PlotOf(chart, picture1);
    if (p.Bins < 1) return;
    picture1.SetDrawMode(DrawMode::XorPen);
    picture1.SetDrawStyle(DrawStyle::Solid);
    picture1.SetDrawWidth(1);
    for (int32_t bin = std::max(a.FirstBinShown, 1); bin <= std::min(a.LastBinShown, 255); ++bin) {
        if (!bins[static_cast<size_t>(bin)]) continue;
        const double y = p.Bottom - p.RowHeight / 2 - (bin - a.FirstBinShown) * p.RowHeight;
        picture1.Line(p.Left, y, p.Left + p.Width, y, kWhite);
    }
    ResetPen(picture1);
}

} // namespace mvx
