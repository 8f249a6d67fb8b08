// Pixel to cell, clicks, the zoom box's range and the arrow-key steps, on a 400 x 270 surface whose plot
// is 290 x 200 pixels from (50, 30): 29 ensembles of 10 pixels, 20 bins of 10 pixels.
#include "charts/ContourMouse.h"

#include "ContourFixture.h"
#include "FakeSurface.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::ContourFixture;
using test::FakeSurface;
using test::SetMargins;

class ContourMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        Move_Data_To_Chart3d_Array(chart, f.View, 500);
        SetMargins(chart.Frame, 50, 60, 30, 40);
    }
    ContourFixture f{20, 29};
    ContourChart chart;
    FakeSurface picture{400, 270};
};

TEST_F(ContourMouse, PixelToCellRoundsHalvesToEvenWithOneCellOfTolerance) {
    struct Case {
        double x, y;
        int32_t ensemble, row;
        bool inside;
    } cases[] = {
        {75, 64, 2, 3, true},     // 2.5 - 0.5 = 2; 3.4 - 0.5 = 2.9
        {70, 100, 2, 6, true},    // on the boundary of columns 1 and 2: 1.5 rounds to 2
        {60, 100, 0, 6, true},    // on the boundary of columns 0 and 1: 0.5 rounds to 0
        {41, 100, 0, 6, true},    // -1.4 -> -1: one column left, clamped
        {40, 100, 0, 6, false},   // -1.5 -> -2
        {360, 100, 28, 6, true},  // 30.5 -> 30 = N + 1, clamped to the last column
        {370, 100, 28, 6, false}, // 31.5 -> 32
        {100, 245, 4, 19, true},  // 4.5 -> 4; row 21 = B + 1 below the plot, clamped to the bottom row
    };
    for (const Case& c : cases) {
        const ChartDataIndex d = Get_Chart3d_DataIndex(chart, picture, c.x, c.y);
        EXPECT_EQ(d.EnsembleIndex, c.ensemble) << c.x << "," << c.y;
        EXPECT_EQ(d.BinRow, c.row) << c.x << "," << c.y;
        EXPECT_EQ(d.Inside, c.inside) << c.x << "," << c.y;
    }
    // A set without ensembles has no cells.
    ContourFixture empty(20, 0);
    ContourChart none;
    Move_Data_To_Chart3d_Array(none, empty.View, 500);
    SetMargins(none.Frame, 50, 60, 30, 40);
    EXPECT_FALSE(Get_Chart3d_DataIndex(none, picture, 100, 100).Inside);
    EXPECT_FALSE(Contour_Click(none, picture, 100, 100).ProfileChanged);
}

TEST_F(ContourMouse, ClickOnePixelLeftOfThePlotPicksTheFirstEnsembleTwoPixelsDoNot) {
    ContourClick c = Contour_Click(chart, picture, 49, 100);
    EXPECT_TRUE(c.ProfileChanged);
    EXPECT_EQ(c.ProfileEnsNumber, 101);
    c = Contour_Click(chart, picture, 48, 100);
    EXPECT_FALSE(c.ProfileChanged);
    // The same two pixels on the right: the plot's right edge is x = 340.
    EXPECT_TRUE(Contour_Click(chart, picture, 341, 100).ProfileChanged);
    EXPECT_EQ(Contour_Click(chart, picture, 341, 100).ProfileEnsNumber, 129);
    EXPECT_FALSE(Contour_Click(chart, picture, 342, 100).ProfileChanged);
}

TEST_F(ContourMouse, ClickTogglesTheBinOfItsRowWithinTwoPixelsOfThePlot) {
    ContourClick c = Contour_Click(chart, picture, 100, 29); // row 0, the top bin shown
    EXPECT_TRUE(c.SeriesChanged);
    EXPECT_EQ(c.Bin, 20);
    EXPECT_FALSE(Contour_Click(chart, picture, 100, 28).SeriesChanged);
    EXPECT_EQ(Contour_Click(chart, picture, 100, 231).Bin, 1); // the plot bottom is 230
    // A click beside the plot still picks a bin but no ensemble, and the other way round.
    c = Contour_Click(chart, picture, 20, 135);
    EXPECT_FALSE(c.ProfileChanged);
    EXPECT_TRUE(c.SeriesChanged);
    EXPECT_EQ(c.Bin, 10); // row 10 from the top
}

TEST_F(ContourMouse, ZoomBoxGivesTheSameRangeWhicheverWayItIsDragged) {
    const ChartDataIndex topLeft = Get_Chart3d_DataIndex(chart, picture, 85, 55);       // ensemble 3, row 2
    const ChartDataIndex bottomRight = Get_Chart3d_DataIndex(chart, picture, 155, 105); // ensemble 10, row 7
    ZoomRange a, b;
    ASSERT_TRUE(Zoom_Range(chart, topLeft, bottomRight, a));
    ASSERT_TRUE(Zoom_Range(chart, bottomRight, topLeft, b));
    EXPECT_EQ(a.FirstEnsemble, 104);
    EXPECT_EQ(a.LastEnsemble, 111);
    EXPECT_EQ(a.FirstBin, 13); // 20 - 7
    EXPECT_EQ(a.LastBin, 18);  // 20 - 2
    EXPECT_EQ(b.FirstEnsemble, a.FirstEnsemble);
    EXPECT_EQ(b.LastEnsemble, a.LastEnsemble);
    EXPECT_EQ(b.FirstBin, a.FirstBin);
    EXPECT_EQ(b.LastBin, a.LastBin);
    // A flat box (one ensemble or one row) changes nothing.
    ZoomRange r;
    EXPECT_FALSE(Zoom_Range(chart, topLeft, Get_Chart3d_DataIndex(chart, picture, 88, 150), r));
    EXPECT_FALSE(Zoom_Range(chart, topLeft, Get_Chart3d_DataIndex(chart, picture, 250, 57), r));
}

TEST(ContourKeys, ProfileStepsStayInsideTheSetAndSeriesBinsMoveUnlessOneIsAtTheEdge) {
    EXPECT_EQ(Step_Profile_Ensemble(105, -1, 101, 129), 104);
    EXPECT_EQ(Step_Profile_Ensemble(129, 1, 101, 129), 129);
    // An indexed set steps by columns, over skipped numbers; a repeat steps from its first column.
    const std::vector<int32_t> numbers = {99, 100, 161, 300, 300, 301};
    const struct {
        int32_t current;
        int delta;
        int32_t next;
    } steps[] = {{100, 1, 161}, {161, -1, 100}, {300, 1, 300}, {301, 1, 301}, {99, -1, 99}, {150, 1, 99}};
    for (const auto& s : steps)
        EXPECT_EQ(Step_Profile_Ensemble(s.current, s.delta, 99, 301, numbers), s.next) << s.current;

    std::array<bool, 256> bins{};
    bins[3] = bins[7] = true;
    ASSERT_TRUE(Shift_Series_Bins(bins, 1, 1, 8));
    EXPECT_TRUE(bins[4] && bins[8] && !bins[3] && !bins[7]);
    EXPECT_FALSE(Shift_Series_Bins(bins, 1, 1, 8)); // bin 8 is the top bin shown: nothing moves
    EXPECT_TRUE(bins[4] && bins[8]);
    bins = {};
    bins[255] = bins[100] = true;
    ASSERT_TRUE(Shift_Series_Bins(bins, 1, 1, 200)); // 255 is above the bins shown and drops off the end
    EXPECT_FALSE(bins[255]);
    EXPECT_TRUE(bins[101]);
}

} // namespace
} // namespace mvx
