// The chart frame drawn with real fonts on an image surface.
#include "charts/ChartFrame.h"
#include "platform/QtSurface.h"

#include "GuiApp.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mvx {
namespace {

class ChartFrameQt : public ::testing::Test {
  protected:
    void SetUp() override {
        test::EnsureGuiApp();
        Init_Color_Table(colors);
    }
    ColorTableArray colors{};
};

struct DarkPixels {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
    long Count = 0;
    double SumX = 0;
};

DarkPixels DarkIn(const Surface& s, int x0, int y0, int x1, int y1) {
    DarkPixels d;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (s.GetPixel(x, y) == kBlack) {
                d.Left = std::min(d.Left, x);
                d.Right = std::max(d.Right, x);
                d.Top = std::min(d.Top, y);
                d.Bottom = std::max(d.Bottom, y);
                ++d.Count;
                d.SumX += x;
            }
    return d;
}

TEST_F(ChartFrameQt, VerticalTitleIsTallThinAndTurnedTheRightWay) {
    // "W" fills the full cap height; the dots after it sit on the baseline only.
    const std::string text = "W.......";
    for (bool upwards : {true, false}) {
        QtSurface s(100, 200);
        s.SetFont("Arial", 12, false);
        const int w = s.TextWidth(text), h = s.TextHeight(text);
        PrintVerticalTitle(s, text, 30, 150, upwards);
        const DarkPixels all = DarkIn(s, 0, 0, 99, 199);
        ASSERT_GT(all.Count, 20);
        // Inside the turned text box x 30..30+h-1, y 150-w+1..150, and tall and thin.
        EXPECT_GE(all.Left, 30);
        EXPECT_LE(all.Right, 30 + h - 1);
        EXPECT_GE(all.Top, 150 - w + 1);
        EXPECT_LE(all.Bottom, 150);
        EXPECT_GT(all.Bottom - all.Top, 2 * (all.Right - all.Left));
        // The "W" is the big blob at the start of the text: at the bottom when reading upwards. The dots
        // sit on the baseline, towards the glyph bottoms: right of centre when reading upwards.
        const int middle = (all.Top + all.Bottom) / 2;
        const DarkPixels upper = DarkIn(s, 0, 0, 99, middle), lower = DarkIn(s, 0, middle + 1, 99, 199);
        const DarkPixels& glyph = upwards ? lower : upper;
        const DarkPixels& dots = upwards ? upper : lower;
        EXPECT_GT(glyph.Count, dots.Count);
        EXPECT_EQ(dots.SumX / dots.Count > (all.Left + all.Right) / 2.0, upwards);
    }
}

// A whole frame: 100 ensembles by 30 bins of a down-looking set over two hours.
TEST_F(ChartFrameQt, RenderedFrameTicksLandWhereTheyAreStored) {
    QtSurface s(10, 10);
    ChartState st;
    const ChartSurfaceSize size = Layout_Chart_Surface(s, 800, 400, 30, st);
    s.Resize(size.SurfaceWidth, size.SurfaceHeight);
    st.ScaleLabel = "Scale (mm/s)";
    st.ScaleMin = -500;
    st.ScaleMax = 500;
    st.DataMin = -800;
    st.DataMax = 700;
    Place_Chart_Texts(s, st);

    ChartAxesInput in;
    in.OrientationBalance = 3;
    in.NumCells = 30;
    in.FirstBinShown = 1;
    in.LastBinShown = 30;
    in.CellLength = 0.5;
    in.Bin1Distance = 1.0;
    in.FirstEnsNumber = 1000;
    in.LastEnsNumber = 1099;
    in.NumEnsembles = 100;
    in.SetDuration = 7200;

    // One pixel per cell, stretched into the plot: ensemble e, bin row r gets palette index (e + r) % 100.
    QtSurface raster(100, 30);
    for (int e = 0; e < 100; ++e)
        for (int r = 0; r < 30; ++r) raster.SetPixel(e, 29 - r, colors[(e + r) % 100]);
    const int plotW = static_cast<int>(size.PlotWidth), plotH = static_cast<int>(size.PlotHeight);
    const int left = static_cast<int>(st.LeftMargin), top = static_cast<int>(st.TopMargin);
    s.StretchFrom(raster, left, top, plotW, plotH);

    ChartTicks ticks;
    Draw_Color_Scale(s, st, colors);
    Draw_Range_Axis(s, st, in, ticks);
    Draw_Bin_Axis(s, st, in);
    Draw_Ensemble_Axis(s, st, in);
    Draw_Time_Axis(s, st, in, ticks);

    // Cells: the centre of ensemble 37, bin row 4 (counted from the bottom).
    const double colW = size.PlotWidth / 100, rowH = size.PlotHeight / 30;
    EXPECT_EQ(s.GetPixel(left + static_cast<int>(37.5 * colW), top + static_cast<int>((30 - 4 - 0.5) * rowH)),
              colors[41]);

    // Two hours in minutes, step 30: 0, 30, 60, 90, 120, from the first column centre to the last.
    ASSERT_EQ(ticks.TimeTickCount, 5);
    EXPECT_EQ(ticks.TimeTickX[0], std::lround(left + colW / 2));
    EXPECT_NEAR(ticks.TimeTickX[4], left + size.PlotWidth - colW / 2, 0.5);
    for (int i = 0; i < ticks.TimeTickCount; ++i)
        EXPECT_EQ(s.GetPixel(ticks.TimeTickX[i], top - 1), kBlack) << "time tick " << i;

    // Range: bins 1..30 of 0.5 m from 1 m: -15.75 m at the bottom edge to -0.75 m at the top, step 5.
    ASSERT_EQ(ticks.RangeTickCount, 3); // -15, -10, -5
    for (int i = 0; i < ticks.RangeTickCount; ++i) {
        const int y = static_cast<int>(std::nearbyint(ticks.RangeTickY[i]));
        EXPECT_EQ(s.GetPixel(left - 1, y), kBlack) << "range tick " << i;
        EXPECT_GT(DarkIn(s, 0, y - 3, left - 4, y + 3).Count, 0) << "range label " << i;
    }
    // -15 lies lowest, 0.5 m above the centre of the deepest bin (15.5 m), the bottom row's.
    EXPECT_NEAR(ticks.RangeTickY[0], top + size.PlotHeight - rowH / 2 - rowH, 1e-3);
}

} // namespace
} // namespace mvx
