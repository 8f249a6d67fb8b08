// The chart frame on a surface with fixed text metrics: every character 6 pixels wide, 10 tall.
#include "charts/ChartFrame.h"

#include "FakeSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mvx {
namespace {

using test::FakeSurface;
using test::PrintedText;

// A 400 x 270 surface with margins 50/60 left/right and 30/40 top/bottom: the plot is 290 x 200 and its
// bottom edge is at y = 230.
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

std::vector<std::string> Labels(const std::vector<PrintedText>& texts) {
    std::vector<std::string> out;
    for (const auto& t : texts) out.push_back(t.Text);
    return out;
}

TEST(EnsembleAxis, LabelsMultiplesOfTheStepAndSkipsOverlaps) {
    FakeSurface s(400, 270);
    const ChartState st = FrameState();
    ChartAxesInput in;
    in.NumEnsembles = 29; // columns 10 pixels wide
    in.FirstEnsNumber = 100;
    in.LastEnsNumber = 128;
    Draw_Ensemble_Axis(s, st, in);
    // Half-range (127 - 101) / 2 = 13 gives step 2 from 102. After a label the next one must start right
    // of its centre plus the width of "127" (18), so every second multiple is printed.
    const auto texts = NonEmpty(s.Texts);
    ASSERT_EQ(Labels(texts), (std::vector<std::string>{"102", "106", "110", "114", "118", "122", "126"}));
    for (const auto& t : texts) {
        const double centre = (std::stoi(t.Text) - 100 + 0.5) * 10 + 50;
        EXPECT_DOUBLE_EQ(t.X, centre - 9 + 1) << t.Text;
        EXPECT_DOUBLE_EQ(t.Y, 230 + 2.5) << t.Text; // under a tick a quarter of the text height long
    }
    ASSERT_EQ(s.Lines.size(), texts.size());
    EXPECT_DOUBLE_EQ(s.Lines[0].X1, 75);
    EXPECT_DOUBLE_EQ(s.Lines[0].Y1, 230);
    EXPECT_DOUBLE_EQ(s.Lines[0].Y2, 232.5);
    EXPECT_EQ(s.Lines[0].Color, kBlack);
    EXPECT_EQ(s.GetPixel(75, 231), kBlack);
}

TEST(EnsembleAxis, NarrowPlotStillPlacesLabelsByEnsembleNumber) {
    // 1000 ensembles on 290 pixels: columns of 0.29 pixels, fewer pixels than ensembles.
    FakeSurface s(400, 270);
    ChartAxesInput in;
    in.NumEnsembles = 1000;
    in.FirstEnsNumber = 0;
    in.LastEnsNumber = 999;
    Draw_Ensemble_Axis(s, FrameState(), in);
    const auto texts = NonEmpty(s.Texts);
    // Step 50 (half-range 498.5); a label 50 further on would start inside the previous one's limit.
    std::vector<std::string> expected;
    for (int e = 50; e <= 950; e += 100) expected.push_back(std::to_string(e));
    EXPECT_EQ(Labels(texts), expected);
    for (size_t i = 1; i < texts.size(); ++i)
        EXPECT_GT(texts[i].X, texts[i - 1].X + s.TextWidth(texts[i - 1].Text)) << "labels overlap at " << i;
    EXPECT_NEAR(texts.front().X, (50 + 0.5) * 0.29 + 50 - 6 + 1, 1e-9);
}

TEST(EnsembleAxis, TooFewEnsemblesPrintOnlyTheTitle) {
    FakeSurface s(400, 270);
    ChartState st = FrameState();
    st.EnsembleAxisTitle = "Ens";
    st.EnsembleTitleX = 10;
    st.EnsembleTitleY = 250;
    ChartAxesInput in;
    in.NumEnsembles = 2;
    in.FirstEnsNumber = 5;
    in.LastEnsNumber = 6; // half-range (5 - 6) / 2 is negative
    Draw_Ensemble_Axis(s, st, in);
    ASSERT_EQ(NonEmpty(s.Texts).size(), 1u);
    EXPECT_EQ(s.Texts.back().Text, "Ens");
    EXPECT_DOUBLE_EQ(s.Texts.back().X, 10);
    EXPECT_TRUE(s.Lines.empty());
}

ChartAxesInput DownLooking() {
    ChartAxesInput in;
    in.OrientationBalance = 1;
    in.NumCells = 20;
    in.FirstBinShown = 1;
    in.LastBinShown = 20; // rows of 10 pixels
    in.CellLength = 1;
    in.Bin1Distance = 2;
    in.NumEnsembles = 29;
    return in;
}

TEST(RangeAxis, DownLookingRangesAreNegativeAndGrowTowardsZeroUpwards) {
    FakeSurface s(400, 270);
    ChartTicks ticks;
    ticks.RangeTickCount = 7; // reset by the axis
    Draw_Range_Axis(s, FrameState(), DownLooking(), ticks);
    // The bottom row is the farthest bin, centre 21 m, at y = 225; 10 pixels a metre. Labels every 5 m
    // (span 20 m) from -20 up to -5 (0 lies beyond the top edge at -1.5 m).
    const auto texts = NonEmpty(s.Texts);
    ASSERT_EQ(Labels(texts), (std::vector<std::string>{"-20", "-15", "-10", "-5"}));
    const double ys[] = {215, 165, 115, 65};
    ASSERT_EQ(ticks.RangeTickCount, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(ticks.RangeTickY[i], static_cast<float>(ys[i]));
        EXPECT_DOUBLE_EQ(texts[i].Y, ys[i] - 5);
        // Right-aligned: the label ends 0.6 "W" widths left of the plot.
        EXPECT_DOUBLE_EQ(texts[i].X + s.TextWidth(texts[i].Text), 50 - 0.6 * 6);
        EXPECT_DOUBLE_EQ(s.Lines[i].X1, 47);
        EXPECT_DOUBLE_EQ(s.Lines[i].X2, 50);
        EXPECT_DOUBLE_EQ(s.Lines[i].Y1, ys[i]);
    }
    EXPECT_EQ(s.GetPixel(48, 215), kBlack);
}

TEST(RangeAxis, GridLinesCrossThePlot) {
    FakeSurface s(400, 270);
    ChartAxesInput in = DownLooking();
    in.ShowGrid = true;
    ChartTicks ticks;
    Draw_Range_Axis(s, FrameState(), in, ticks);
    ASSERT_FALSE(s.Lines.empty());
    EXPECT_DOUBLE_EQ(s.Lines[0].X1, 47);
    EXPECT_DOUBLE_EQ(s.Lines[0].X2, 50 + 29 * 10.0);
    EXPECT_EQ(s.GetPixel(200, 215), kBlack);
}

TEST(RangeAxis, UpwardLookingSubMetreSpanGetsDecimals) {
    FakeSurface s(400, 270);
    ChartAxesInput in;
    in.OrientationBalance = 0;
    in.NumCells = 10;
    in.FirstBinShown = 1;
    in.LastBinShown = 10; // rows of 20 pixels, 80 pixels a metre
    in.CellLength = 0.25;
    in.Bin1Distance = 0.5;
    ChartTicks ticks;
    Draw_Range_Axis(s, FrameState(), in, ticks);
    // From the top of the first bin (0.625 m) to the bottom of the last (2.625 m): step 0.5.
    const auto texts = NonEmpty(s.Texts);
    ASSERT_EQ(Labels(texts), (std::vector<std::string>{"1.0", "1.5", "2.0", "2.5"}));
    const float ys[] = {180, 140, 100, 60};
    ASSERT_EQ(ticks.RangeTickCount, 4);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(ticks.RangeTickY[i], ys[i]);
}

TEST(RangeAxis, TickCountStopsAt256AndTheLastEntryIsOverwritten) {
    // Zero-height labels never overlap; a 12 km span gives step 1 m and 400 candidate labels (2 per bin).
    FakeSurface s(400, 270, 6, 0);
    ChartAxesInput in;
    in.NumCells = 200;
    in.FirstBinShown = 1;
    in.LastBinShown = 200; // 1-pixel rows
    in.CellLength = 60;
    ChartTicks ticks;
    Draw_Range_Axis(s, FrameState(), in, ticks);
    EXPECT_EQ(ticks.RangeTickCount, 256);
    // Values run from 30 m; y = 229.5 - (v - 0) / 60.
    EXPECT_NEAR(ticks.RangeTickY[0], 229.5 - 30 / 60.0, 1e-4);
    EXPECT_NEAR(ticks.RangeTickY[255], 229.5 - 285 / 60.0, 1e-4);
    EXPECT_NEAR(ticks.RangeTickY[256], 229.5 - 429 / 60.0, 1e-4);
}

TEST(BinAxis, NumbersRunUpwardsOrDownwardsWithTheInstrument) {
    ChartAxesInput in;
    in.FirstBinShown = 3;
    in.LastBinShown = 7; // 5 rows of 40 pixels
    in.NumCells = 20;
    for (int orientation : {0, 1}) {
        FakeSurface s(400, 270);
        in.OrientationBalance = orientation;
        Draw_Bin_Axis(s, FrameState(), in);
        const auto texts = NonEmpty(s.Texts);
        const std::vector<std::string> expected =
            orientation == 0 ? std::vector<std::string>{"3", "4", "5", "6", "7"}
                             : std::vector<std::string>{"18", "17", "16", "15", "14"};
        ASSERT_EQ(Labels(texts), expected);
        for (int k = 0; k < 5; ++k) {
            const double y = 230 - 20 - 40.0 * k;
            EXPECT_DOUBLE_EQ(texts[k].X, 340 + 3);
            EXPECT_DOUBLE_EQ(texts[k].Y, y - 5);
            EXPECT_DOUBLE_EQ(s.Lines[k].X1, 340);
            EXPECT_DOUBLE_EQ(s.Lines[k].X2, 341.5);
            EXPECT_DOUBLE_EQ(s.Lines[k].Y1, y);
        }
    }
}

TEST(BinAxis, RowsAsTallAsTheTextLabelEveryOtherBin) {
    FakeSurface s(400, 270);
    ChartAxesInput in;
    in.FirstBinShown = 1;
    in.LastBinShown = 20; // rows of 10 pixels, labels 10 tall
    Draw_Bin_Axis(s, FrameState(), in);
    std::vector<std::string> expected;
    for (int b = 1; b <= 19; b += 2) expected.push_back(std::to_string(b));
    EXPECT_EQ(Labels(NonEmpty(s.Texts)), expected);
}

TEST(TimeAxis, TicksFromTheFirstToTheLastColumnCentre) {
    FakeSurface s(400, 270);
    ChartAxesInput in;
    in.NumEnsembles = 29; // columns of 10 pixels
    in.SetDuration = 3600;
    in.ShowGrid = true;
    ChartTicks ticks;
    Draw_Time_Axis(s, FrameState(), in, ticks);
    // One hour: minutes, step 10; 280 pixels from the first column centre (55) to the last (335).
    const int32_t expected[] = {55, 102, 148, 195, 242, 288, 335};
    ASSERT_EQ(ticks.TimeTickCount, 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(ticks.TimeTickX[i], expected[i]) << i;
    const auto texts = NonEmpty(s.Texts);
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[0].Text, "0 min");
    EXPECT_EQ(texts[6].Text, "60 min");
    EXPECT_DOUBLE_EQ(texts[0].X, 55 - 15 + 1);
    EXPECT_DOUBLE_EQ(texts[0].Y, 30 - 10 - 1);
    // Grid lines run from a quarter text height above the plot down to its bottom.
    EXPECT_DOUBLE_EQ(s.Lines[0].Y1, 27.5);
    EXPECT_DOUBLE_EQ(s.Lines[0].Y2, 230);
    EXPECT_EQ(s.GetPixel(55, 200), kBlack);
}

TEST(TimeAxis, ZeroDurationPutsTheOnlyTickOnTheFirstColumn) {
    FakeSurface s(400, 270);
    ChartAxesInput in;
    in.NumEnsembles = 29;
    ChartTicks ticks;
    ticks.TimeTickCount = 50;
    Draw_Time_Axis(s, FrameState(), in, ticks);
    ASSERT_EQ(ticks.TimeTickCount, 1);
    EXPECT_EQ(ticks.TimeTickX[0], 55);
    EXPECT_EQ(NonEmpty(s.Texts).front().Text, "0 sec");
    EXPECT_DOUBLE_EQ(s.Lines[0].Y2, 30); // no grid: the tick stops at the plot top
}

TEST(TimeAxis, TickCountStopsAt100AndTheLastEntryIsOverwritten) {
    // 12000 days: step 80 days, 151 labels; zero-width labels never overlap.
    FakeSurface s(400, 270, 0, 10);
    ChartAxesInput in;
    in.NumEnsembles = 29;
    in.SetDuration = 86400.0 * 12000;
    ChartTicks ticks;
    Draw_Time_Axis(s, FrameState(), in, ticks);
    EXPECT_EQ(ticks.TimeTickCount, 100);
    EXPECT_EQ(ticks.TimeTickX[99], 240);  // day 7920: 55 + 280 * 7920 / 12000 = 239.8
    EXPECT_EQ(ticks.TimeTickX[100], 335); // the last label, day 12000
}

// A 900-wide surface with 50-pixel side margins: the plot is 800 wide, so 100 boxes are 2 pixels each.
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

TEST(ColorScaleBar, PaletteBoxesCentredOnTheLabel) {
    ColorTableArray colors;
    Init_Color_Table(colors);
    FakeSurface s(900, 100);
    Draw_Color_Scale(s, BarState(0, 100, 0, 100), colors);
    // Left edge (30 - 200) / 2 + 400 = 315; box i covers 315 + 2i .. 317 + 2i.
    for (int i = 0; i < 100; ++i) EXPECT_EQ(s.GetPixel(316 + 2 * i, 5), colors[i]) << i;
    // Outline from the first box to the last, rows 1 to 10 (one more than the bar).
    EXPECT_EQ(s.GetPixel(315, 5), kBlack);
    EXPECT_EQ(s.GetPixel(515, 5), kBlack);
    EXPECT_EQ(s.GetPixel(400, 1), kBlack);
    EXPECT_EQ(s.GetPixel(400, 10), kBlack);
    EXPECT_EQ(s.GetPixel(400, 11), kWhite);
    EXPECT_EQ(s.GetPixel(313, 5), kWhite); // no clipping boxes
    // Label one pixel lower than its position; numbers centred under both ends and the middle.
    ASSERT_EQ(s.TextsAtY(1).size(), 1u);
    EXPECT_EQ(s.TextsAtY(1)[0].Text, "Scale");
    const auto numbers = s.TextsAtY(11);
    ASSERT_EQ(Labels(numbers), (std::vector<std::string>{"0", "50", "100"}));
    EXPECT_DOUBLE_EQ(numbers[0].X, 315 - 3);
    EXPECT_DOUBLE_EQ(numbers[1].X, 415 - 6);
    EXPECT_DOUBLE_EQ(numbers[2].X, 515 - 9);
}

TEST(ColorScaleBar, ClippedAtOneEndStillDrawsBothClipBoxes) {
    ColorTableArray colors;
    Init_Color_Table(colors);
    FakeSurface s(964, 100); // 864-pixel plot: 108 boxes of 2 pixels
    s.SetBackColor(Rgb(255, 255, 200));
    s.Clear();
    Draw_Color_Scale(s, BarState(0, 100, 0, 120), colors);
    // Left edge (30 - 216) / 2 + 400 = 307: grey 307..315, palette 315..515, white 515..523.
    EXPECT_EQ(s.GetPixel(308, 5), colors[BelowScaleColor]);
    EXPECT_EQ(s.GetPixel(312, 5), Rgb(128, 128, 128));
    EXPECT_EQ(s.GetPixel(316, 5), colors[0]);
    EXPECT_EQ(s.GetPixel(514, 5), colors[99]);
    EXPECT_EQ(s.GetPixel(518, 5), kWhite);
    EXPECT_EQ(s.GetPixel(523, 5), kWhite);
    EXPECT_EQ(s.GetPixel(525, 5), Rgb(255, 255, 200));
    EXPECT_EQ(s.GetPixel(305, 5), Rgb(255, 255, 200));
}

TEST(ColorScaleBar, DirectionScaleHas140BoxesAndLabelsSeventyBoxesOut) {
    ColorTableArray colors;
    Init_Color_Table(colors);
    FakeSurface s(1220, 100); // 1120-pixel plot: 140 boxes of 2 pixels
    ChartState st = BarState(0, 360, 0, 360);
    st.DirectionScale = true;
    Draw_Color_Scale(s, st, colors);
    // Left edge (30 - 280) / 2 + 400 = 275.
    EXPECT_EQ(s.GetPixel(276, 5), colors[400]);
    EXPECT_EQ(s.GetPixel(276 + 2 * 139, 5), colors[539]);
    const auto numbers = s.TextsAtY(11);
    ASSERT_EQ(Labels(numbers), (std::vector<std::string>{"0", "180", "360"}));
    EXPECT_DOUBLE_EQ(numbers[0].X, 415 - 140 - 3);
    EXPECT_DOUBLE_EQ(numbers[2].X, 415 + 140 - 9);
}

TEST(ColorScaleBar, ConstantDataShowsZeroAtBothEnds) {
    ColorTableArray colors;
    Init_Color_Table(colors);
    ChartState st = BarState(0, 0, 0, 0);
    const std::vector<int32_t> constant{7, 7, 7, 7};
    ScaleRule rule;
    const ColorScaleRange range = Resolve_Scale(Compute_Scale_Statistics(constant), rule, st);
    ASSERT_FALSE(range.Valid);
    FakeSurface s(964, 100);
    Draw_Color_Scale(s, st, colors);
    EXPECT_EQ(Labels(s.TextsAtY(11)), (std::vector<std::string>{"0", "0", "0"}));
    EXPECT_EQ(s.GetPixel(316, 5), colors[0]); // the palette boxes are still there
}

TEST(ColorScaleBar, MiddleLabelTruncatesTowardsZero) {
    ColorTableArray colors;
    Init_Color_Table(colors);
    FakeSurface s(900, 100);
    Draw_Color_Scale(s, BarState(-5, 0, -5, 0), colors);
    EXPECT_EQ(Labels(s.TextsAtY(11)), (std::vector<std::string>{"-5", "-2", "0"}));
}

TEST(VerticalTitle, CopiesTheScratchPictureBackgroundIncluded) {
    // Characters are 6 x 10 and print a mark at each cell's top-left: "abc" is 18 x 10 with marks at
    // x = 0, 6, 12 of the top row.
    const ColorRef blue = Rgb(0, 0, 255);
    for (bool upwards : {true, false}) {
        FakeSurface s(100, 100);
        s.FillBox(0, 0, 99, 99, blue);
        PrintVerticalTitle(s, "abc", 20, 60, upwards);
        // The text covers x 20..29 and y 43..60; everything there is now background or mark.
        int marks = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool inside = x >= 20 && x <= 29 && y >= 43 && y <= 60;
                const ColorRef c = s.GetPixel(x, y);
                if (inside) {
                    EXPECT_TRUE(c == kWhite || c == kBlack) << x << "," << y;
                } else {
                    EXPECT_EQ(c, blue) << x << "," << y;
                }
                marks += c == kBlack;
            }
        EXPECT_EQ(marks, 3);
        if (upwards) { // first character at the bottom, glyph tops to the left
            EXPECT_EQ(s.GetPixel(20, 60), kBlack);
            EXPECT_EQ(s.GetPixel(20, 54), kBlack);
            EXPECT_EQ(s.GetPixel(20, 48), kBlack);
        } else { // first character at the top, glyph tops to the right
            EXPECT_EQ(s.GetPixel(29, 43), kBlack);
            EXPECT_EQ(s.GetPixel(29, 49), kBlack);
            EXPECT_EQ(s.GetPixel(29, 55), kBlack);
        }
    }
}

