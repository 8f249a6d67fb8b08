#include "charts/SeriesChart.h"

#include "charts/SubSetCharts.h"
#include "charts/TracePen.h"
#include "common/NumberFormat.h"
#include "common/Orientation.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

constexpr std::array<ColorRef, 8> kSeriesColors{Rgb(255, 0, 0),   Rgb(0, 255, 1),    Rgb(0, 0, 255),
                                                Rgb(0, 255, 255), Rgb(255, 0, 255),  Rgb(255, 127, 15),
                                                Rgb(0, 127, 255), Rgb(255, 192, 192)};
constexpr ColorRef kStripFrame = Rgb(160, 160, 160);
constexpr ColorRef kGridColor = Rgb(192, 192, 192);
constexpr std::array<const char*, kAncTypes> kAncNames{"Pitch", "Roll",   "Hdg", "Temp",
                                                       "Depth", "Orient", "BIT", "Batt"};
constexpr std::array<const char*, kAncTypes> kAncUnits{"deg", "deg", "deg", "deg", "m", "cnt", "cnt", "cnt"};
constexpr std::array<double, kAncTypes> kAncFactors{0.01, 0.01, 0.01, 0.01, 0.001, 1, 1, 1};

// The codes that carry candles, in the order of the candle groups.
std::vector<int32_t> CandleCodes(const SeriesSelection& s) {
    std::vector<int32_t> codes;
    for (const int32_t code : s.Codes)
        if (!Series_Code_Per_Bin(code) || !s.Bins.empty()) codes.push_back(code);
    return codes;
}

