#include "ProcessingFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mvx;
using namespace mvx::test;

namespace {

// An ensemble whose bins hold distinct good beam values, with the bottom-track block and intensities.
struct Profile : Ensemble {
    Profile(int cells, bool up, int angleCode = 1) : Ensemble(cells, up, angleCode) {
        for (int bin = 0; bin < cells; ++bin) Beams(bin, 10 + bin, 20 + bin, 30 + bin, 40 + bin);
        setup.BottomTrackSeen = true;
        setup.IntensitySeen = true;
        for (int bin = 0; bin < cells; ++bin)
            for (int b = 0; b < 4; ++b) data.IntensityData(b, bin, kSlot) = 50;
    }
    void Ranges(int r0, int r1, int r2, int r3) {
        const int r[4] = {r0, r1, r2, r3};
        for (int b = 0; b < 4; ++b) data.BTRangeData(b, kSlot) = r[b];
    }
    void Switches(std::initializer_list<EndOfProfileSwitch> on) {
        options.EndOfProfile = {};
        for (auto s : on) options.EndOfProfile[s] = true;
    }
    bool BinBad(int bin) const {
        for (int r = 0; r < 4; ++r)
            if (Vel(r, bin) != kBadValue) return false;
        return true;
    }
    bool BinIntact(int bin) const {
        return Vel(0, bin) == 10 + bin && Vel(1, bin) == 20 + bin && Vel(2, bin) == 30 + bin &&
               Vel(3, bin) == 40 + bin;
    }
    // The first bad bin counted from the transducer, as a cell number (NumCells when none is bad);
    // every bin must be either intact or wholly bad, and bad from that cell on.
    int FirstBadCell() const {
        const int n = setup.NumCells;
        int first = n;
        for (int cell = n - 1; cell >= 0; --cell) {
            const int bin = setup.LooksUp() ? cell : n - 1 - cell;
            if (BinBad(bin)) {
                EXPECT_EQ(first, cell + 1) << "good cell beyond a bad one at cell " << cell;
                first = cell;
            } else {
                EXPECT_TRUE(BinIntact(bin)) << "bin " << bin;
            }
        }
        return first;
    }
};

TEST(EndOfProfile, BottomAtTwentyMetresWithBeamAngle) {
    Profile e(25, false);
    e.Ranges(2000, 2000, 2000, 2000);
    e.Switches({kEopBTDepth, kEopCosBeamAngle});
    // 2000 cm x cos 20 = 18.79 m; (18.79 - 2.0 - 0.5) / 1.0 + 1 = 17.29
    e.Trim();
    EXPECT_EQ(e.FirstBadCell(), 17);
    // Down-looking: cell 17 is bin 25 - 1 - 17 = 7, the bad ones are the bins below it.
    EXPECT_TRUE(e.BinBad(0) && e.BinBad(7));
    EXPECT_TRUE(e.BinIntact(8) && e.BinIntact(24));

    Profile cut(25, false);
    cut.Ranges(2000, 2000, 2000, 2000);
    cut.Switches({kEopBTDepth, kEopCosBeamAngle, kEopCut2Bins});
    cut.Trim();
    EXPECT_EQ(cut.FirstBadCell(), 15);
}

TEST(EndOfProfile, BottomCellRoundsHalfToEvenAndUsesShortestPositiveRange) {
    // (20.00 - 2.5) / 1 + 1 = 18.5 gives 18, not 19. Beam 2 is the shortest; zero ranges are no echo.
    Profile e(25, true);
    e.Ranges(0, 3000, 2000, 2500);
    e.Switches({kEopBTDepth});
    e.Trim();
    EXPECT_EQ(e.FirstBadCell(), 18);
}

TEST(EndOfProfile, CutsLowerTheLastGoodCell) {
    Profile both(25, true);
    both.Ranges(2000, 2000, 2000, 2000);
    both.Switches({kEopBTDepth, kEopCut1Bin, kEopCut2Bins});
    both.Trim();
    EXPECT_EQ(both.FirstBadCell(), 15); // 18 - 1 - 2

    Profile alone(25, true);
    alone.Ranges(2000, 2000, 2000, 2000);
    alone.Switches({kEopCut1Bin, kEopCut2Bins, kEopCosBeamAngle});
    alone.Trim();
    EXPECT_EQ(alone.FirstBadCell(), 25);
}

TEST(EndOfProfile, NothingTrimmedWithoutABottom) {
    Profile noEcho(20, false);
    noEcho.Ranges(0, 0, 0, 0);
    noEcho.Switches({kEopBTDepth, kEopCut2Bins});
    noEcho.Trim();
    EXPECT_EQ(noEcho.FirstBadCell(), 20);

    Profile noBlock(20, false);
    noBlock.Ranges(2000, 2000, 2000, 2000);
    noBlock.setup.BottomTrackSeen = false;
    noBlock.Switches({kEopBTDepth});
    noBlock.Trim();
    EXPECT_EQ(noBlock.FirstBadCell(), 20);
}

TEST(EndOfProfile, BottomInFirstCellMarksEveryCellAndNothingElse) {
    Profile e(10, false);
    e.Ranges(150, 150, 150, 150); // (1.5 - 2.5) + 1 = 0, then two cut: -2
    e.Switches({kEopBTDepth, kEopCut2Bins});
    e.Trim();
    EXPECT_EQ(e.FirstBadCell(), 0);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(e.data.VelData(r, 10, kSlot), kUntouched); // first bin beyond the profile
        EXPECT_EQ(e.data.VelData(r, 0, kSlot + 1), kUntouched);
        EXPECT_EQ(e.data.VelData(r, kMaxBins - 1, kSlot - 1), kUntouched);
    }
    for (int r = 4; r < 6; ++r) EXPECT_EQ(e.Vel(r, 0), kUntouched); // only rows 0..3 are marked
}

