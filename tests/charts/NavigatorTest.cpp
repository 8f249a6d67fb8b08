// The navigator's arithmetic: scroll-bar positions to sub sets and back, the bars' steps, the arrow keys,
// the dragged box, cell coordinates and the markers, on a file of ensembles 1..1023 thinned to 256
// columns of every fourth ensemble (1, 5, ..., 1021), 30 bins.
#include "charts/Navigator.h"

#include "FakeSurface.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::FakeSurface;

constexpr int32_t kCells = 30;

class Navigator : public ::testing::Test {
  protected:
    void SetUp() override {
        Allocate_Data_Set(core.Data, 256, 256, true);
        SetDescriptors& s = core.Set;
        s.FileValid = true;
        s.FileFirstEnsemble = s.WholeFirstEns = 1;
        s.FileLastEnsemble = 1023;
        s.WholeEnsCount = 256;
        s.WholeStepSaved = 3;
        s.FirstEnsNumber = 1;
        s.LastEnsNumber = 256;
        s.FirstBinShown = 1;
        s.LastBinShown = kCells;
        s.SelFirstEns = 1;
        s.SelLastEns = 1023;
        core.Setup.NumCells = kCells;
        core.Setup.CellLength = 1;
        chart.WindowWidth = 1200;
        chart.WindowHeight = 500;
        Init_Whole_Set_Chart(chart, surfaces, core, colors, 500);
        ASSERT_TRUE(chart.Built);
    }
    void SubSet(int32_t first, int32_t last) {
        core.Set.FirstEnsNumber = first;
        core.Set.LastEnsNumber = last;
    }
    CoreState core;
    ColorTableArray colors{};
    FakeSurface picture1{1, 1}, picture2{1, 1};
    WholeSetSurfaces surfaces{picture1, picture2};
    WholeSetChart chart;
};

TEST_F(Navigator, HorizontalBarPositionsGiveSubSetsOfTheSameLengthInsideTheFile) {
    // span = 1022 - 255 = 767 ensembles over 32768 positions.
    struct Case {
        int32_t value, first, last;
    } cases[] = {
        {0, 1, 256},        // minimum: from the whole set's first ensemble
        {16384, 384, 639},  // half way: round(0.5 * 767 + 1) = round(384.5) = 384
        {32766, 768, 1023}, // just short of the maximum, cut at the file's end
        {32767, 768, 1023}, // maximum: the last 256 ensembles
    };
    for (const Case& c : cases) {
        ScrollBarState h;
        h.Value = c.value;
        EXPECT_EQ(HScroll_Range(h, core.Set), (EnsembleSpan{c.first, c.last})) << c.value;
    }
    // A file that shrank below the sub set's length (monitor mode) keeps the sub set inside it.
    core.Set.FileLastEnsemble = 100;
    ScrollBarState h;
    h.Value = h.Max;
    EXPECT_EQ(HScroll_Range(h, core.Set), (EnsembleSpan{1, 100}));
}

TEST_F(Navigator, MoveScrollersAndBackGivesTheSameSubSetAndBins) {
    for (int32_t first : {1, 2, 384, 767, 768}) {
        SubSet(first, first + 255);
        for (int32_t lastBin : {kCells, 20, 10}) {
            core.Set.LastBinShown = lastBin;
            core.Set.FirstBinShown = lastBin - 9;
            NavigatorScrolls scrolls;
            Move_Scrollers(scrolls, core.Set, kCells);
            EXPECT_EQ(HScroll_Range(scrolls.H, core.Set), (EnsembleSpan{first, first + 255})) << first;
            EXPECT_EQ(VScroll_Bins(scrolls.V, core.Set, kCells), (BinRange{lastBin - 9, lastBin})) << lastBin;
        }
    }
    // The vertical bar's top shows the top bins, its bottom bin 1.
    core.Set.FirstBinShown = 11;
    core.Set.LastBinShown = 20;
    ScrollBarState v;
    v.Value = v.Min;
    EXPECT_EQ(VScroll_Bins(v, core.Set, kCells), (BinRange{21, 30}));
    v.Value = v.Max;
    EXPECT_EQ(VScroll_Bins(v, core.Set, kCells), (BinRange{1, 10}));
}