int IndexOf(const std::vector<int32_t>& codes, int32_t code) {
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

// The type part of a strip label.
std::string TypeName(const SeriesView& v, int32_t code) {
    static const char* const beams[] = {"Bm1", "Bm2", "Bm3", "Bm4", "Avg"};
    static const char* const suffix[] = {"", "-B", "-N", "-G", "-V", "-W"};
    const char* const components[] = {v.FlowMeterFirmware ? "P#1" : "E(u)",
                                      v.FlowMeterFirmware ? "P#2" : "N(v)",
                                      "V(w)",
                                      "Err",
                                      "Mag",
                                      "Dir"};
    const std::string ref =
        v.VelocityReference >= 1 && v.VelocityReference <= 5 ? suffix[v.VelocityReference] : "";
    if (code >= 1 && code <= 5) return std::string("E ") + beams[code - 1];
    if (code >= 10 && code <= 50) return std::string("C ") + beams[code / 10 - 1];
    if (code >= 100 && code <= 600) return components[code / 100 - 1] + ref;
    if (code >= 1000 && code <= 4000) return std::string("% ") + beams[code / 1000 - 1];
    if (code >= 10000 && code <= 60000) return components[code / 10000 - 1];
    if (code >= 100000 && code <= 600000) return components[code / 100000 - 1];
    if (code >= 1000000) return components[code / 1000000 - 1];
    return "";
}

struct StripScale {
    double Min = 0, Max = 0, Factor = 1;
    std::string Unit;
};

StripScale ScaleOf(const SeriesView& v, const SeriesStrip& strip) {
    StripScale s;
    if (strip.AncType >= 0) {
        const size_t t = static_cast<size_t>(strip.AncType);
        s.Min = v.AncMin[t];
        s.Max = v.AncMax[t];
        s.Factor = kAncFactors[t];
        s.Unit = kAncUnits[t];
    } else {
        Series_Scale(v, strip.Code, s.Min, s.Max);
        s.Factor = Series_Factor(strip.Code);
        s.Unit = Series_Code_Unit(strip.Code);
    }
    return s;
}

// One line of a strip: the values of a code at a bin (or of an ancillary type) across the columns.
void DrawLine(Surface& s, const SeriesView& v, const SeriesLayout& l, const SeriesStrip& strip, int bin,
              const StripScale& sc, ColorRef color, bool lines, bool symbols) {
    TracePen pen(s, color, lines, symbols, 1, 3);
    // Directions and the heading wrap through 0/360 degrees.
    const bool direction = strip.AncType < 0 ? Series_Code_Direction(strip.Code) : strip.AncType == 2;
    const double top = Series_Y(strip, sc.Max, sc.Min, sc.Max),
                 bottom = Series_Y(strip, sc.Min, sc.Min, sc.Max);
    double previous = kNoData, previousX = 0;
    const SeriesColumn column =
        strip.AncType >= 0 ? SeriesColumn() : Series_Column(*v.Set, strip.Code, bin, v.NumCells);
    for (int32_t e = 0; e < l.Columns; ++e) {
        double value = kNoData;
        if (strip.AncType >= 0) {
            value = Ancillary_Value(*v.Set, strip.AncType, e);
        } else {
            const int32_t raw = column(e);
            if (raw != kBadValue) value = raw * sc.Factor;
        }
        if (value == kNoData) {
            pen.Break();
            previous = kNoData;
            continue;
        }
        const double x = l.PlotLeft + (e + 0.5) * l.ColumnWidth;
        if (direction && previous != kNoData && std::abs(value - previous) >= 180) {
            // Through 360 (rising past the top edge) or through 0 (falling past the bottom edge).
            const bool up = value < previous;
            const double unwrapped = up ? value + 360 : value - 360;
            const double edge = up ? 360 : 0;
            const double f = (edge - previous) / (unwrapped - previous);
            const double xm = previousX + f * (x - previousX);
            pen.LineOut(xm, up ? top : bottom);
            pen.MoveTo(xm, up ? bottom : top);
        }
        pen.Point(x, Series_Y(strip, value, sc.Min, sc.Max));
        previous = value;
        previousX = x;
    }
}

void DrawCandles(Surface& s, const SeriesView& v, const SeriesLayout& l, const SeriesStrip& strip,
                 const StripScale& sc, const Candles& candles) {
    if (strip.AncType >= 0 || candles.CandleCount <= 0) return;
    const std::vector<int32_t> codes = CandleCodes(v.Selection);
    const int g = IndexOf(codes, strip.Code);
    if (g < 0 || g >= candles.StatGroupCount) return;
    const int rows = candles.StatRowCount;
    const bool allBins = strip.Bin < 0 && Series_Code_Per_Bin(strip.Code);
    const int shown = allBins ? rows : 1;
    const double zeroHalf = s.TextWidth("0") / 2.0;
    for (int c = 0; c < candles.CandleCount; ++c) {
        for (int r = 0; r < rows; ++r) {
            if (!allBins && Series_Code_Per_Bin(strip.Code) && candles.Stat(CandleBin, c, r, g) != strip.Bin)
                continue;
            if (!Series_Code_Per_Bin(strip.Code) && r > 0) break;
            const int32_t n = candles.Stat(CandleCountField, c, r, g);
            if (n <= 0) continue;
            const int32_t first = candles.Stat(CandleFirst, c, r, g),
                          last = candles.Stat(CandleLast, c, r, g);
            const double left = l.PlotLeft + first * l.ColumnWidth;
            const double width = (last - first + 1) * l.ColumnWidth;
            const int slot = allBins ? r : 0;
            const double x = left + (slot + 0.5) * width / shown;
            const double half = std::max(0.5, std::min(zeroHalf, width / 4 / shown));
            auto y = [&](int field) {
                return Series_Y(strip, candles.Stat(field, c, r, g) * sc.Factor, sc.Min, sc.Max);
            };
            const double mean = candles.Stat(CandleMean, c, r, g) * sc.Factor;
            const double sd = candles.Stat(CandleStdDev, c, r, g) * sc.Factor;
            const ColorRef color = Series_Color(g * rows + r);
            s.SetDrawWidth(1);
            s.Line(x, y(CandleMax), x, y(CandleMin), kBlack);
            const double yHigh = Series_Y(strip, mean + sd, sc.Min, sc.Max);
            const double yLow = Series_Y(strip, mean - sd, sc.Min, sc.Max);
            s.FillBox(x - half, yHigh, x + half, yLow, s.BackColor());
            s.Box(x - half, yHigh, x + half, yLow, kBlack);
            const double ym = Series_Y(strip, mean, sc.Min, sc.Max);
            s.FillBox(x - half, ym - 1, x + half, ym + 1, color);
        }
    }
}

// The selected candle's statistics of a strip, printed at the statistics position.
void DrawStatistics(Surface& s, const SeriesView& v, const SeriesStrip& strip, const StripScale& sc,
                    const Candles& candles) {
    if (v.StatisticsX < 0 || strip.AncType >= 0 || candles.CandleCount <= 0) return;
    const int g = IndexOf(CandleCodes(v.Selection), strip.Code);
    if (g < 0 || g >= candles.StatGroupCount) return;
    const int c = std::clamp(candles.SelectedCandle, 0, candles.CandleCount - 1);
    double y = strip.Top + 2;
    for (int r = 0; r < candles.StatRowCount; ++r) {
        if (Series_Code_Per_Bin(strip.Code) && strip.Bin >= 0 &&
            candles.Stat(CandleBin, c, r, g) != strip.Bin)
            continue;
        if (!Series_Code_Per_Bin(strip.Code) && r > 0) break;
        if (y + s.TextHeight("0") > strip.Top + strip.Height) break;
        const std::string text = "Candle " + FormatNumber(c + 1, "0") + ": " +
                                 FormatNumber(candles.Stat(CandleMean, c, r, g) * sc.Factor, "0") + " \xB1" +
                                 FormatNumber(candles.Stat(CandleStdDev, c, r, g) * sc.Factor, "0") + " " +
                                 sc.Unit + " (" + FormatNumber(candles.Stat(CandleCountField, c, r, g), "0") +
                                 ")";
        // On a cleared box, so that the lines beneath do not hide it.
        s.FillBox(v.StatisticsX - 2, y, v.StatisticsX + s.TextWidth(text) + 1, y + s.TextHeight(text) - 1,
                  s.BackColor());
        s.SetForeColor(Series_Color(g * candles.StatRowCount + r));
        PrintChart3d(s, v.StatisticsX, y, text);
        y += s.TextHeight("0");
    }
}

// The strip's label, the bins of a combo strip in their colours, and its scale, in the left margin.
void DrawStripTexts(Surface& s, const SeriesView& v, const SeriesLayout& l, const SeriesStrip& strip,
                    const StripScale& sc) {
    const int th = s.TextHeight("0");
    const double bottom = strip.Top + strip.Height;
    double y = strip.Top + 1;
    auto line = [&](const std::string& text, ColorRef color, bool rightAligned) {
        if (y + th > bottom && y > strip.Top + 1) return;
        s.SetForeColor(color);
        const double x = rightAligned ? l.PlotLeft - 3 - s.TextWidth(text) : 2.0;
        PrintChart3d(s, std::max(2.0, x), y, text);
        y += th;
    };
    line(Series_Strip_Label(v, strip), kBlack, false);
    const std::string maxText = FormatNumber(sc.Max, "0");
    line(s.TextWidth(maxText + " " + sc.Unit) <= l.PlotLeft - 5 ? maxText + " " + sc.Unit : maxText, kBlack,
         true);
    if (strip.AncType < 0 && strip.Bin < 0 && Series_Code_Per_Bin(strip.Code)) {
        const std::vector<int32_t> codes = CandleCodes(v.Selection);
        const int g = std::max(IndexOf(codes, strip.Code), 0);
        const int rows = static_cast<int>(v.Selection.Bins.size());
        for (int r = 0; r < rows && y + 2 * th <= bottom; ++r) {
            SeriesStrip one = strip;
            one.Bin = v.Selection.Bins[static_cast<size_t>(r)];
            const std::string label = Series_Strip_Label(v, one);
            line(label.substr(label.find("Bin ")), Series_Color(g * rows + r), false);
        }
    }
    if (y + th <= bottom) {
        y = bottom - th - 1;
        line(FormatNumber(sc.Min, "0"), kBlack, true);
    }
}

} // namespace

