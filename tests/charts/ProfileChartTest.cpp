// The profile chart: its panels, the value-to-x rule at the panel edges, bin rows that line up with the
// contour rows, the direction wrap and the cell under the pointer.
#include "charts/ProfileChart.h"
#include "charts/ContourChart.h"

#include "ContourFixture.h"
#include "FakeSurface.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::FakeSurface;

// One ensemble (number 101) of four bins; direction in tenths of a degree.
struct ProfileFixture {
    EnsembleSet Set;
    ProfileView View;
    ProfileFixture() {
        Allocate_Ensemble_Set(Set, 1);
        View.Set = &Set;
        View.Ensembles = 1;
        View.FirstEnsNumber = View.LastEnsNumber = View.ProfileEnsNumber = 101;
        View.FirstBinShown = 1;
        View.LastBinShown = 4;
        View.ScaleMin = {64, 64, -1000, 500, 0, -100, 0};
        View.ScaleMax = {192, 192, 1000, 2000, 360, 100, 100};
    }
};

TEST(ProfileChart, PanelsOfTheChosenKinds) {
    struct Case {
        std::vector<int> Types;
        std::vector<int> Kinds;
        double Width;
    };
    const Case cases[] = {
        {{14, 19}, {3, 6}, 97.5}, // magnitude and PG1: half of 200 less 2.5 each
        {{14, 15}, {3, 4}, 97.5},
        {{0, 4, 5}, {0, 1}, 97.5},
        {{10, 11, 12, 13, 16, 18}, {2, 5}, 97.5},
        {{0, 5, 10, 14, 15, 17, 22}, {0, 1, 2, 3, 4, 5, 6}, 195.0 / 7},
        {{}, {}, 0},
    };
    for (const Case& c : cases) {
        std::array<bool, kProfileTypes> types{};
        for (const int t : c.Types) types[static_cast<size_t>(t)] = true;
        const ProfilePanels p = Profile_Panels(types, 200);
        EXPECT_EQ(p.Kinds, c.Kinds);
        EXPECT_DOUBLE_EQ(p.Width, c.Width);
    }
}

TEST(ProfileChart, ValuesBeyondTheScaleStayOnThePanelEdge) {
    struct Case {
        int Panel;
        double Value, Min, Max, X;
    };
    const Case cases[] = {
        {1, 5000, 500, 2000, 201}, // above the maximum: the right edge of panel 1 (100 + 1 + 100)
        {1, -5, 500, 2000, 101},   // below the minimum: its left edge
        {0, 1250, 500, 2000, 51},  // the middle
        {0, 7, 7, 7, 1},           // a span below 1 is taken as 1
        {0, 7.5, 7, 7.25, 26},     // clamped to 7.25, a quarter of the unit span
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(Profile_X(c.Panel, 100, c.Value, c.Min, c.Max), c.X);
}

// Values beyond the scale draw a line along the panel's edge, from the first row to the last.
TEST(ProfileChart, TraceBeyondTheScaleRunsAlongThePanelEdge) {
    ProfileFixture f;
    f.View.DataTypes[14] = true; // magnitude, 500..2000
    for (int b = 0; b < 4; ++b) f.Set.VelData(4, b, 0) = 3000;
    FakeSurface s(205, 300);
    Draw_Profile(s, f.View, 200, 230, ChartTicks{});
    for (const int y : {205, 180, 130, 56}) EXPECT_EQ(s.GetPixel(201, y), Rgb(208, 0, 0)) << y;
}

// The profile's row centres fall in the contour rows of the same bins for any bin range and height.
TEST(ProfileChart, RowsLineUpWithTheContourRows) {
    struct Case {
        int Bins, FirstShown, LastShown, Height;
    };
    for (const Case& c :
         {Case{20, 1, 20, 270}, Case{84, 3, 40, 613}, Case{17, 5, 5, 300}, Case{255, 1, 255, 900}}) {
        test::ContourFixture f(c.Bins, 10);
        f.View.Axes.FirstBinShown = c.FirstShown;
        f.View.Axes.LastBinShown = c.LastShown;
        ContourChart chart;
        Move_Data_To_Chart3d_Array(chart, f.View, 500);
        test::SetMargins(chart.Frame, 50, 60, 30, 40);
        FakeSurface contour(400, c.Height);
        const double plotHeight = c.Height - 70, plotBottom = c.Height - 40;
        const int rows = c.LastShown - c.FirstShown + 1;
        const double h = Profile_Row_Height(rows, plotHeight);
        for (int r = 0; r < rows; ++r) {
            const ChartDataIndex cell =
                Get_Chart3d_DataIndex(chart, contour, 100, Profile_Row_Y(plotBottom, h, r));
            EXPECT_EQ(Bin_Of_Row(chart, cell.BinRow), c.FirstShown + r)
                << "height " << c.Height << " row " << r;
        }
    }
}

TEST(ProfileChart, CellUnderThePointer) {
    ProfileFixture f;
    // Plot 30..230: four rows of 50 pixels.
    struct Case {
        double Y;
        int32_t Row;
        bool Inside;
    };
    const Case cases[] = {{31, 0, true},   {229, 3, true}, {130, 2, true}, {-19, 0, true},
                          {-21, 0, false}, {279, 3, true}, {329, 3, true}, {331, 3, false}};
    for (const Case& c : cases) {
        const ProfileDataIndex i = Get_Profile_DataIndex(f.View, 200, 30, c.Y);
        EXPECT_EQ(i.BinRow, c.Row) << c.Y;
        EXPECT_EQ(i.Inside, c.Inside) << c.Y;
        EXPECT_EQ(i.EnsembleIndex, 0);
    }
    f.View.ProfileEnsNumber = 0; // none chosen
    EXPECT_FALSE(Get_Profile_DataIndex(f.View, 200, 30, 130).Inside);
}

// With the direction scale 0..360, 350 and 10 degrees in neighbouring bins start a new line instead of
// crossing the panel; 100 and 120 are joined.
TEST(ProfileChart, DirectionWrapsInsteadOfCrossingThePanel) {
    ProfileFixture f;
    f.View.DataTypes[15] = true;
    const int16_t tenths[] = {1000, 1200, 3500, 100};
    for (int b = 0; b < 4; ++b) f.Set.VelData(5, b, 0) = tenths[b];
    FakeSurface s(205, 300);
    ChartTicks ticks;
    Draw_Profile(s, f.View, 200, 230, ticks);
    const ColorRef blue = Rgb(0, 0, 208);
    // Rows at y 205 (bin 1), 155, 105, 55; the panel is 200 wide from x = 1. Only 100 -> 120 is joined:
    // 120 -> 350 and 350 -> 10 both jump more than 180 degrees.
    std::vector<test::DrawnLine> traced;
    for (const test::DrawnLine& l : s.Lines)
        if (l.Color == blue) traced.push_back(l);
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_DOUBLE_EQ(traced[0].Y1, 205);
    EXPECT_DOUBLE_EQ(traced[0].Y2, 155);
    EXPECT_EQ(s.GetPixel(195, 105), blue); // 350 degrees: a point of its own
    EXPECT_NE(s.GetPixel(100, 80), blue);  // nothing across the panel
    f.View.ProfileEnsNumber = 102;         // outside the set: only the frame
    s.Lines.clear();
    Draw_Profile(s, f.View, 200, 230, ticks);
    EXPECT_NE(s.GetPixel(195, 105), blue);
    EXPECT_EQ(s.Lines.size(), 1u); // the splitter
}

} // namespace
} // namespace mvx