TEST(EndOfProfile, BottomBeyondTheProfileStillEndsAtTheLastCell) {
    Profile e(10, true);
    e.Ranges(50000, 50000, 50000, 50000);
    e.Switches({kEopBTDepth});
    e.Trim();
    EXPECT_EQ(e.FirstBadCell(), 9);
}

TEST(EndOfProfile, BeamAngleFromTheLeaderForCodeThree) {
    Profile leader(25, false, 3);
    leader.setup.BeamAngleFromLeader = 25;
    leader.Ranges(2000, 2000, 2000, 2000);
    leader.Switches({kEopBTDepth, kEopCosBeamAngle});
    leader.Trim();
    EXPECT_EQ(leader.FirstBadCell(), 17); // 20 x cos 25 = 18.13 m: 16.63

    Profile fallback(25, false, 3); // no angle in the leader: 40 degrees
    fallback.Ranges(2000, 2000, 2000, 2000);
    fallback.Switches({kEopBTDepth, kEopCosBeamAngle});
    fallback.Trim();
    EXPECT_EQ(fallback.FirstBadCell(), 14); // 20 x cos 40 = 15.32 m: 13.82
}

// Intensities of one beam: 50 everywhere, `level` at the listed bins.
void Bump(Profile& e, int beam, std::vector<int> bins, int level) {
    for (int bin : bins) e.data.IntensityData(beam, bin, kSlot) = static_cast<uint8_t>(level);
}

TEST(EndOfProfile, EchoBumpUpLooking) {
    // Pulse 2 m over 1 m cells: window w = 1. The bump at bins 10-11 is the middle of the window at
    // i = 8: (80 + 80) - 50 - 50 = 60; the cell on the transducer side is 9.
    Profile e(20, true);
    e.Switches({kEopRssiBump});
    e.setup.XmitPulseLength = 2.0;
    Bump(e, 2, {10, 11}, 80);
    e.Trim();
    EXPECT_EQ(e.FirstBadCell(), 9);
}

