// The chart frame on a surface with fixed text metrics: every character 6 pixels wide, 10 tall.
#include "charts/ChartFrame.h"

#include "FakeSurface.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace mvx {
namespace {

using test::FakeSurface;
using test::PrintedText;
using Strings = std::vector<std::string>;

// A 400 x 270 surface with margins 50/60 left/right and 30/40 top/bottom: the plot is 290 x 200 and its
// bottom edge at y = 230.
ChartState FrameState() {
    ChartState st;
    st.LeftMargin = 50;
    st.RightMargin = 60;
    st.TopMargin = 30;
    st.BottomMargin = 40;
    return st;
}

std::vector<PrintedText> NonEmpty(const std::vector<PrintedText>& texts) {
    std::vector<PrintedText> out;
    for (const auto& t : texts)
        if (!t.Text.empty()) out.push_back(t);
    return out;
}

Strings Labels(const std::vector<PrintedText>& texts) {
    Strings out;
    for (const auto& t : texts) out.push_back(t.Text);
    return out;
}

TEST(EnsembleAxis, LabelsMultiplesOfTheStepAndSkipsOverlaps) {
    FakeSurface s(400, 270);
    ChartAxesInput in;
    in.NumEnsembles = 29; // columns 10 pixels wide
    in.FirstEnsNumber = 100;
    in.LastEnsNumber = 128;
    Draw_Ensemble_Axis(s, FrameState(), in);
    // Half-range (127 - 101) / 2 = 13 gives step 2 from 102. The next label must start right of the
    // previous centre plus the width of "127" (18), so every second multiple is printed.
    const auto texts = NonEmpty(s.Texts);
    ASSERT_EQ(Labels(texts), (Strings{"102", "106", "110", "114", "118", "122", "126"}));
    EXPECT_DOUBLE_EQ(texts[0].X, (102 - 100 + 0.5) * 10 + 50 - 9 + 1); // centred under its column
    EXPECT_DOUBLE_EQ(texts[0].Y, 230 + 2.5); // under a tick a quarter of the text height long
    EXPECT_EQ(s.GetPixel(75, 231), kBlack);  // the tick of 102
}

TEST(RangeAxis, DownLookingRangesAreNegativeAndGrowTowardsZeroUpwards) {
    ChartAxesInput in;
    in.OrientationBalance = 1;
    in.NumCells = 20;
    in.LastBinShown = 20; // rows of 10 pixels
    in.CellLength = 1;
    in.Bin1Distance = 2;
    in.NumEnsembles = 29;
    in.ShowGrid = true;
    FakeSurface s(400, 270);
    ChartTicks ticks;
    ticks.RangeTickCount = 7; // reset by the axis
    Draw_Range_Axis(s, FrameState(), in, ticks);
    // The bottom row is the farthest bin, centre 21 m, at y = 225, 10 pixels a metre. Span 20 m:
    // labels every 5 m from -20 up to -5 (0 lies beyond the top edge at -1.5 m).
    const auto texts = NonEmpty(s.Texts);
    ASSERT_EQ(Labels(texts), (Strings{"-20", "-15", "-10", "-5"}));
    ASSERT_EQ(ticks.RangeTickCount, 4);
    const double ys[] = {215, 165, 115, 65};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(ticks.RangeTickY[i], static_cast<float>(ys[i]));
        EXPECT_DOUBLE_EQ(texts[i].Y, ys[i] - 5);
        EXPECT_DOUBLE_EQ(texts[i].X + s.TextWidth(texts[i].Text), 50 - 0.6 * 6); // right-aligned
    }
    EXPECT_EQ(s.GetPixel(200, 215), kBlack); // the grid line
}

TEST(RangeAxis, UpwardLookingSubMetreSpanGetsDecimals) {
    FakeSurface s(400, 270);
    ChartAxesInput in;
    in.NumCells = 10;
    in.LastBinShown = 10; // rows of 20 pixels, 80 pixels a metre
    in.CellLength = 0.25;
    in.Bin1Distance = 0.5;
    ChartTicks ticks;
    Draw_Range_Axis(s, FrameState(), in, ticks);
    // From the top of the first bin (0.625 m) to the bottom of the last (2.625 m): step 0.5.
    EXPECT_EQ(Labels(NonEmpty(s.Texts)), (Strings{"1.0", "1.5", "2.0", "2.5"}));
    ASSERT_EQ(ticks.RangeTickCount, 4);
    EXPECT_FLOAT_EQ(ticks.RangeTickY[0], 180); // 0.5 m above the bottom row centre (220)
    EXPECT_FLOAT_EQ(ticks.RangeTickY[3], 60);
}

