// The contour's cell array, raster, texts, bottom-track line and locators, on a surface with fixed text
// metrics (every character 6 pixels wide and 10 tall).
#include "charts/ContourChart.h"

#include "ContourFixture.h"
#include "FakeSurface.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace mvx {
namespace {

using test::ContourFixture;
using test::FakeSurface;
using test::SetMargins;

ColorTableArray Colors() {
    ColorTableArray c{};
    Init_Color_Table(c);
    return c;
}

TEST(ContourCells, DirectionTenthsBecomeWholeDegreesHalvesToEven) {
    ContourFixture f(1, 7);
    const int16_t tenths[7] = {3595, 3585, 3575, 5, 15, -32768, 1800};
    for (int e = 0; e < 7; ++e) f.Vel(5, 0, e) = tenths[e];
    ContourChart chart;
    Move_Data_To_Chart3d_Array(chart, f.View, 600);
    // 359.5 -> 360, 358.5 -> 358, 357.5 -> 358, 0.5 -> 0, 1.5 -> 2, missing, 180; then on the circular
    // scale 0..360: index = round(degrees * 139 / 360) + 400.
    const int32_t expected[7] = {539, 538, 538, 400, 401, BadDataColor, 470};
    for (int e = 0; e < 7; ++e) EXPECT_EQ(chart.Cell(0, e), expected[e]) << e;
    EXPECT_EQ(chart.Frame.ScaleMax, 360);
    EXPECT_TRUE(chart.Frame.DirectionScale);
}

TEST(ContourCells, EmptySetKeepsOneCellAndNoRaster) {
    for (auto [bins, ensembles] : {std::pair{0, 5}, std::pair{4, 0}}) {
        ContourFixture f(bins, ensembles);
        ContourChart chart;
        Move_Data_To_Chart3d_Array(chart, f.View, 500);
        EXPECT_EQ(chart.Chart3dRows * chart.Chart3dColumns, 1);
        FakeSurface raster(1, 1), picture(200, 150);
        Create_Chart3d(chart, raster, Colors(), 1920);
        EXPECT_FALSE(chart.Chart3dReady);
        picture.FillBox(0, 0, 199, 149, kBlack);
        SetMargins(chart.Frame, 50, 60, 30, 40);
        Move_Clip_To_Chart3d(chart, picture, raster);
        EXPECT_EQ(picture.GetPixel(100, 75), kWhite); // cleared, nothing stretched in
    }
}

TEST(ContourRaster, WideSetIsCutToTheScreenLaterEnsemblesWinning) {
    ContourFixture f(1, 10);
    for (int e = 0; e < 10; ++e) f.Intensity(0, 0, e) = static_cast<uint8_t>(10 * e);
    ContourChart chart;
    Move_Data_To_Chart3d_Array(chart, f.View, 1);
    FakeSurface raster(1, 1);
    const ColorTableArray colors = Colors();
    Create_Chart3d(chart, raster, colors, 4);
    ASSERT_EQ(raster.Width(), 4);
    EXPECT_DOUBLE_EQ(chart.ColumnStep, 0.4);
    // Columns round(0.4 e): 0 <- 0, 1; 1 <- 2, 3; 2 <- 4, 5, 6; 3 <- 7, 8 (ensemble 9 falls off the edge).
    const int expected[4] = {10, 30, 60, 80};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(raster.GetPixel(x, 0), colors[expected[x]]) << x;
}

TEST(ContourBottomTrack, PointsAtColumnCentresFromTheMeanRange) {
    ContourFixture f(10, 4);
    f.View.Axes.Bin1Distance = 1; // bin centres 1..10 m; the shown span is 9 m over 200 pixels
    // Beam ranges in cm: ensemble 0 all four at 550; ensemble 1 beam 1 alone at 325 (the others 0, no
    // echo); ensemble 2 nothing; ensemble 3 beam 3 alone at 100.
    for (int beam = 0; beam < 4; ++beam) f.BTRange(beam, 0, 0) = 550;
    f.BTRange(0, 0, 1) = 325;
    f.BTRange(2, 0, 3) = 100;
    ContourChart chart;
    Move_Data_To_Chart3d_Array(chart, f.View, 500);
    SetMargins(chart.Frame, 50, 60, 30, 40);
    const double ppm = 200.0 / 9;

    f.View.Axes.OrientationBalance = 1; // down-looking: from the plot top
    chart.Axes = f.View.Axes;
    auto down = BT_Contour_Points(chart, 400, 270, f.View.Source);
    ASSERT_EQ(down.size(), 3u);
    EXPECT_DOUBLE_EQ(down[0].X, 50 + 72.5 / 2);
    EXPECT_NEAR(down[0].Y, 30 + 4.5 * ppm, 1e-9);
    EXPECT_NEAR(down[1].Y, 30 + 2.25 * ppm, 1e-9);
    EXPECT_DOUBLE_EQ(down[2].X, 50 + 72.5 * 3.5);

    // Up-looking, and as many up- as down-looking ensembles: from the plot bottom, upwards.
    for (int32_t balance : {-2, 0}) {
        f.View.Axes.OrientationBalance = balance;
        chart.Axes = f.View.Axes;
        EXPECT_NEAR(BT_Contour_Points(chart, 400, 270, f.View.Source).at(1).Y, 230 - 2.25 * ppm, 1e-9)
            << balance;
    }

    // A beam's own data type follows only that beam: beam 3's echo has ranges in ensembles 0 and 3 only.
    Move_Data_To_Chart3d_Array(chart, f.View, 3);
    auto beam3 = BT_Contour_Points(chart, 400, 270, f.View.Source);
    ASSERT_EQ(beam3.size(), 2u);
    EXPECT_DOUBLE_EQ(beam3[1].X, 50 + 72.5 * 3.5);
    EXPECT_NEAR(beam3[1].Y, 230, 1e-9); // 1 m is the reference range
}

TEST(ContourBottomTrack, FewerThanTwoEnsemblesPutThePointOnTheLeftEdge) {
    ContourFixture f(10, 1);
    f.BTRange(1, 0, 0) = 400;
    ContourChart chart;
    Move_Data_To_Chart3d_Array(chart, f.View, 500);
    SetMargins(chart.Frame, 50, 60, 30, 40);
    const auto points = BT_Contour_Points(chart, 400, 270, f.View.Source);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_DOUBLE_EQ(points[0].X, 50);
}

// Pixels where two surfaces differ.
std::vector<std::pair<int, int>> Differences(const Surface& a, const Surface& b) {
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) out.push_back({x, y});
    return out;
}

