#include "charts/ChartFrame.h"

#include "charts/AxisSteps.h"
#include "common/NumberFormat.h"
#include "common/Orientation.h"
#include "common/Rounding.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace mvx {

namespace {

// Plot size and cell size in pixels.
struct PlotGeometry {
    double Width = 0, Height = 0;
    double ColumnWidth = 0, RowHeight = 0;
    int32_t Ensembles = 0, Bins = 0;
    double Bottom = 0; // y of the plot's bottom edge
};

PlotGeometry GeometryOf(const Surface& s, const ChartState& st, const ChartAxesInput& in) {
    PlotGeometry g;
    g.Width = s.Width() - st.LeftMargin - st.RightMargin;
    g.Height = s.Height() - st.TopMargin - st.BottomMargin;
    g.Ensembles = in.NumEnsembles;
    g.Bins = in.LastBinShown - in.FirstBinShown + 1;
    g.ColumnWidth = g.Ensembles >= 1 ? g.Width / g.Ensembles : 0;
    g.RowHeight = g.Bins > 0 ? g.Height / g.Bins : 0;
    g.Bottom = s.Height() - st.BottomMargin;
    return g;
}

std::string Whole(double v) {
    return FormatNumber(v, "0");
}

// Limits that no label position reaches.
constexpr double kFarLeft = -9999999;
constexpr double kFarDown = 9999999;

} // namespace

void PrintChart3d(Surface& surface, double x, double y, const std::string& text) {
    surface.SetCurrentPosition(x, y);
    surface.Print(text);
}

void PrintVerticalTitle(Surface& surface, const std::string& text, double Xdest, double Ydest, bool Upwards) {
    const int w = surface.TextWidth(text), h = surface.TextHeight(text);
    if (text.empty() || w <= 0 || h <= 0) return;
    auto scratch = surface.MakeScratch(w, h);
    scratch->Clear();
    PrintChart3d(*scratch, 0, 0, text);
    const int xd = RoundToInt32(Xdest), yd = RoundToInt32(Ydest);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const ColorRef c = scratch->GetPixel(x, y);
            if (Upwards)
                surface.SetPixel(xd + y, yd - x, c);
            else
                surface.SetPixel(xd + (h - 1 - y), yd - (w - 1 - x), c);
        }
    }
    scratch->Clear();
}

void Draw_Color_Scale(Surface& surface, const ChartState& st, const ColorTableArray& colors) {
    const int paletteCount = st.DirectionScale ? 140 : 100;
    const int paletteFirst = st.DirectionScale ? kDirectionScaleFirst : kValueScaleFirst;
    const bool clipped = st.DataMax != st.ScaleMax || st.DataMin != st.ScaleMin;
    const int boxCount = paletteCount + (clipped ? 8 : 0);

    const double plotWidth = surface.Width() - st.LeftMargin - st.RightMargin;
    const double w = plotWidth / boxCount / 4;
    const int textHeight = surface.TextHeight("W");
    const double top = 1, bottom = top + (textHeight - 1) - 1; // the bar is one text height less 1 tall
    const double left = (surface.TextWidth(st.ScaleLabel) - w * boxCount) / 2 + st.ScaleLabelX;

    double x = left;
    if (clipped) {
        surface.FillBox(x, top, x + 4 * w, bottom, colors[BelowScaleColor]);
        x += 4 * w;
    }
    const double paletteLeft = x;
    for (int i = 0; i < paletteCount; ++i) {
        surface.FillBox(x, top, x + w, bottom, colors[paletteFirst + i]);
        x += w;
    }
    const double paletteRight = x;
    if (clipped) surface.FillBox(x, top, x + 4 * w, bottom, colors[AboveScaleColor]);

    PrintChart3d(surface, st.ScaleLabelX, st.ScaleLabelY + 1, st.ScaleLabel);
    surface.Box(paletteLeft, top, paletteRight, bottom + 1, kBlack);

    const double centre = left + w * boxCount / 2;
    const double half = (st.DirectionScale ? 70 : 50) * w;
    const double y = textHeight + 1;
    const std::string lowText = Whole(st.ScaleMin);
    const std::string midText = Whole(static_cast<double>((int64_t{st.ScaleMax} + st.ScaleMin) / 2));
    const std::string highText = Whole(st.ScaleMax);
    PrintChart3d(surface, centre - half - surface.TextWidth(lowText) / 2.0, y, lowText);
    PrintChart3d(surface, centre - surface.TextWidth(midText) / 2.0, y, midText);
    PrintChart3d(surface, centre + half - surface.TextWidth(highText) / 2.0, y, highText);
}