// The tick stores are fixed arrays: crowded axes must stop counting at their last entry and overwrite it.
TEST(AxisTicks, StoresNeverRunPastTheirLastEntry) {
    // Zero-height labels never overlap; a 12 km span gives step 1 m and 400 candidates (2 per bin).
    FakeSurface s(400, 270, 6, 0);
    ChartAxesInput in;
    in.NumCells = 200;
    in.LastBinShown = 200; // 1-pixel rows
    in.CellLength = 60;
    ChartTicks ticks;
    Draw_Range_Axis(s, FrameState(), in, ticks);
    EXPECT_EQ(ticks.RangeTickCount, 256);
    // Values from 30 m on, y = 229.5 - v / 60; the last candidate, 429 m, lands in entry 256.
    EXPECT_NEAR(ticks.RangeTickY[255], 229.5 - 285 / 60.0, 1e-4);
    EXPECT_NEAR(ticks.RangeTickY[256], 229.5 - 429 / 60.0, 1e-4);

    // 12000 days: step 80 days, 151 labels; zero-width labels never overlap.
    FakeSurface t(400, 270, 0, 10);
    ChartAxesInput time;
    time.NumEnsembles = 29;
    time.SetDuration = 86400.0 * 12000;
    Draw_Time_Axis(t, FrameState(), time, ticks);
    EXPECT_EQ(ticks.TimeTickCount, 100);
    EXPECT_EQ(ticks.TimeTickX[99], 240);  // day 7920: 55 + 280 * 7920 / 12000 = 239.8
    EXPECT_EQ(ticks.TimeTickX[100], 335); // the last label, day 12000
}

TEST(BinAxis, NumbersFollowTheInstrument) {
    ChartAxesInput in;
    in.FirstBinShown = 3;
    in.LastBinShown = 7; // 5 rows of 40 pixels
    in.NumCells = 20;
    for (int orientation : {0, 1}) {
        FakeSurface s(400, 270);
        in.OrientationBalance = orientation;
        Draw_Bin_Axis(s, FrameState(), in);
        const auto texts = NonEmpty(s.Texts);
        const Strings expected =
            orientation == 0 ? Strings{"3", "4", "5", "6", "7"} : Strings{"18", "17", "16", "15", "14"};
        ASSERT_EQ(Labels(texts), expected);
        for (int k = 0; k < 5; ++k) EXPECT_DOUBLE_EQ(texts[k].Y, 230 - 20 - 40.0 * k - 5);
        EXPECT_DOUBLE_EQ(texts[0].X, 340 + 3);
    }
}

TEST(TimeAxis, TicksAreStoredAndLabelsWithTheirUnitNeverRunIntoEachOther) {
    // One hour over 29 columns of 10 pixels: minutes, step 10, from the first column centre (55) to the
    // last (335), a candidate every 46.7 pixels; a label starts only beyond x + 36 (the width of "60 min"),
    // which keeps every other one. One minute over 2 columns of 192 pixels: the first centre at 146, a
    // candidate every 32 pixels, and "10 sec" is 36 wide. No duration: one tick on the first column.
    const struct {
        int Width, Ensembles;
        double Duration;
        Strings Labels;
        std::vector<int32_t> X;
    } cases[] = {{400, 29, 3600, {"0 min", "20 min", "40 min", "60 min"}, {55, 148, 242, 335}},
                 {494, 2, 60, {"0 sec", "20 sec", "40 sec", "60 sec"}, {146, 210, 274, 338}},
                 {400, 29, 0, {"0 sec"}, {55}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Duration);
        FakeSurface s(c.Width, 270);
        ChartAxesInput in;
        in.NumEnsembles = c.Ensembles;
        in.SetDuration = c.Duration;
        in.ShowGrid = true;
        ChartTicks ticks;
        Draw_Time_Axis(s, FrameState(), in, ticks);
        const auto texts = NonEmpty(s.Texts);
        EXPECT_EQ(Labels(texts), c.Labels);
        EXPECT_EQ(
            std::vector<int32_t>(ticks.TimeTickX.begin(), ticks.TimeTickX.begin() + ticks.TimeTickCount),
            c.X);
        for (size_t i = 1; i < texts.size(); ++i)
            EXPECT_LT(texts[i - 1].X + s.TextWidth(texts[i - 1].Text), texts[i].X) << texts[i].Text;
        EXPECT_DOUBLE_EQ(texts[0].X, c.X[0] - s.TextWidth(c.Labels[0]) / 2 + 1);
        EXPECT_DOUBLE_EQ(texts[0].Y, 30 - 10 - 1);
        EXPECT_EQ(s.GetPixel(c.X[0], 200), kBlack); // the grid line
    }
}

// Side margins of 50 and a plot of 2 pixels a box: 100, 108 or 140 boxes.
ChartState BarState(int32_t scaleMin, int32_t scaleMax, int32_t dataMin, int32_t dataMax) {
    ChartState st;
    st.LeftMargin = st.RightMargin = 50;
    st.ScaleMin = scaleMin;
    st.ScaleMax = scaleMax;
    st.DataMin = dataMin;
    st.DataMax = dataMax;
    st.ScaleLabel = "Scale"; // 30 pixels
    st.ScaleLabelX = 400;
    return st;
}