TEST(EndOfProfile, EchoBumpDownLooking) {
    // Same array bins; down-looking the transducer side of bins 10-11 is bin 12, which is cell 7.
    Profile e(20, false);
    e.Switches({kEopRssiBump});
    e.setup.XmitPulseLength = 2.0;
    Bump(e, 1, {10, 11}, 80);
    e.Trim();
    EXPECT_EQ(e.FirstBadCell(), 7);
    EXPECT_TRUE(e.BinBad(12));
    EXPECT_TRUE(e.BinIntact(13));
}

TEST(EndOfProfile, EchoBumpWindowWidthAndBeamAngle) {
    // Pulse 4 m: w = 2, the middle is four bins (8..11) at i = 5: 360 - 100 - 100; cell 5 + 2 = 7.
    Profile wide(20, true);
    wide.Switches({kEopRssiBump});
    wide.setup.XmitPulseLength = 4.0;
    Bump(wide, 0, {8, 9, 10, 11}, 90);
    wide.Trim();
    EXPECT_EQ(wide.FirstBadCell(), 7);

    // Cell 9 at d1 = 2, p = 2: (9 + 4) x cos 20 - 4 = 8.22.
    Profile slanted(20, true);
    slanted.Switches({kEopRssiBump, kEopCosBeamAngle});
    slanted.setup.XmitPulseLength = 2.0;
    Bump(slanted, 3, {10, 11}, 80);
    slanted.Trim();
    EXPECT_EQ(slanted.FirstBadCell(), 8);
}

TEST(EndOfProfile, EchoBumpThresholdFirstPeakAndFarthestBeam) {
    Profile weak(20, true); // (55 + 55) - 100 = 10 is not a bump
    weak.Switches({kEopRssiBump});
    weak.setup.XmitPulseLength = 2.0;
    Bump(weak, 0, {10, 11}, 55);
    weak.Trim();
    EXPECT_EQ(weak.FirstBadCell(), 20);

    Profile twice(20, true); // two equal bumps in a beam: the first one found counts
    twice.Switches({kEopRssiBump});
    twice.setup.XmitPulseLength = 2.0;
    Bump(twice, 0, {4, 5, 14, 15}, 80);
    twice.Trim();
    EXPECT_EQ(twice.FirstBadCell(), 3);

    Profile edge(20, true); // the last window position, i = 20 - 4 - 1, reaches the last bin
    edge.Switches({kEopRssiBump});
    edge.setup.XmitPulseLength = 2.0;
    Bump(edge, 1, {17, 18}, 80);
    edge.Trim();
    EXPECT_EQ(edge.FirstBadCell(), 16);

    Profile beams(20, true); // the beam whose bump lies farthest decides
    beams.Switches({kEopRssiBump});
    beams.setup.XmitPulseLength = 2.0;
    Bump(beams, 0, {10, 11}, 80);
    Bump(beams, 3, {14, 15}, 80);
    beams.Trim();
    EXPECT_EQ(beams.FirstBadCell(), 13);

    Profile unseen(20, true); // no intensity block in the ensemble
    unseen.Switches({kEopRssiBump});
    unseen.setup.XmitPulseLength = 2.0;
    unseen.setup.IntensitySeen = false;
    Bump(unseen, 0, {10, 11}, 80);
    unseen.Trim();
    EXPECT_EQ(unseen.FirstBadCell(), 20);
}

TEST(EndOfProfile, BottomTrackWinsOverTheBump) {
    Profile e(25, true);
    e.Switches({kEopBTDepth, kEopRssiBump});
    e.setup.XmitPulseLength = 2.0;
    e.Ranges(2500, 2500, 2500, 2500); // (25 - 4) + 1 = 22
    Bump(e, 0, {10, 11}, 80);
    e.Trim();
    EXPECT_EQ(e.FirstBadCell(), 22);

    Profile noBottom(25, true);
    noBottom.Switches({kEopBTDepth, kEopRssiBump});
    noBottom.setup.XmitPulseLength = 2.0;
    noBottom.Ranges(0, 0, 0, 0);
    Bump(noBottom, 0, {10, 11}, 80);
    noBottom.Trim();
    EXPECT_EQ(noBottom.FirstBadCell(), 9);
}

} // namespace
