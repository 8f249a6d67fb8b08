// The sub-set window's charts rendered on image surfaces: the layout of the three pictures, the cells,
// constant data, the bottom-track line and the locators.
#include "charts/SubSetCharts.h"
#include "charts/SubSetPlots.h"
#include "platform/QtSurface.h"

#include "GuiApp.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

// A loaded set of ensembles numbered from 201, one metre cells from 1.5 m, 10 s apart.
CoreState MakeCore(int bins, int ensembles) {
    CoreState core;
    Allocate_Data_Set(core.Data, std::max(ensembles, 1), 8, true);
    core.Setup.NumCells = bins;
    core.Setup.CellLength = 1;
    core.Setup.Bin1Distance = 1.5;
    SetDescriptors& s = core.Set;
    s.FileValid = true;
    s.FirstEnsNumber = 201;
    s.LastEnsNumber = 200 + ensembles;
    s.CurrentEnsIndex = ensembles;
    s.FirstBinShown = 1;
    s.LastBinShown = bins;
    s.ProfileEnsNumber = 201;
    s.SetDuration = 10.0 * std::max(ensembles - 1, 0);
    s.OrientationBalance = -ensembles; // up-looking
    core.Opts.ShowLocators = false;
    core.Opts.ShowGrid = false;
    return core;
}

class SubSetRender : public ::testing::Test {
  protected:
    void SetUp() override {
        test::EnsureGuiApp();
        Init_Color_Table(colors);
        charts.WindowWidth = 900;
        charts.WindowHeight = 600;
    }
    void Render(const CoreState& core, int32_t type) { Init_Charts(charts, surfaces, core, colors, type); }
    // The colour at the centre of a cell of the plot (row 0 = first bin shown, at the bottom).
    ColorRef CellColour(int ensemble, int row) const {
        const ChartState& st = charts.Contour.Frame;
        const double w = picture1.Width() - st.LeftMargin - st.RightMargin;
        const double h = picture1.Height() - st.TopMargin - st.BottomMargin;
        const int n = charts.Contour.Axes.NumEnsembles;
        const int b = charts.Contour.Axes.LastBinShown - charts.Contour.Axes.FirstBinShown + 1;
        const int x = static_cast<int>(st.LeftMargin + (ensemble + 0.5) * w / n);
        const int y = static_cast<int>(st.TopMargin + h - (row + 0.5) * h / b);
        return picture1.GetPixel(x, y);
    }

    ColorTableArray colors{};
    QtSurface picture1, picture2, picture4, picture5;
    SubSetSurfaces surfaces{picture1, picture2, picture4, picture5};
    SubSetCharts charts;
};

TEST_F(SubSetRender, ContourAtTheTopRightProfileLeftSeriesBelow) {
    CoreState core = MakeCore(4, 30);
    for (int e = 0; e < 30; ++e)
        for (int b = 0; b < 4; ++b) core.Data.VelData(4, b, e) = static_cast<int16_t>(100 * e + 10 * b);
    Render(core, 500);
    const SubSetLayout& l = charts.Layout;
    // The profile takes a fifth of the width down the whole height.
    EXPECT_EQ(l.Profile.Width, 180);
    EXPECT_EQ(l.Profile.Height, 600);
    // The contour takes the rest of the width at the top right; four bins of at most 15 pixels each.
    EXPECT_EQ(l.Contour.X, 180);
    EXPECT_EQ(l.Contour.Width, 720);
    const ChartState& st = charts.Contour.Frame;
    EXPECT_NEAR(l.Contour.Height, 60 + st.TopMargin + st.BottomMargin, 0.5);
    // The series lies under the contour with its left edge and width, down to the bottom.
    EXPECT_EQ(l.Series.X, l.Contour.X);
    EXPECT_EQ(l.Series.Y, l.Contour.Height);
    EXPECT_EQ(l.Series.Width, l.Contour.Width);
    EXPECT_EQ(l.Series.Y + l.Series.Height, 600);
    // The composite holds each picture at its place, the profile and series with their splitter lines.
    QtSurface composite;
    Compose_Sub_Set_Picture(l, surfaces, composite);
    ASSERT_EQ(composite.Width(), l.Contour.Width + l.Profile.Width);
    ASSERT_EQ(composite.Height(), l.Contour.Height + l.Series.Height);
    for (int y = 0; y < picture1.Height(); y += 7)
        for (int x = 0; x < picture1.Width(); x += 5)
            ASSERT_EQ(composite.GetPixel(l.Contour.X + x, y), picture1.GetPixel(x, y)) << x << "," << y;
    EXPECT_EQ(composite.GetPixel(l.Profile.Width - 1, 400), kBlack);
    EXPECT_EQ(composite.GetPixel(l.Series.X + 100, l.Series.Y + 1), kBlack);
}

TEST_F(SubSetRender, CellsFillTheirColumnsAndRowsFirstBinShownAtTheBottom) {
    CoreState core = MakeCore(6, 4);
    core.Set.FirstBinShown = 3;
    core.Set.LastBinShown = 5;
    core.Opts.ContourScaleMode = 0;
    core.Opts.ContourUserScale = {0, 99};
    // Echo intensity of beam 2 marks each cell with 10 x bin index + 2 x ensemble.
    for (int e = 0; e < 4; ++e)
        for (int b = 0; b < 6; ++b) core.Data.IntensityData(1, b, e) = static_cast<uint8_t>(10 * b + 2 * e);
    Render(core, 2);
    EXPECT_EQ(charts.Contour.Frame.Title, "ECHO INTENSITY Beam 2");
    for (int e = 0; e < 4; ++e)
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(charts.Contour.Cell(r, e), 10 * (2 + r) + 2 * e) << e << "," << r;
            EXPECT_EQ(CellColour(e, r), colors[10 * (2 + r) + 2 * e]) << e << "," << r;
        }
}