ColorRef Series_Color(int index) {
    return kSeriesColors[static_cast<size_t>(((index % 8) + 8) % 8)];
}

double Series_Factor(int32_t code) {
    return Series_Code_Direction(code) ? 0.1 : 1.0;
}

void Series_Scale(const SeriesView& v, int32_t code, double& min, double& max) {
    if (!Series_Code_Per_Bin(code)) {
        // Reference and navigation codes: component 1..6 of their block; 5 magnitude, 6 direction.
        const int32_t unit = code >= 1000000 ? 1000000 : code >= 100000 ? 100000 : 10000;
        const int32_t component = code / unit;
        const size_t anc = component == 6 ? 10 : component == 5 ? 9 : 8;
        min = v.AncMin[anc];
        max = v.AncMax[anc];
        return;
    }
    size_t water = 2;
    if (code <= 5)
        water = 0;
    else if (code <= 50)
        water = 1;
    else if (code == 500)
        water = 3;
    else if (code == 600)
        water = 4;
    else if (code >= 1000)
        water = 5;
    min = v.ScaleMin[water];
    max = v.ScaleMax[water];
}

double Ancillary_Value(const EnsembleSet& set, int type, int slot) {
    const auto& a = set.AncData;
    if (type < 0 || type >= kAncTypes || type >= a.Rows() || slot < 0 || slot >= a.Slots()) return kNoData;
    const int32_t raw = a(type, slot);
    return raw == kBadValue ? kNoData : raw * kAncFactors[static_cast<size_t>(type)];
}