TEST(ChartLayout, FontShrinksToFitHeightThenWidth) {
    // A character as wide as the font size and twice as tall.
    FakeSurface s(10, 10);
    s.FollowFont = true;
    ChartState st;
    // Height share 150: 10 heights fit from size 7; width share 200: 40 widths fit from size 5.
    ChartSurfaceSize size = Layout_Chart_Surface(s, 200, 150, 4, st);
    EXPECT_EQ(size.FontSize, 5);
    EXPECT_EQ(s.FontName(), "Arial");
    EXPECT_EQ(s.FontSize(), 5);
    EXPECT_FLOAT_EQ(st.TopMargin, 30);    // 3 x 10
    EXPECT_FLOAT_EQ(st.BottomMargin, 40); // 4 x 10 = 40
    EXPECT_FLOAT_EQ(st.LeftMargin, 50);   // 5 x 5 = 25, at least 50
    EXPECT_FLOAT_EQ(st.RightMargin, 60);  // at least 60
    EXPECT_DOUBLE_EQ(size.PlotWidth, 90);
    EXPECT_DOUBLE_EQ(size.PlotHeight, 60); // 80 for 4 bins is 20 a bin: capped at 15
    EXPECT_EQ(size.SurfaceWidth, 200);
    EXPECT_EQ(size.SurfaceHeight, 130);

    size = Layout_Chart_Surface(s, 2000, 1000, 100, st);
    EXPECT_EQ(size.FontSize, 10);
    EXPECT_FLOAT_EQ(st.TopMargin, 60);
    EXPECT_FLOAT_EQ(st.BottomMargin, 80);
    EXPECT_FLOAT_EQ(st.LeftMargin, 50);
    EXPECT_FLOAT_EQ(st.RightMargin, 60);
    EXPECT_DOUBLE_EQ(size.PlotHeight, 860); // 8.6 a bin, under the cap

    size = Layout_Chart_Surface(s, 20, 5, 4, st);
    EXPECT_EQ(size.FontSize, 1); // never below 1
}

} // namespace
} // namespace mvx