TEST(ContourLocators, LinesMarkTheProfileColumnAndTheSeriesRowsAndComeOffAgain) {
    ContourFixture f(20, 29);
    f.View.Axes.FirstBinShown = 2;
    f.View.Axes.LastBinShown = 11; // ten rows of 20 pixels
    ContourChart chart;
    Move_Data_To_Chart3d_Array(chart, f.View, 500);
    SetMargins(chart.Frame, 50, 60, 30, 40);
    FakeSurface picture(400, 270), before(400, 270);
    // Ensemble 104 is column 3 of 10-pixel columns: centre x = 50 + 35 = 85.
    Toggle_Profile_Line(chart, picture, 104);
    const auto changed = Differences(picture, before);
    ASSERT_GT(changed.size(), 80u); // a dotted line down a 200-pixel plot
    for (auto [x, y] : changed) EXPECT_EQ(x, 85) << y;
    Toggle_Profile_Line(chart, picture, 104);
    Toggle_Profile_Line(chart, picture, 100); // outside the set: nothing
    EXPECT_TRUE(Differences(picture, before).empty());
    // An indexed set's numbers: 104 is in columns 5 and 6, the line marks the first; 125 is in none.
    chart.Axes.ColumnNumbers.resize(29);
    for (int k = 0; k < 29; ++k) chart.Axes.ColumnNumbers[static_cast<size_t>(k)] = 101 + k;
    chart.Axes.ColumnNumbers[3] = chart.Axes.ColumnNumbers[24] = 120;
    chart.Axes.ColumnNumbers[5] = chart.Axes.ColumnNumbers[6] = 104;
    Toggle_Profile_Line(chart, picture, 104);
    const auto indexed = Differences(picture, before);
    ASSERT_GT(indexed.size(), 80u);
    for (auto [x, y] : indexed) EXPECT_EQ(x, 105) << y;
    Toggle_Profile_Line(chart, picture, 104);
    Toggle_Profile_Line(chart, picture, 125);
    EXPECT_TRUE(Differences(picture, before).empty());
    chart.Axes.ColumnNumbers.clear();

    std::array<bool, 256> bins{};
    bins[1] = bins[3] = bins[11] = bins[12] = true; // 1 and 12 lie outside the bins shown
    Toggle_Series_Line(chart, picture, bins);
    std::set<int> rows, columns;
    for (auto [x, y] : Differences(picture, before)) {
        rows.insert(y);
        columns.insert(x);
    }
    // Bin 3 is row 1 from the bottom: 230 - 10 - 20 = 200; bin 11 is the top row: 230 - 10 - 180 = 40.
    EXPECT_EQ(rows, (std::set<int>{40, 200}));
    EXPECT_EQ(*columns.begin(), 50);
    EXPECT_EQ(*columns.rbegin(), 339);
    Toggle_Series_Line(chart, picture, bins);
    EXPECT_TRUE(Differences(picture, before).empty());
}

} // namespace
} // namespace mvx