void Draw_Range_Axis(Surface& surface, const ChartState& st, const ChartAxesInput& in, ChartTicks& ticks) {
    ticks.RangeTickCount = 0;
    const PlotGeometry g = GeometryOf(surface, st, in);
    if (g.Bins > 0 && in.CellLength > 0) {
        const bool upward = Mostly_Up_Looking(in.OrientationBalance);
        const double sign = upward ? 1 : -1;
        const int32_t first = upward ? in.FirstBinShown - 1 : in.NumCells - in.FirstBinShown;
        const int32_t last = upward ? in.LastBinShown - 1 : in.NumCells - in.LastBinShown;
        auto range = [&](int32_t i) { return in.CellLength * i + in.Bin1Distance; };
        const double ref = sign * range(first); // the bottom row's value
        const double lo = sign * (range(first) + in.CellLength / 2);
        const double hi = sign * (range(last) - in.CellLength / 2);
        bool fractional = false;
        const double step = Get_Range_Step(std::fabs(hi - lo) / 2, fractional);
        const double pixelsPerMetre = g.RowHeight / in.CellLength;
        const double y0 = surface.Height() - st.BottomMargin - g.RowHeight / 2;
        const double textWidthW = surface.TextWidth("W");
        const double tickLeft = st.LeftMargin - textWidthW / 2;
        const double tickRight = in.ShowGrid ? st.LeftMargin + g.Ensembles * g.ColumnWidth : st.LeftMargin;
        // A small tolerance keeps a value that sits on a multiple of the step from being pushed past it.
        const double tolerance = step * 1e-9;
        const double firstValue = std::ceil(lo / step - 1e-9) * step;
        double limit = kFarDown;
        for (int32_t k = 0; k < 2 * g.Bins; ++k) {
            const double v = firstValue + k * step;
            if (v > hi + tolerance) break;
            const double y = (ref - v) * pixelsPerMetre + y0;
            const std::string label = FormatNumber(v, fractional ? "0.0" : "0");
            const double labelHeight = surface.TextHeight(label);
            const double labelTop = y - labelHeight / 2;
            if (!(labelTop < limit)) continue;
            ticks.RangeTickY[ticks.RangeTickCount] = static_cast<float>(y);
            if (ticks.RangeTickCount < 256) ++ticks.RangeTickCount;
            surface.Line(tickLeft, y, tickRight, y, kBlack);
            PrintChart3d(surface, st.LeftMargin - surface.TextWidth(label) - 0.6 * textWidthW, labelTop,
                         label);
            limit = labelTop - labelHeight;
        }
    }
    PrintVerticalTitle(surface, st.RangeAxisTitle, st.RangeTitleX, st.RangeTitleY, true);
}

void Draw_Bin_Axis(Surface& surface, const ChartState& st, const ChartAxesInput& in) {
    const PlotGeometry g = GeometryOf(surface, st, in);
    const bool upward = Mostly_Up_Looking(in.OrientationBalance);
    const int32_t bottomBin = upward ? in.FirstBinShown : in.NumCells - in.FirstBinShown + 1;
    const int32_t increment = upward ? 1 : -1;
    const double plotRight = surface.Width() - st.RightMargin;
    const double textWidthW = surface.TextWidth("W");
    double limit = kFarDown;
    for (int32_t k = 0; k < g.Bins; ++k) {
        const double y = g.Bottom - g.RowHeight / 2 - k * g.RowHeight;
        const std::string label = Whole(bottomBin + static_cast<double>(increment) * k);
        const double labelHeight = surface.TextHeight(label);
        const double labelTop = y - labelHeight / 2;
        if (!(labelTop < limit)) continue;
        surface.Line(plotRight, y, plotRight + textWidthW / 4, y, kBlack);
        PrintChart3d(surface, plotRight + textWidthW / 2, labelTop, label);
        limit = labelTop - labelHeight;
    }
    PrintVerticalTitle(surface, st.BinAxisTitle, st.BinTitleX, st.BinTitleY, false);
}

