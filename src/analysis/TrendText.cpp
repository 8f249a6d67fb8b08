// The statistics display of the trend window as text lines.
#include "analysis/TrendText.h"

#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

std::string Field(const std::string& text, int width) {
    return Fix_String(text, ' ', width);
}

std::string Whole(double value) {
    return FormatNumber(value, "0");
}

} // namespace

std::string Candle_Interval_Text(double seconds) {
    if (!(seconds > 0)) seconds = 0;
    const double hours = std::floor(seconds / 3600);
    const double minutes = std::floor((seconds - hours * 3600) / 60);
    const double rest = seconds - hours * 3600 - minutes * 60;
    return FormatNumber(hours, "0000") + ":" + FormatNumber(minutes, "00") + ":" +
           FormatNumber(rest, "00.00");
}

StatText Show_Stat_Text(const Candles& c, int32_t firstEnsNumber, int32_t numCells,
                        int32_t orientationBalance) {
    StatText t;
    const bool table = c.CandleCount > 0 && c.StatRowCount > 0 && c.StatGroupCount > 0;
    const int candle = table ? std::clamp(c.SelectedCandle, 0, c.CandleCount - 1) : 0;
    const int32_t first = table ? c.Stat(CandleFirst, candle, 0, 0) : 0;
    const int32_t last = table ? c.Stat(CandleLast, candle, 0, 0) : 0;
    t.Header.push_back("Triangular Width " + Whole(2.0 * std::max(c.TrendPasses, 0) + 1));
    t.Header.push_back("First Ensemble " + Field(Whole(double(firstEnsNumber) + first), 9));
    t.Header.push_back("Last Ensemble  " + Field(Whole(double(firstEnsNumber) + last), 9));
    t.Header.push_back("Interval " + Candle_Interval_Text(c.IntervalSeconds));
    t.CandleLine = t.Header.size();
    t.Header.push_back("Selected Candle ");
    t.CandleLabel = Field(Whole(candle + 1), 3);
    t.Header.push_back("Number of Candles " + Whole(c.CandleCount));
    t.Header.push_back("");
    t.Header.push_back("        Bin        Average   Max   Min  Units  Samples ");
    if (!table) return t;
    for (int g = c.StatGroupCount - 1; g >= 0; --g) {
        const std::string unit =
            static_cast<size_t>(g) < c.CandleUnits.size() ? c.CandleUnits[size_t(g)] : "";
        const std::string label =
            static_cast<size_t>(g) < c.CandleLabels.size() ? c.CandleLabels[size_t(g)] : "";
        const double scale = unit == "deg" ? 0.1 : 1.0;
        for (int r = c.StatRowCount - 1; r >= 0; --r) {
            const int32_t bin = c.Stat(CandleBin, candle, r, g);
            const int32_t number = orientationBalance > 0 ? numCells - bin : bin + 1;
            const std::string average = Whole(c.Stat(CandleMean, candle, r, g) * scale) + " \xB1 " +
                                        Whole(c.Stat(CandleStdDev, candle, r, g) * scale);
            StatTableLine line;
            line.Text = Field(label, 6) + Field(Whole(number), 5) + Field(average, 15) +
                        Field(Whole(c.Stat(CandleMax, candle, r, g) * scale), 6) +
                        Field(Whole(c.Stat(CandleMin, candle, r, g) * scale), 6) + Field(unit, 7) +
                        Field(Whole(c.Stat(CandleCountField, candle, r, g)), 9);
            line.Group = g;
            line.Row = r;
            line.ColorIndex = g * c.StatRowCount + r;
            if (g == c.TrendGroup && r == c.TrendRow) t.PickedLine = static_cast<int32_t>(t.Table.size());
            t.Table.push_back(std::move(line));
        }
    }
    return t;
}

bool Pick_Table_Line(Candles& c, int32_t line) {
    if (c.StatRowCount <= 0 || c.StatGroupCount <= 0) return false;
    if (line < 0 || line >= c.StatRowCount * c.StatGroupCount) return false;
    // The table runs from the last group and row to the first.
    c.TrendGroup = c.StatGroupCount - 1 - line / c.StatRowCount;
    c.TrendRow = c.StatRowCount - 1 - line % c.StatRowCount;
    return true;
}

} // namespace mvx
