// The track vector window's text column and its long-track and cross-track charts.
#include "charts/TrackVectorChart.h"

#include "analysis/TrackVectorText.h"
#include "common/EnsembleTimeText.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

constexpr int kLongRow = 6, kCrossRow = 7;
constexpr int kVelocityClass = 2; // the series chart's velocity scale
constexpr ColorRef kGrey = Rgb(128, 128, 128);

int32_t BinNumber(const CoreState& core, int32_t bin) {
    return core.Set.OrientationBalance > 0 ? core.Setup.NumCells - bin : bin + 1;
}

std::string DepthLabel(const CoreState& core, const TrackVectorState& state, int32_t bin) {
    double metres = bin * core.Setup.CellLength + core.Setup.Bin1Distance;
    if (core.Set.OrientationBalance > 0) metres = -metres;
    const size_t unit = Unit_Index(state.DepthUnit);
    return FormatNumber(metres * kDepthUnitFactors[unit], "0.0") + " " + kDepthUnitNames[unit];
}

int32_t Loaded(const CoreState& core) {
    return std::clamp(core.Set.CurrentEnsIndex, 0, std::max(core.Data.VelData.Slots(), 0));
}

// Elapsed-time labels above the plot at five evenly spread ensembles.
void TimeAxis(Surface& s, const TrackChartGeometry& g, const CoreState& core, double y) {
    if (g.Count < 1) return;
    const int ticks = g.Count > 1 ? 5 : 1;
    for (int k = 0; k < ticks; ++k) {
        const int i = ticks > 1 ? RoundToInt32(k * (g.Count - 1) / double(ticks - 1)) : 0;
        const double seconds = g.Count > 1 ? core.Set.SetDuration * i / (g.Count - 1) : 0;
        const std::string label = Duration_Clock_Text(static_cast<int64_t>(std::llround(seconds * 100)));
        double x = g.Left + (i + 0.5) * g.Step;
        if (g.Mirrored) x = g.Left + g.PlotWidth - (i + 0.5) * g.Step;
        s.Line(x, g.Top - 3, x, g.Top, kBlack);
        const double w = s.TextWidth(label);
        s.SetForeColor(kBlack);
        s.SetCurrentPosition(std::clamp(x - w / 2, 0.0, std::max(s.Width() - w, 0.0)), y);
        s.Print(label);
    }
}

// One chart: title, frame, time axis, value labels per band and the lines of the row.
bool DrawChart(Surface& s, TrackChartGeometry& g, const std::string& title, int row, const CoreState& core,
               const TrackVectorState& state) {
    s.Clear();
    s.SetFont("Arial", state.FontSize, state.FontBold);
    const double th = s.TextHeight("8");
    const std::string widest = "-0000.00";
    g.Left = s.TextWidth(widest) + 8;
    g.Top = 2.4 * th;
    g.PlotWidth = s.Width() - g.Left - 6;
    g.PlotHeight = s.Height() - g.Top - 4;
    s.SetForeColor(kBlack);
    s.SetCurrentPosition(4, 0);
    s.Print(title);
    if (g.PlotWidth < 4 || g.PlotHeight < 4 || g.Count < 1) return false;
    g.Step = (g.PlotWidth - 2) / g.Count;
    s.Box(g.Left, g.Top, g.Left + g.PlotWidth, g.Top + g.PlotHeight, kBlack);
    TimeAxis(s, g, core, 1.2 * th);

    const Options& o = core.Opts;
    const double lo = o.SeriesScaleMin[kVelocityClass];
    const double hi = std::max(o.SeriesScaleMax[kVelocityClass], lo + 1);
    const int bands = g.Overlaid ? 1 : static_cast<int>(g.Bins.size());
    const double bandHeight = g.PlotHeight / std::max(bands, 1);
    const double scale = std::max(bandHeight - 2, 0.0) / (hi - lo);
    const double factor = kSpeedUnitFactors[Unit_Index(state.SpeedUnit)];
    const SlotArray<int16_t>& vel = core.Data.VelData;
    bool any = false;
    for (size_t k = 0; k < g.Bins.size(); ++k) {
        const int band = g.Overlaid ? 0 : static_cast<int>(k);
        const double base = g.Top + g.PlotHeight - band * bandHeight;
        const ColorRef color = kSeriesLineColors[k % kSeriesLineColors.size()];
        auto yOf = [&](double v) { return base - 1 - (std::clamp(v, lo, hi) - lo) * scale; };
        if (k == 0 || !g.Overlaid) {
            if (band > 0) s.Line(g.Left, base, g.Left + g.PlotWidth, base, kGrey);
            if (lo < 0 && hi > 0) {
                s.SetDrawStyle(DrawStyle::Dot);
                s.Line(g.Left, yOf(0), g.Left + g.PlotWidth, yOf(0), kGrey);
                s.SetDrawStyle(DrawStyle::Solid);
            }
            if (bandHeight >= 2 * th) {
                s.SetForeColor(kBlack);
                for (double v : {lo, hi}) {
                    const std::string label = FormatNumber(v * factor, "0.00");
                    s.SetCurrentPosition(g.Left - 4 - s.TextWidth(label),
                                         std::clamp(yOf(v) - th / 2, 0.0, s.Height() - th));
                    s.Print(label);
                }
            }
        }
        s.SetForeColor(color);
        s.SetCurrentPosition(g.Left + 4, g.Overlaid ? g.Top + 2 + k * th : base - bandHeight + 2);
        s.Print(DepthLabel(core, state, g.Bins[k]));
        bool joined = false;
        for (int32_t i = 0; i < g.Count; ++i) {
            const int16_t v = vel(row, g.Bins[k], i);
            if (v == kBadValue) {
                joined = false;
                continue;
            }
            any = true;
            const double x =
                g.Mirrored ? g.Left + g.PlotWidth - (i + 0.5) * g.Step : g.Left + (i + 0.5) * g.Step;
            const double y = yOf(v);
            if (joined && o.SeriesLines)
                s.LineTo(x, y, color);
            else
                s.FillBox(x, y, x + (o.SeriesLines ? 0 : 1), y + (o.SeriesLines ? 0 : 1), color);
            s.SetCurrentPosition(x, y);
            joined = true;
        }
    }
    if (!any) {
        const std::string message = "No track velocities to draw";
        s.SetForeColor(kBlack);
        s.SetCurrentPosition(g.Left + (g.PlotWidth - s.TextWidth(message)) / 2,
                             g.Top + (g.PlotHeight - th) / 2);
        s.Print(message);
    }
    return any;
}

} // namespace