double Column_Of_Ensemble(const ChartAxesInput& in, double ensemble) {
    const std::vector<int32_t>& numbers = in.ColumnNumbers;
    if (numbers.empty()) {
        const double perColumn = in.EnsemblesPerColumn > 0 ? in.EnsemblesPerColumn : 1;
        return (ensemble - in.FirstEnsNumber) / perColumn;
    }
    size_t at = numbers.size();
    for (size_t k = 0; k < numbers.size(); ++k)
        if (numbers[k] >= ensemble && (at == numbers.size() || numbers[k] < numbers[at])) at = k;
    if (at == numbers.size()) return static_cast<double>(numbers.size() - 1);
    const double column = static_cast<double>(at);
    if (at == 0 || numbers[at - 1] >= ensemble) return column;
    return column - (numbers[at] - ensemble) / (numbers[at] - static_cast<double>(numbers[at - 1]));
}

int32_t Ensemble_In_Column(const ChartAxesInput& in, int32_t column) {
    const std::vector<int32_t>& numbers = in.ColumnNumbers;
    if (numbers.empty())
        return static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{in.FirstEnsNumber} + column, INT32_MIN, INT32_MAX));
    return numbers[static_cast<size_t>(std::clamp(column, 0, static_cast<int32_t>(numbers.size()) - 1))];
}

int32_t Column_Of_Number(const std::vector<int32_t>& numbers, int32_t first, int32_t number) {
    if (numbers.empty())
        return static_cast<int32_t>(std::clamp<int64_t>(int64_t{number} - first, INT32_MIN, INT32_MAX));
    const auto at = std::find(numbers.begin(), numbers.end(), number);
    return at == numbers.end() ? -1 : static_cast<int32_t>(at - numbers.begin());
}

void Draw_Ensemble_Axis(Surface& surface, const ChartState& st, const ChartAxesInput& in) {
    const PlotGeometry g = GeometryOf(surface, st, in);
    const double lastLabelled = static_cast<double>(in.LastEnsNumber) - 1;
    const double firstLabelled = static_cast<double>(in.FirstEnsNumber) + 1;
    const double halfRange = (lastLabelled - firstLabelled) / 2;
    if (halfRange >= 0) {
        const double step = Get_Ensemble_Step(halfRange);
        const double tickLength = surface.TextHeight("W") / 4.0;
        const double widest = surface.TextWidth(Whole(lastLabelled));
        double limit = kFarLeft;
        double e = std::ceil(firstLabelled / step) * step;
        for (int64_t count = 0; count < 2 * int64_t{g.Ensembles} && e <= lastLabelled; ++count, e += step) {
            const double x = (Column_Of_Ensemble(in, e) + 0.5) * g.ColumnWidth + st.LeftMargin;
            if (x + 1 <= limit) continue; // no label can start right of the limit from here
            const std::string label = Whole(e);
            const double labelLeft = x - surface.TextWidth(label) / 2.0 + 1;
            if (!(labelLeft > limit)) continue;
            surface.Line(x, g.Bottom, x, g.Bottom + tickLength, kBlack);
            PrintChart3d(surface, labelLeft, g.Bottom + tickLength, label);
            limit = x + widest;
        }
    }
    PrintChart3d(surface, st.EnsembleTitleX, st.EnsembleTitleY, st.EnsembleAxisTitle);
}

