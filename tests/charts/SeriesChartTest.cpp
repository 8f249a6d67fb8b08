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

} // namespace
} // namespace mvx