std::vector<int32_t> Track_Series_Bins(const CoreState& core) {
    const int32_t cells = std::clamp(core.Setup.NumCells, 0, kMaxBins);
    std::vector<int32_t> bins;
    for (int32_t number = 1; number < static_cast<int32_t>(core.Opts.SeriesBinSelect.size()); ++number)
        if (core.Opts.SeriesBinSelect[static_cast<size_t>(number)] && number <= cells)
            bins.push_back(number - 1);
    if (!bins.empty() || cells <= 0) return bins;
    // None chosen: the shown bin with the most good east values (the first shown when none has any).
    const int32_t first = std::clamp(core.Set.FirstBinShown, 1, cells) - 1;
    const int32_t last = std::clamp(core.Set.LastBinShown, first + 1, cells) - 1;
    const SlotArray<int16_t>& vel = core.Data.VelData;
    const int32_t count = vel.Empty() ? 0 : std::min(Loaded(core), vel.Slots());
    int32_t best = first, bestCount = 0;
    for (int32_t b = first; b <= last && b < vel.Bins(); ++b) {
        int32_t good = 0;
        for (int32_t i = 0; i < count; ++i) good += vel(0, b, i) != kBadValue;
        if (good > bestCount) {
            best = b;
            bestCount = good;
        }
    }
    bins.push_back(best);
    return bins;
}

int32_t Track_Text_Width(const Surface& text) {
    return text.TextWidth("Navigation    00000.000    000.00") + 8;
}

void Show_Track_Vector_Data(TrackVectorChart& chart, TrackVectorState& state, CoreState& core,
                            TrackSurfaces surfaces) {
    for (Surface* s : {&surfaces.Text, &surfaces.Upper, &surfaces.Lower}) {
        s->SetBackColor(kWhite);
        s->Clear();
    }
    const int32_t count = Loaded(core);
    chart.Drawn = core.Set.FileValid && count > 0 && core.Data.Allocated();
    chart.HasData = false;
    if (!chart.Drawn) return;
    // A load since the last rotation asks for one too.
    if (core.Set.RotateNeeded) state.RotateNeeded = true;
    core.Set.RotateNeeded = false;
    Rotate_If_Needed(state, core.Data, count, core.Setup.NumCells);

    Surface& text = surfaces.Text;
    text.SetFont("Courier New", state.FontSize, state.FontBold);
    text.SetForeColor(kBlack);
    const double th = text.TextHeight("8");
    double y = th;
    for (const std::string& line : Track_Text_Column(core.Data, count, core.Set.LastEnsNumber,
                                                     core.Opts.VelocityReference, state.SpeedUnit)) {
        text.SetCurrentPosition(4, y);
        text.Print(line);
        y += th;
    }

    const auto [upperTitle, lowerTitle] = Track_Chart_Titles(state.Projection, state.ManualAngle);
    for (TrackChartGeometry* g : {&chart.Upper, &chart.Lower}) {
        g->Count = count;
        g->Mirrored = !state.LeftToRight;
        g->Bins = Track_Series_Bins(core);
        g->Overlaid = core.Opts.SeriesCombo;
    }
    chart.HasData = DrawChart(surfaces.Upper, chart.Upper, upperTitle, kLongRow, core, state);
    DrawChart(surfaces.Lower, chart.Lower, lowerTitle, kCrossRow, core, state);
}

std::string Do_Tool_Tip(const TrackVectorChart& chart, bool upper, const TrackVectorState& state,
                        const CoreState& core, double x, double y) {
    const TrackChartGeometry& g = upper ? chart.Upper : chart.Lower;
    if (!chart.Drawn || g.Step <= 0 || g.Bins.empty()) return "";
    if (x < g.Left || x > g.Left + g.PlotWidth || y < g.Top || y > g.Top + g.PlotHeight) return "";
    const double along = g.Mirrored ? g.Left + g.PlotWidth - x : x - g.Left;
    const int32_t index = std::clamp(RoundToInt32((along - g.Step / 2) / g.Step), 0, g.Count - 1);
    size_t band = 0;
    if (!g.Overlaid) {
        const double bandHeight = g.PlotHeight / g.Bins.size();
        band = std::min(static_cast<size_t>(std::max((g.Top + g.PlotHeight - y) / bandHeight, 0.0)),
                        g.Bins.size() - 1);
    }
    const int32_t bin = g.Bins[band];
    return Track_Tool_Tip(core.Data, g.Count, index, bin, BinNumber(core, bin), g.Overlaid, state.SpeedUnit);
}

} // namespace mvx