double Series_Y(const SeriesStrip& strip, double value, double min, double max) {
    const double span = max - min;
    if (span <= 0) return strip.Top + strip.Height - 1;
    value = std::clamp(value, min, max);
    return strip.Top + strip.Height - (value - min) * strip.Height / span - 1;
}

SeriesLayout Series_Layout(const SeriesView& v, int surfaceHeight) {
    SeriesLayout l;
    l.PlotLeft = v.PlotLeft;
    l.Columns = std::max(v.Ensembles, 0);
    l.ColumnWidth = l.Columns > 0 ? v.PlotWidth / l.Columns : 0;
    std::vector<SeriesStrip> series, anc;
    for (const int32_t code : v.Selection.Codes) {
        if (!Series_Code_Per_Bin(code)) {
            series.push_back({code, -1, -1});
        } else if (v.Combo) {
            if (!v.Selection.Bins.empty()) series.push_back({code, -1, -1});
        } else {
            for (const int bin : v.Selection.Bins) series.push_back({code, bin, -1});
        }
    }
    for (int t = 0; t < kAncTypes; ++t)
        if (v.AncTypes[static_cast<size_t>(t)]) anc.push_back({0, -1, t});
    const double total = std::max(0, surfaceHeight - 4);
    const bool both = !series.empty() && !anc.empty();
    l.SeriesTop = 4;
    l.SeriesHeight = series.empty() ? 0 : (both ? total / 2 : total);
    l.AncTop = l.SeriesTop + l.SeriesHeight;
    l.AncHeight = anc.empty() ? 0 : total - l.SeriesHeight;
    auto stack = [&l](std::vector<SeriesStrip>& strips, double top, double height) {
        const double h = strips.empty() ? 0 : height / static_cast<double>(strips.size());
        for (size_t i = 0; i < strips.size(); ++i) {
            strips[i].Top = top + static_cast<double>(i) * h;
            strips[i].Height = h;
            l.Strips.push_back(strips[i]);
        }
    };
    stack(series, l.SeriesTop, l.SeriesHeight);
    stack(anc, l.AncTop, l.AncHeight);
    return l;
}