TEST_F(SubSetRender, ConstantDataIsPaintedBlack) {
    CoreState core = MakeCore(5, 8);
    for (int e = 0; e < 8; ++e)
        for (int b = 0; b < 5; ++b) core.Data.VelData(4, b, e) = 700;
    core.Opts.ContourScaleMode = 4; // mean -/+ 3 deviations of constant data: an empty range
    Render(core, 500);
    const ChartState& st = charts.Contour.Frame;
    int notBlack = 0;
    for (int y = static_cast<int>(st.TopMargin); y < picture1.Height() - st.BottomMargin; ++y)
        for (int x = static_cast<int>(st.LeftMargin); x < picture1.Width() - st.RightMargin; ++x)
            notBlack += picture1.GetPixel(x, y) != kBlack;
    EXPECT_EQ(notBlack, 0);
    EXPECT_EQ(charts.Contour.StatsLine, "Avg = 700 \xB1"
                                        "0");
}

TEST_F(SubSetRender, LocatorsComeOffExactly) {
    CoreState core = MakeCore(8, 20);
    for (int e = 0; e < 20; ++e)
        for (int b = 0; b < 8; ++b) core.Data.VelData(4, b, e) = static_cast<int16_t>(37 * e + 91 * b);
    Render(core, 500);
    const QImage plain = picture1.Image().copy();
    std::array<bool, 256> bins{};
    bins[2] = bins[5] = true;
    // With the locators on, the rendered chart carries them where the toggles draw them.
    core.Opts.ShowLocators = true;
    core.Set.ProfileEnsNumber = 207;
    core.Opts.SeriesBinSelect = bins;
    Render(core, 500);
    Toggle_Profile_Line(charts.Contour, picture1, 207);
    Toggle_Series_Line(charts.Contour, picture1, bins);
    EXPECT_EQ(picture1.Image(), plain);
}

TEST_F(SubSetRender, BottomTrackLineStaysInsideThePlot) {
    CoreState core = MakeCore(10, 6);
    for (int e = 0; e < 6; ++e)
        for (int beam = 0; beam < 4; ++beam) core.Data.BTRangeData(beam, 0, e) = 300 + 150 * e; // 3 .. 10.5 m
    Render(core, 500);
    const QImage without = picture1.Image().copy();
    core.Opts.ShowBTDepth = true;
    Render(core, 500);
    const ChartState& st = charts.Contour.Frame;
    const int left = static_cast<int>(st.LeftMargin), top = static_cast<int>(st.TopMargin);
    const int right = picture1.Width() - static_cast<int>(st.RightMargin);
    const int bottom = picture1.Height() - static_cast<int>(st.BottomMargin);
    int inside = 0, outside = 0;
    for (int y = 0; y < picture1.Height(); ++y)
        for (int x = 0; x < picture1.Width(); ++x) {
            if (picture1.Image().pixel(x, y) == without.pixel(x, y)) continue;
            (x >= left && x < right && y >= top && y < bottom ? inside : outside)++;
        }
    EXPECT_GT(inside, 100); // a line across most of the plot
    EXPECT_EQ(outside, 0);  // the part beyond 9.5 m, above the plot, is wiped off
}

// Drawn by the window's pipeline at several sizes: every series column lies under its contour column,
// every profile row beside its contour row, and a series line passes through each column's centre.
TEST_F(SubSetRender, SeriesColumnsAndProfileRowsFollowTheContourAtAnySize) {
    CoreState core = MakeCore(9, 37);
    for (int e = 0; e < 37; ++e) core.Data.BTVelData(0, e) = 0; // a flat line across the middle of its strip
    core.Opts.SeriesDataTypes = {};
    core.Opts.SeriesDataTypes[20] = true;
    for (const auto& [w, h] : {std::pair{900, 600}, {1333, 777}, {640, 1000}, {1600, 900}}) {
        charts.WindowWidth = w;
        charts.WindowHeight = h;
        Init_Charts(charts, surfaces, core, colors, 500, Sub_Set_Plot_Hooks(charts, surfaces, core));
        for (int e = 0; e < 37; ++e) {
            const double x =
                charts.Contour.Frame.LeftMargin +
                (e + 0.5) *
                    (picture1.Width() - charts.Contour.Frame.LeftMargin - charts.Contour.Frame.RightMargin) /
                    37;
            ASSERT_EQ(Get_Chart3d_DataIndex(charts.Contour, picture1, x, 50).EnsembleIndex, e) << w;
            EXPECT_EQ(Series_DataIndex_At(charts, surfaces, core, x, picture4.Height() / 2.0).EnsembleIndex,
                      e)
                << w;
        }
        const ContourPlotRows rows = Contour_Plot_Rows(charts.Contour, picture1);
        for (int r = 0; r < 9; ++r) {
            const double y = Profile_Row_Y(rows.PlotBottom, Profile_Row_Height(9, rows.PlotHeight), r);
            EXPECT_EQ(Get_Chart3d_DataIndex(charts.Contour, picture1, 100, y).BinRow, 8 - r) << h;
            EXPECT_EQ(Profile_DataIndex_At(charts, surfaces, core, y).BinRow, 8 - r) << h;
        }
        int coloured = 0;
        for (int y = 4; y < picture4.Height(); ++y)
            coloured += picture4.GetPixel(picture4.Width() / 2, y) == Series_Color(0);
        EXPECT_GE(coloured, 1) << w << "x" << h;
    }
}

} // namespace
} // namespace mvx
