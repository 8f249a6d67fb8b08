#pragma once
// The trend window's picture: the statistics text of the selected candle with its candle label, and two
// plots of the picked table line: the series with its trend, and the residuals about the trend.
#include "analysis/Trend.h"
#include "analysis/TrendText.h"
#include "charts/Surface.h"
#include "model/CoreState.h"

#include <string>

namespace mvx {

struct TrendChart {
    bool Drawn = false;
    StatText Text;
    TrendSeries Series;
    double LineHeight = 0;
    double TableTop = 0; // y of the first table line
    // The candle label (a click selects the candle) and the marker left of the picked line.
    double LabelX = 0, LabelY = 0, LabelWidth = 0;
    double MarkerX = 0, MarkerY = 0;
    bool HasMarker = false;
    // The two plots.
    double PlotLeft = 0, PlotWidth = 0, SeriesTop = 0, ResidualTop = 0, PlotHeight = 0;
};

// Colours the candle label and the marker alternate between.
inline constexpr ColorRef kBlinkGrey = Rgb(128, 128, 128);

// Recomputes the trend of the picked line and draws everything on picture (Courier New at the
// surface's font size); nothing but a cleared surface while no valid file is open.
void Show_Stat_Data(TrendChart& chart, CoreState& core, Surface& picture);

// Draws the candle label and the marker in one colour (the blink timer's step).
void Draw_Trend_Blink(const TrendChart& chart, Surface& picture, ColorRef color);

// The table line under a pointer height: the integer part of (y - table top) / line height; -1 above
// the table.
int32_t Trend_Table_Line(const TrendChart& chart, double y);

// True when (x, y) lies on the candle label.
bool On_Candle_Label(const TrendChart& chart, double x, double y);

// The residual statistics as one line: count, mean and deviation, largest and smallest.
std::string Residual_Text(const TrendSeries& series);

} // namespace mvx
