// The trend window's statistics text and its series, trend and residual plots.
#include "charts/TrendChart.h"

#include "charts/TrackVectorChart.h"
#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

constexpr ColorRef kGrey = Rgb(128, 128, 128);

double Scale(const TrendSeries& t) {
    return t.Direction ? 0.1 : 1.0;
}

double XOf(const TrendChart& c, size_t i, size_t n) {
    const double step = (c.PlotWidth - 6) / std::max<size_t>(n, 1);
    return c.PlotLeft + 3 + (i + 0.5) * step;
}

// A line through the values that exist, broken where one is missing.
template <typename Y>
void Polyline(Surface& s, const TrendChart& c, const std::vector<double>& v, ColorRef color, Y yOf) {
    bool joined = false;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == kMissing) {
            joined = false;
            continue;
        }
        const double x = XOf(c, i, v.size()), y = yOf(v[i]);
        if (joined)
            s.LineTo(x, y, color);
        else
            s.FillBox(x, y, x, y, color);
        s.SetCurrentPosition(x, y);
        joined = true;
    }
}

void Plots(TrendChart& c, Surface& s, ColorRef lineColor) {
    const TrendSeries& t = c.Series;
    const double h = c.PlotHeight;
    for (double top : {c.SeriesTop, c.ResidualTop})
        s.Box(c.PlotLeft, top, c.PlotLeft + c.PlotWidth, top + h, kBlack);
    const double lo = t.Minimum, range = double(t.Maximum) - t.Minimum + 1;
    auto seriesY = [&](double v) { return c.SeriesTop + h - 2 - (v - lo) * (h - 4) / range; };
    Polyline(s, c, t.Raw, lineColor, seriesY);
    Polyline(s, c, t.Trend, kBlack, seriesY);
    const double centre = c.ResidualTop + h / 2;
    const double extreme = std::max(std::fabs(t.Largest), std::fabs(t.Smallest));
    const double scale = extreme > 0 ? (h - 4) / 2 / extreme : 0;
    s.SetDrawStyle(DrawStyle::Dot);
    s.Line(c.PlotLeft, centre, c.PlotLeft + c.PlotWidth, centre, kGrey);
    s.SetDrawStyle(DrawStyle::Solid);
    Polyline(s, c, t.Residual, lineColor, [&](double r) { return centre - r * scale; });
    s.SetForeColor(kBlack);
    const double th = c.LineHeight;
    s.SetCurrentPosition(c.PlotLeft, c.SeriesTop - th);
    s.Print("Series and Trend   " + FormatNumber(t.Maximum * Scale(t), "0") + " .. " +
            FormatNumber(t.Minimum * Scale(t), "0"));
    s.SetCurrentPosition(c.PlotLeft, c.ResidualTop - th);
    s.Print(Residual_Text(t));
    if (t.Count == 0) {
        const std::string message = "No valid sample in this candle";
        s.SetCurrentPosition(c.PlotLeft + (c.PlotWidth - s.TextWidth(message)) / 2,
                             c.SeriesTop + (h - th) / 2);
        s.Print(message);
    }
}

} // namespace

std::string Residual_Text(const TrendSeries& t) {
    const double k = Scale(t);
    return "Residuals  Count " + FormatNumber(t.Count, "0") + "  Mean " + FormatNumber(t.Mean * k, "0.00") +
           " \xB1 " + FormatNumber(t.StdDev * k, "0.00") + "  Max " + FormatNumber(t.Largest * k, "0.00") +
           "  Min " + FormatNumber(t.Smallest * k, "0.00");
}

void Show_Stat_Data(TrendChart& c, CoreState& core, Surface& s) {
    s.SetBackColor(kWhite);
    s.Clear();
    c.Drawn = core.Set.FileValid;
    c.HasMarker = false;
    if (!c.Drawn) return;
    c.Series = Compute_Trend(core.Series, core.Data);
    c.Text = Show_Stat_Text(core.Series, core.Set.FirstEnsNumber, core.Setup.NumCells,
                            core.Set.OrientationBalance);
    s.SetFont("Courier New", s.FontSize(), s.FontBold());
    const double th = s.TextHeight("0");
    c.LineHeight = th;
    const double left = s.TextWidth("00");
    double y = 2;
    s.SetForeColor(kBlack);
    for (size_t k = 0; k < c.Text.Header.size(); ++k, y += th) {
        s.SetCurrentPosition(left, y);
        s.Print(c.Text.Header[k]);
        if (k == c.Text.CandleLine) {
            c.LabelX = s.CurrentX();
            c.LabelY = y;
            c.LabelWidth = s.TextWidth(c.Text.CandleLabel);
        }
    }
    c.TableTop = y;
    ColorRef pickedColor = kSeriesLineColors[0];
    for (size_t k = 0; k < c.Text.Table.size(); ++k, y += th) {
        const StatTableLine& line = c.Text.Table[k];
        const ColorRef color =
            kSeriesLineColors[static_cast<size_t>(line.ColorIndex) % kSeriesLineColors.size()];
        s.SetForeColor(color);
        s.SetCurrentPosition(left, y);
        s.Print(line.Text);
        if (static_cast<int32_t>(k) == c.Text.PickedLine) {
            pickedColor = color;
            c.MarkerX = 2;
            c.MarkerY = y + th / 2;
            c.HasMarker = true;
        }
    }
    Draw_Trend_Blink(c, s, kBlack);
    c.PlotLeft = left;
    c.PlotWidth = s.Width() - 2 * left;
    const double rest = s.Height() - y - 3 * th;
    c.PlotHeight = std::floor(rest / 2 - th);
    c.SeriesTop = y + 2 * th;
    c.ResidualTop = c.SeriesTop + c.PlotHeight + 1.5 * th;
    if (c.Series.Valid && c.PlotHeight > 8 && c.PlotWidth > 12) Plots(c, s, pickedColor);
}

void Draw_Trend_Blink(const TrendChart& c, Surface& s, ColorRef color) {
    if (!c.Drawn) return;
    const double th = c.LineHeight;
    s.FillBox(c.LabelX, c.LabelY, c.LabelX + c.LabelWidth, c.LabelY + th - 1, s.BackColor());
    s.SetForeColor(color);
    s.SetCurrentPosition(c.LabelX, c.LabelY);
    s.Print(c.Text.CandleLabel);
    if (c.HasMarker) s.FillBox(c.MarkerX, c.MarkerY - 2, c.MarkerX + 4, c.MarkerY + 2, color);
}

int32_t Trend_Table_Line(const TrendChart& c, double y) {
    if (c.LineHeight <= 0 || y < c.TableTop) return -1;
    return static_cast<int32_t>((y - c.TableTop) / c.LineHeight);
}

bool On_Candle_Label(const TrendChart& c, double x, double y) {
    return c.Drawn && x >= c.LabelX && x <= c.LabelX + std::max(c.LabelWidth, 8.0) && y >= c.LabelY &&
           y < c.LabelY + c.LineHeight;
}

} // namespace mvx
