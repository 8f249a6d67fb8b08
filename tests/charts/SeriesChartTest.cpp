// The series chart: strips for the chosen codes, bins and ancillary types, the direction wrap through
// the strip edges, columns under the contour's columns and the cell under the pointer.
#include "charts/SeriesChart.h"
#include "charts/ContourChart.h"

#include "ContourFixture.h"
#include "FakeSurface.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::FakeSurface;

struct SeriesFixture {
    EnsembleSet Set;
    SeriesView View;
    explicit SeriesFixture(int ensembles) {
        Allocate_Ensemble_Set(Set, ensembles);
        View.Set = &Set;
        View.Ensembles = ensembles;
        View.NumCells = 20;
        View.PlotLeft = 50;
        View.PlotWidth = 10.0 * ensembles;
        View.Lines = true;
        View.Grid = false;
        View.ScaleMin = {64, 64, -1000, 500, 0, 0};
        View.ScaleMax = {192, 192, 1000, 2000, 360, 100};
        const Options defaults;
        View.AncMin = defaults.AncScaleMin;
        View.AncMax = defaults.AncScaleMax;
    }
};

TEST(SeriesChart, StripsOfCodesBinsAndAncillaryTypes) {
    struct Case {
        std::vector<int32_t> Codes;
        std::vector<int> Bins;
        bool Combo;
        std::vector<int> Anc;
        size_t Strips;
        double StripHeight; // of the first strip, on a surface 204 high
    };
    const Case cases[] = {
        {{500}, {3, 7}, false, {}, 2, 100}, // two bins, one code: a strip each
        {{500}, {3, 7}, true, {}, 1, 200},  // combo: one strip with two lines
        {{500, 10000}, {3, 7}, false, {}, 3, 200.0 / 3},
        {{500}, {}, false, {}, 0, 0},             // a per-bin code without a bin: nothing
        {{10000}, {}, true, {}, 1, 200},          // reference codes need no bin
        {{500}, {3}, true, {0, 2, 4, 6}, 5, 100}, // series in the upper half, ancillary below
        {{}, {3}, true, {1}, 1, 200},
    };
    for (const Case& c : cases) {
        SeriesFixture f(10);
        f.View.Selection = {c.Codes, c.Bins};
        f.View.Combo = c.Combo;
        for (const int t : c.Anc) f.View.AncTypes[static_cast<size_t>(t)] = true;
        const SeriesLayout l = Series_Layout(f.View, 204);
        ASSERT_EQ(l.Strips.size(), c.Strips);
        if (c.Strips > 0) {
            EXPECT_DOUBLE_EQ(l.Strips[0].Height, c.StripHeight);
        }
        if (!c.Anc.empty() && !c.Codes.empty()) {
            EXPECT_DOUBLE_EQ(l.Strips.back().Height, 25);
        }
    }
}

// 350 then 10 degrees: the line leaves through the top edge and comes back through the bottom edge
// halfway between the two columns, instead of crossing the strip.
TEST(SeriesChart, DirectionWrapsThroughTheStripEdges) {
    SeriesFixture f(2);
    f.View.Selection = {{600}, {0}};
    f.Set.VelData(5, 0, 0) = 3500;
    f.Set.VelData(5, 0, 1) = 100;
    FakeSurface s(100, 104);
    Draw_Series(s, f.View, ChartTicks{}, Candles{});
    const ColorRef red = Series_Color(0);
    // Strip from y 4, 100 high: 0 degrees at y 103, 360 at y 3. Columns at x 55 and 65, the crossing at 60.
    std::vector<test::DrawnLine> traced;
    for (const test::DrawnLine& l : s.Lines)
        if (l.Color == red) traced.push_back(l);
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_DOUBLE_EQ(traced[0].X2, 60);
    EXPECT_DOUBLE_EQ(traced[0].Y2, 3);
    EXPECT_DOUBLE_EQ(traced[1].X1, 60);
    EXPECT_DOUBLE_EQ(traced[1].Y1, 103);
    for (int y = 20; y < 90; ++y) EXPECT_NE(s.GetPixel(60, y), red) << y;
}

// Each ensemble's column lies under the contour column of the same ensemble, for several plot widths.
TEST(SeriesChart, ColumnsLineUpWithTheContourColumns) {
    struct Case {
        int Ensembles, SurfaceWidth;
    };
    for (const Case& c : {Case{29, 400}, Case{256, 1291}, Case{1024, 1500}, Case{3, 777}, Case{1, 300}}) {
        test::ContourFixture cf(20, c.Ensembles);
        ContourChart chart;
        Move_Data_To_Chart3d_Array(chart, cf.View, 500);
        test::SetMargins(chart.Frame, 53.5, 60, 30, 40);
        FakeSurface contour(c.SurfaceWidth, 270);
        SeriesFixture f(c.Ensembles);
        f.View.Selection = {{10000}, {}};
        f.View.PlotLeft = 53.5;
        f.View.PlotWidth = c.SurfaceWidth - 113.5;
        const SeriesLayout l = Series_Layout(f.View, 200);
        for (int e = 0; e < c.Ensembles; ++e) {
            const double x = l.PlotLeft + (e + 0.5) * l.ColumnWidth;
            EXPECT_EQ(Get_Chart3d_DataIndex(chart, contour, x, 100).EnsembleIndex, e) << c.SurfaceWidth;
            EXPECT_EQ(Get_Series_DataIndex(l, x, 100).EnsembleIndex, e);
        }
    }
}