void Draw_Time_Axis(Surface& surface, const ChartState& st, const ChartAxesInput& in, ChartTicks& ticks) {
    ticks.TimeTickCount = 0;
    const PlotGeometry g = GeometryOf(surface, st, in);
    double unitSeconds = in.SetDuration;
    std::string unitText;
    int32_t unitCount = 0, step = 1;
    Get_Time_Step(unitSeconds, unitText, unitCount, step);
    const double pixelsPerSecond = in.SetDuration != 0 ? (g.Width - g.ColumnWidth) / in.SetDuration : 0;
    const double textHeightW = surface.TextHeight("W");
    const double labelTop = st.TopMargin - textHeightW - 1;
    const double tickTop = st.TopMargin - textHeightW / 4;
    const double tickBottom = in.ShowGrid ? g.Bottom : st.TopMargin;
    // The widest label is the whole count with its unit: "60 sec" needs more room than "60".
    const double widest = surface.TextWidth(Whole(unitCount) + unitText);
    double limit = kFarLeft;
    for (int64_t t = 0; t <= unitCount; t += step) {
        const double x = t * unitSeconds * pixelsPerSecond + st.LeftMargin + g.ColumnWidth / 2;
        if (x + 1 <= limit) continue; // no label can start right of the limit from here
        const std::string label = Whole(static_cast<double>(t)) + unitText;
        const double labelLeft = x - surface.TextWidth(label) / 2.0 + 1;
        if (!(labelLeft > limit)) continue;
        PrintChart3d(surface, labelLeft, labelTop, label);
        ticks.TimeTickX[ticks.TimeTickCount] = RoundToInt32(x);
        if (ticks.TimeTickCount < 100) ++ticks.TimeTickCount;
        surface.Line(x, tickTop, x, tickBottom, kBlack);
        limit = x + widest;
    }
}

bool Chart_Plot_Area_Not_Empty(const Surface& surface, const ChartState& st) {
    return surface.Height() > st.TopMargin + st.BottomMargin &&
           surface.Width() > st.LeftMargin + st.RightMargin;
}

ChartSurfaceSize Layout_Chart_Surface(Surface& surface, double shareWidth, double shareHeight, int binsShown,
                                      ChartState& st) {
    const bool bold = surface.FontBold();
    ChartSurfaceSize out;
    int size = 10;
    surface.SetFont("Arial", size, bold);
    while (size > 1 && 10.0 * surface.TextHeight("W") > shareHeight) surface.SetFont("Arial", --size, bold);
    while (size > 1 && 40.0 * surface.TextWidth("W") > shareWidth) surface.SetFont("Arial", --size, bold);
    out.FontSize = size;

    const float h = static_cast<float>(surface.TextHeight("W"));
    const float w = static_cast<float>(surface.TextWidth("W"));
    st.TopMargin = 3 * h;
    st.BottomMargin = std::max(4 * h, 40.0f);
    st.LeftMargin = std::max(5 * w, 50.0f);
    st.RightMargin = std::max(5 * w, 60.0f);

    out.PlotWidth = shareWidth - st.LeftMargin - st.RightMargin;
    out.PlotHeight = shareHeight - st.TopMargin - st.BottomMargin;
    if (binsShown > 0 && out.PlotHeight / binsShown > 15) out.PlotHeight = binsShown * 15.0;
    out.SurfaceWidth = std::max(1, RoundToInt32(out.PlotWidth + st.LeftMargin + st.RightMargin));
    out.SurfaceHeight = std::max(1, RoundToInt32(out.PlotHeight + st.TopMargin + st.BottomMargin));
    return out;
}

void Place_Chart_Texts(const Surface& surface, ChartState& st) {
    const float h = static_cast<float>(surface.TextHeight("W"));
    const float plotWidth = surface.Width() - st.LeftMargin - st.RightMargin;
    const float plotHeight = surface.Height() - st.TopMargin - st.BottomMargin;
    const float plotBottom = surface.Height() - st.BottomMargin;
    const float plotMiddle = st.TopMargin + plotHeight / 2;
    st.TitleX = 4;
    st.TitleY = 0;
    st.ScaleLabelX = st.LeftMargin + 0.75f * plotWidth - surface.TextWidth(st.ScaleLabel) / 2.0f;
    st.ScaleLabelY = 0;
    st.EnsembleTitleX = st.LeftMargin + plotWidth / 2 - surface.TextWidth(st.EnsembleAxisTitle) / 2.0f;
    st.EnsembleTitleY = plotBottom + h / 4 + h;
    st.RangeTitleX = 1;
    st.RangeTitleY = plotMiddle + surface.TextWidth(st.RangeAxisTitle) / 2.0f;
    st.BinTitleX = surface.Width() - h - 1;
    st.BinTitleY = plotMiddle + surface.TextWidth(st.BinAxisTitle) / 2.0f;
}

} // namespace mvx