std::string Series_Strip_Label(const SeriesView& v, const SeriesStrip& strip) {
    if (strip.AncType >= 0) return kAncNames[static_cast<size_t>(strip.AncType)];
    std::string label = TypeName(v, strip.Code);
    if (!Series_Code_Per_Bin(strip.Code)) return Series_Code_Label(strip.Code) + label;
    if (strip.Bin >= 0) {
        const int number = Mostly_Up_Looking(v.OrientationBalance) ? strip.Bin + 1 : v.NumCells - strip.Bin;
        label += " Bin " + FormatNumber(number, "000");
    }
    return label;
}

void Draw_Series(Surface& s, const SeriesView& v, const ChartTicks& ticks, const Candles& candles) {
    Draw_Series_Frame(s);
    const SeriesLayout l = Series_Layout(v, s.Height());
    if (l.Strips.empty() || v.Set == nullptr) return;

    // Font: a line of text fits a strip (the labels sit inside their strips, combo or not), and "0" fits
    // the surface.
    int size = 10;
    s.SetFont("Arial", size, false);
    while (size > 1 && s.TextHeight("W") > l.Strips.front().Height) s.SetFont("Arial", --size, false);
    while (size > 1 && s.TextWidth("0") > s.Width()) s.SetFont("Arial", --size, false);

    const double right = l.PlotLeft + v.PlotWidth;
    const int32_t tickCount =
        std::min<int32_t>(ticks.TimeTickCount, static_cast<int32_t>(ticks.TimeTickX.size()));
    const std::vector<int32_t> codes = CandleCodes(v.Selection);
    const int rows = std::max<int>(1, static_cast<int>(v.Selection.Bins.size()));
    // Frames and grids first, so that no strip's frame covers a line drawn on its neighbour's edge.
    for (const SeriesStrip& strip : l.Strips) {
        if (strip.AncType >= 0 ? v.AncGrid : v.Grid)
            for (int32_t t = 0; t < tickCount; ++t) {
                const double x = ticks.TimeTickX[static_cast<size_t>(t)];
                s.Line(x, strip.Top, x, strip.Top + strip.Height, kGridColor);
            }
        s.Box(l.PlotLeft, strip.Top, right, strip.Top + strip.Height - 1, kStripFrame);
    }
    for (const SeriesStrip& strip : l.Strips) {
        const StripScale sc = ScaleOf(v, strip);
        if (strip.AncType >= 0) {
            DrawLine(s, v, l, strip, 0, sc, Series_Color(strip.AncType), v.AncLines, v.AncSymbols);
        } else {
            const int g = std::max(IndexOf(codes, strip.Code), 0);
            if (!Series_Code_Per_Bin(strip.Code)) {
                DrawLine(s, v, l, strip, 0, sc, Series_Color(g * rows), v.Lines, v.Symbols);
            } else {
                for (size_t r = 0; r < v.Selection.Bins.size(); ++r) {
                    const int bin = v.Selection.Bins[r];
                    if (strip.Bin >= 0 && bin != strip.Bin) continue;
                    DrawLine(s, v, l, strip, bin, sc, Series_Color(g * rows + static_cast<int>(r)), v.Lines,
                             v.Symbols);
                }
            }
            DrawCandles(s, v, l, strip, sc, candles);
            DrawStatistics(s, v, strip, sc, candles);
        }
        DrawStripTexts(s, v, l, strip, sc);
    }
}

SeriesDataIndex Get_Series_DataIndex(const SeriesLayout& l, double X, double Y) {
    SeriesDataIndex out;
    if (l.Columns <= 0 || l.ColumnWidth <= 0) return out;
    const int32_t e = RoundToInt32((X - l.PlotLeft) / l.ColumnWidth - 0.5);
    for (size_t i = 0; i < l.Strips.size(); ++i)
        if (Y >= l.Strips[i].Top && Y < l.Strips[i].Top + l.Strips[i].Height) out.Strip = static_cast<int>(i);
    out.Inside = e >= -1 && e <= l.Columns && out.Strip >= 0;
    out.EnsembleIndex = std::clamp(e, 0, l.Columns - 1);
    return out;
}

} // namespace mvx