TEST(ColorScaleBar, ClippedAtOneEndStillDrawsBothClipBoxes) {
    ColorTableArray colors;
    Init_Color_Table(colors);
    const ColorRef back = Rgb(255, 255, 200);
    FakeSurface s(964, 100); // 108 boxes
    s.SetBackColor(back);
    s.Clear();
    Draw_Color_Scale(s, BarState(0, 100, 0, 120), colors);
    // Left edge (30 - 216) / 2 + 400 = 307: grey 307..315, palette 315..515, white 515..523.
    const std::pair<int, ColorRef> row[] = {{305, back},      {308, Rgb(128, 128, 128)},
                                            {316, colors[0]}, {514, colors[99]},
                                            {518, kWhite},    {525, back}};
    for (auto [x, c] : row) EXPECT_EQ(s.GetPixel(x, 5), c) << x;
}

TEST(ColorScaleBar, EndAndMiddleLabels) {
    ColorTableArray colors;
    Init_Color_Table(colors);
    // Constant data: the scale collapses to 0..0 and the end labels read 0 (data 7 clips the bar).
    ChartState constant = BarState(0, 0, 0, 0);
    Resolve_Scale(Compute_Scale_Statistics(std::vector<int32_t>{7, 7, 7}), ScaleRule{}, constant);
    FakeSurface s(964, 100);
    Draw_Color_Scale(s, constant, colors);
    EXPECT_EQ(Labels(s.TextsAtY(11)), (Strings{"0", "0", "0"}));
    EXPECT_EQ(s.GetPixel(316, 5), colors[0]); // the palette boxes are still drawn

    FakeSurface d(1220, 100); // direction: 140 boxes, labels 70 boxes either side of the centre 415
    ChartState dir = BarState(0, 360, 0, 360);
    dir.DirectionScale = true;
    Draw_Color_Scale(d, dir, colors);
    EXPECT_EQ(d.GetPixel(276, 5), colors[400]);
    EXPECT_EQ(d.GetPixel(276 + 2 * 139, 5), colors[539]);
    const auto numbers = d.TextsAtY(11);
    ASSERT_EQ(Labels(numbers), (Strings{"0", "180", "360"}));
    EXPECT_DOUBLE_EQ(numbers[2].X, 415 + 140 - 9);
}

TEST(VerticalTitle, CopiesTheScratchPictureBackgroundIncluded) {
    // "abc" is 18 x 10 and marks x = 0, 6, 12 of its top row.
    const ColorRef blue = Rgb(0, 0, 255);
    for (bool upwards : {true, false}) {
        FakeSurface s(100, 100);
        s.FillBox(0, 0, 99, 99, blue);
        PrintVerticalTitle(s, "abc", 20, 60, upwards);
        int marks = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool inside = x >= 20 && x <= 29 && y >= 43 && y <= 60; // the turned 10 x 18 box
                const ColorRef c = s.GetPixel(x, y);
                EXPECT_EQ(c != blue, inside) << x << "," << y;
                marks += c == kBlack;
            }
        EXPECT_EQ(marks, 3);
        // Upwards the first character is at the bottom with glyph tops to the left; downwards at the top
        // with glyph tops to the right.
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(upwards ? s.GetPixel(20, 60 - 6 * i) : s.GetPixel(29, 43 + 6 * i), kBlack) << i;
    }
}

TEST(ChartLayout, FontShrinksToFitHeightThenWidth) {
    FakeSurface s(10, 10);
    s.FollowFont = true; // a character as wide as the font size and twice as tall
    ChartState st;
    // Height share 150: 10 heights fit from size 7; width share 200: 40 widths fit from size 5.
    ChartSurfaceSize size = Layout_Chart_Surface(s, 200, 150, 4, st);
    EXPECT_EQ(size.FontSize, 5);
    // Margins 3 and 4 text heights top and bottom, at least 50 and 60 at the sides.
    EXPECT_EQ((std::array<float, 4>{st.TopMargin, st.BottomMargin, st.LeftMargin, st.RightMargin}),
              (std::array<float, 4>{30, 40, 50, 60}));
    EXPECT_DOUBLE_EQ(size.PlotWidth, 90);
    EXPECT_DOUBLE_EQ(size.PlotHeight, 60); // 80 for 4 bins is 20 a bin: capped at 15
    EXPECT_EQ(Layout_Chart_Surface(s, 2000, 1000, 100, st).FontSize, 10);
    EXPECT_EQ(Layout_Chart_Surface(s, 20, 5, 4, st).FontSize, 1); // never below 1
}

} // namespace
} // namespace mvx