TEST(SeriesChart, CellUnderThePointer) {
    SeriesFixture f(10); // columns of 10 pixels from x 50
    f.View.Selection = {{500}, {1, 2}};
    f.View.Combo = false;
    const SeriesLayout l = Series_Layout(f.View, 204); // strips 4..104 and 104..204
    struct Case {
        double X, Y;
        int32_t Ensemble;
        int Strip;
        bool Inside;
    };
    const Case cases[] = {{55, 50, 0, 0, true},   {145, 150, 9, 1, true}, {41, 50, 0, 0, true},
                          {34, 50, 0, 0, false},  {155, 50, 9, 0, true},  {166, 50, 9, 0, false},
                          {101, 2, 5, -1, false}, {99, 104, 4, 1, true}};
    for (const Case& c : cases) {
        const SeriesDataIndex i = Get_Series_DataIndex(l, c.X, c.Y);
        EXPECT_EQ(i.EnsembleIndex, c.Ensemble) << c.X << "," << c.Y;
        EXPECT_EQ(i.Strip, c.Strip) << c.X << "," << c.Y;
        EXPECT_EQ(i.Inside, c.Inside) << c.X << "," << c.Y;
    }
}

TEST(SeriesChart, LabelsScalesAndUnitsOfTheStrips) {
    SeriesFixture f(3);
    f.View.VelocityReference = 1;
    struct Case {
        int32_t Code;
        int Bin, Anc;
        int32_t Orientation;
        std::string Label;
        double Min, Max;
    };
    const Case cases[] = {
        {500, 4, -1, -1, "Mag-B Bin 005", 500, 2000}, // up-looking: the bin as stored
        {500, 4, -1, 1, "Mag-B Bin 016", 500, 2000},  // down-looking: counted from the far end
        {3, 0, -1, -1, "E Bm3 Bin 001", 64, 192},     {50, -1, -1, -1, "C Avg", 64, 192},
        {2000, 2, -1, -1, "% Bm2 Bin 003", 0, 100},   {600, -1, -1, -1, "Dir-B", 0, 360},
        {10000, -1, -1, -1, "BT  E(u)", -1000, 1000}, {500000, -1, -1, -1, "WM  Mag", 500, 2000},
        {6000000, -1, -1, -1, "NAV Dir", 90, 270},    {0, -1, 4, -1, "Depth", 100, 300},
    };
    for (const Case& c : cases) {
        f.View.OrientationBalance = c.Orientation;
        const SeriesStrip strip{c.Code, c.Bin, c.Anc};
        EXPECT_EQ(Series_Strip_Label(f.View, strip), c.Label);
        if (c.Anc >= 0) continue;
        double min = 0, max = 0;
        Series_Scale(f.View, c.Code, min, max);
        EXPECT_EQ(min, c.Min) << c.Code;
        EXPECT_EQ(max, c.Max) << c.Code;
    }
    // Attitude, heading and temperature are kept in hundredths, depth in millimetres.
    f.Set.AncData(0, 1) = -1250;
    f.Set.AncData(4, 1) = 123400;
    f.Set.AncData(7, 1) = kBadValue;
    EXPECT_DOUBLE_EQ(Ancillary_Value(f.Set, 0, 1), -12.5);
    EXPECT_DOUBLE_EQ(Ancillary_Value(f.Set, 4, 1), 123.4);
    EXPECT_EQ(Ancillary_Value(f.Set, 7, 1), kNoData);
    EXPECT_EQ(Ancillary_Value(f.Set, 8, 1), kNoData);
}

// A candle sits at its interval's centre: a line from the maximum to the minimum, a box of one deviation
// either side of the mean, a bar in the line's colour at the mean. A candle without samples is not drawn.
TEST(SeriesChart, CandlesOverTheirIntervals) {
    SeriesFixture f(8); // columns of 10 pixels from x 50; scale 0..100 of percent good
    f.View.Selection = {{1000}, {0}};
    f.View.Lines = false;
    const int16_t values[] = {10, 50, 30, 30, kBadValue, kBadValue, kBadValue, kBadValue};
    for (int e = 0; e < 8; ++e) f.Set.PGoodData(0, 0, e) = values[e] == kBadValue ? 0 : values[e];
    Candles candles;
    Compute_Series_Candles(candles, f.Set, 8, 20, f.View.Selection, Candle_Intervals(8, 8, true, false, 4));
    ASSERT_EQ(candles.CandleCount, 2);
    candles.CandleStats[candles.StatIndex(CandleCountField, 1, 0, 0)] = 0; // the second interval: no samples
    FakeSurface s(200, 104);
    Draw_Series(s, f.View, ChartTicks{}, candles);
    // Strip 4..104: y = 103 - v. Mean 30, deviation 16, maximum 50, minimum 10.
    const int x = 70;                                // centre of ensembles 0..3
    EXPECT_EQ(s.GetPixel(x, 73), Series_Color(0));   // the mean bar
    EXPECT_EQ(s.GetPixel(x, 55), kBlack);            // the line above the box (48)
    EXPECT_EQ(s.GetPixel(x - 3, 57), kBlack);        // the box's top edge (46), half a "0" wide
    EXPECT_EQ(s.GetPixel(x, 67), kWhite);            // inside the box
    EXPECT_NE(s.GetPixel(110, 73), Series_Color(0)); // no candle over the empty interval
}

} // namespace
} // namespace mvx