TEST_F(Navigator, StepsAreAnEnsembleAndASubSetAndTheBarsRestWhenNothingCanMove) {
    NavigatorScrolls scrolls;
    Set_Scroll_Steps(scrolls, core.Set, kCells);
    EXPECT_EQ(scrolls.H.SmallChange, 43);    // round(32768 / 767)
    EXPECT_EQ(scrolls.H.LargeChange, 10937); // round(32768 * 256 / 767)
    EXPECT_TRUE(scrolls.H.Enabled);
    EXPECT_FALSE(scrolls.V.Enabled); // every bin shown
    SubSet(1, 1023);
    core.Set.FirstBinShown = 5;
    Set_Scroll_Steps(scrolls, core.Set, kCells);
    EXPECT_FALSE(scrolls.H.Enabled);
    EXPECT_EQ(scrolls.H.SmallChange, 32767); // span 1: kept within 1..32767
    EXPECT_TRUE(scrolls.V.Enabled);
}

TEST_F(Navigator, ArrowKeysMoveOneEnsembleOrBinAndStopAtTheEnds) {
    struct Case {
        int32_t first, last, firstBin, lastBin, delta;
        bool ensembleMoves, binMoves;
    } cases[] = {
        {1, 256, 1, 30, 1, true, false},   // right from the start; up with the top bin shown
        {1, 256, 1, 30, -1, false, false}, // left at the start; down with bin 1 shown
        {768, 1023, 2, 29, 1, false, true},
        {768, 1023, 2, 29, -1, true, true},
    };
    for (const Case& c : cases) {
        SubSet(c.first, c.last);
        core.Set.FirstBinShown = c.firstBin;
        core.Set.LastBinShown = c.lastBin;
        EnsembleSpan range;
        BinRange bins;
        ASSERT_EQ(Shift_Sub_Set(core.Set, c.delta, range), c.ensembleMoves);
        if (c.ensembleMoves) {
            EXPECT_EQ(range, (EnsembleSpan{c.first + c.delta, c.last + c.delta}));
        }
        ASSERT_EQ(Shift_Bins_Shown(core.Set, kCells, c.delta, bins), c.binMoves);
        if (c.binMoves) {
            EXPECT_EQ(bins, (BinRange{c.firstBin + c.delta, c.lastBin + c.delta}));
        }
    }
}

TEST_F(Navigator, DraggedBoxSelectsTheEnsemblesOfItsColumnsAndTheBinsOfItsRows) {
    struct Case {
        ChartDataIndex press, release;
        bool selects;
        int32_t first, last, firstBin, lastBin;
    } cases[] = {
        {{10, 2, true}, {3, 5, true}, true, 13, 41, 25, 28},        // dragged up-left: sorted
        {{3, 5, true}, {10, 2, true}, true, 13, 41, 25, 28},        // the other way round
        {{255, 0, true}, {250, 29, true}, true, 1001, 1023, 1, 30}, // last column: the file's last
        {{0, 0, true}, {0, 5, true}, false, 0, 0, 0, 0},            // no width
        {{0, 3, true}, {9, 3, true}, false, 0, 0, 0, 0},            // no height
    };
    for (const Case& c : cases) {
        DragSelection s;
        ASSERT_EQ(Drag_Box_Selection(chart, c.press, c.release, s), c.selects);
        if (!c.selects) continue;
        EXPECT_EQ(s.Ensembles, (EnsembleSpan{c.first, c.last}));
        EXPECT_EQ(s.Bins, (BinRange{c.firstBin, c.lastBin}));
    }
}

