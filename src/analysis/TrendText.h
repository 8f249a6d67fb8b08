#pragma once
// The text of the trend window: the candle's heading lines and its statistics table, one line per group
// and row, groups and rows from the last to the first.
#include "analysis/Trend.h"
#include "model/Candles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

struct StatTableLine {
    std::string Text;
    int32_t Group = 0, Row = 0;
    int32_t ColorIndex = 0; // into the series chart's line colours (cycling)
};

struct StatText {
    // "Triangular Width", first and last ensemble, interval, "Selected Candle " (the candle label goes
    // right after it), number of candles, an empty line and the table heading.
    std::vector<std::string> Header;
    size_t CandleLine = 4;   // index of the "Selected Candle " line in Header
    std::string CandleLabel; // the selected candle, 1-based, "  0"
    std::vector<StatTableLine> Table;
    int32_t PickedLine = -1; // the table line of (TrendGroup, TrendRow)
};

// The lines of the statistics display for the selected candle. Bins are numbered from the top for a set
// whose orientation balance is positive (NumCells - bin index), from the bottom otherwise; direction
// groups ("deg") are shown in degrees.
StatText Show_Stat_Text(const Candles& candles, int32_t firstEnsNumber, int32_t numCells,
                        int32_t orientationBalance);

// "hhhh:mm:ss.ss" of an interval in seconds.
std::string Candle_Interval_Text(double seconds);

// A click on the table's displayed line l picks the group and row shown on it; false (nothing changes)
// when the table has no lines or l is outside it.
bool Pick_Table_Line(Candles& candles, int32_t line);

} // namespace mvx