TEST_F(Navigator, CellCoordinatesAndPixelsRoundTrip) {
    for (int32_t column : {0, 1, 128, 254, 255}) {
        for (int32_t bin : {1, 15, kCells}) {
            const int32_t ensemble = Ensemble_Of_Column(chart, column);
            const PixelPoint p = Get_Chart3d_DataCoordinate(chart, picture1, bin, ensemble);
            const ChartDataIndex cell = Get_Chart3d_DataIndex(chart.Contour, picture1, p.X, p.Y);
            EXPECT_TRUE(cell.Inside);
            EXPECT_EQ(cell.EnsembleIndex, column) << ensemble;
            EXPECT_EQ(Bin_Of_Row(chart.Contour, cell.BinRow), bin);
        }
    }
    // The last column stands for the file's last ensemble, not for 1 + 255 * 4 = 1021.
    EXPECT_EQ(Ensemble_Of_Column(chart, 255), 1023);
    EXPECT_EQ(Ensemble_Of_Column(chart, 300), 1023);
    EXPECT_EQ(Ensemble_Of_Column(chart, 254), 1017);
}

TEST_F(Navigator, MarkersBlinkThreeTicksOnAndOneOffAndRestoreThePicture) {
    core.Opts.ShowLocators = true;
    SubSet(101, 356);
    core.Set.SelFirstEns = 101;
    core.Set.SelLastEns = 356;
    Show_Selected_Data_Location(chart, picture1, core);
    const MarkerRect sub = chart.Markers.Sub;
    ASSERT_TRUE(sub.Valid);
    // The marker covers the columns of ensembles 101 (column 25) to 356 (column 88.75).
    const PixelPoint a = Get_Chart3d_DataCoordinate(chart, picture1, kCells, 101);
    const PixelPoint b = Get_Chart3d_DataCoordinate(chart, picture1, 1, 356);
    EXPECT_LT(sub.X1, a.X);
    EXPECT_GT(sub.X2, b.X);
    EXPECT_LT(sub.Y1, a.Y);
    EXPECT_GT(sub.Y2, b.Y);
    EXPECT_NE(chart.Markers.Sel, sub); // the same range, drawn apart so the two do not cancel

    Hide_Markers(chart, picture1);
    const ColorRef plain = picture1.GetPixel(sub.X1, sub.Y1 + 3);
    const ColorRef inverted = plain ^ kWhite;
    chart.Markers.BlinkCount = 0;
    const bool expected[] = {true, true, true, false, true, true, true, false};
    for (bool on : expected) {
        Blink_Tick(chart, picture1, true);
        EXPECT_EQ(picture1.GetPixel(sub.X1, sub.Y1 + 3), on ? inverted : plain);
    }
    // Without locators the markers go and stay away.
    Blink_Tick(chart, picture1, false);
    EXPECT_EQ(picture1.GetPixel(sub.X1, sub.Y1 + 3), plain);
    EXPECT_FALSE(chart.Markers.SubShown);
}

TEST_F(Navigator, FooterNamesTheSubSetAndTheSelection) {
    SubSet(383, 638);
    core.Set.SelFirstEns = 383;
    core.Set.SelLastEns = 700;
    Show_Selected_Data_Location(chart, picture1, core);
    Display_Footer(chart, picture1, core);
    EXPECT_EQ(chart.SubText, "Sub: 383 to 638");
    EXPECT_EQ(chart.SelText, "Sel: 383 to 700");
    const auto footer = picture1.TextsAtY(picture1.Height() - picture1.TextHeight("W") - 1);
    ASSERT_GE(footer.size(), 2u);
    EXPECT_EQ(footer[footer.size() - 2].Text, "Sub: 383 to 638");
    EXPECT_EQ(footer.back().Text, "Sel: 383 to 700");
}

// Columns of a whole set thinned over an index hold the numbers loaded there: an ensemble between two
// columns falls between them, a repeated number on its first column, one past the last on the last.
TEST(NavigatorColumns, AnEnsembleFallsOnTheColumnThatHoldsItsNumber) {
    ChartAxesInput in;
    in.ColumnNumbers = {10, 20, 20, 40, 5};
    const struct {
        double ensemble, column;
    } cases[] = {{10, 0}, {15, 0.5}, {20, 1}, {30, 2.5}, {40, 3}, {2, 4}, {5, 4}, {8, 0}, {99, 4}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Column_Of_Ensemble(in, c.ensemble), c.column) << c.ensemble;
}

} // namespace
} // namespace mvx
