#include "ProcessingFixture.h"

#include <gtest/gtest.h>

#include <array>

using namespace mvx;
using namespace mvx::test;

namespace {

// An earth-coordinate ensemble: rows 0..3 already east, north, up, error.
struct Earth : Ensemble {
    explicit Earth(int reference) : Ensemble(3, false) {
        setup.CoordTransform = 0x18;
        options.VelocityReference = reference;
        Beams(0, 100, 200, 30, 4);
        Beams(1, 32000, -32700, kBadValue, 0);
        Beams(2, -1, -2, -3, -4);
        for (int r = 0; r < 4; ++r) {
            data.BTVelData(r, kSlot) = static_cast<int16_t>(10 + r);
            data.RefVelWork(r, kSlot) = static_cast<int16_t>(1000 * (r + 1));
            data.RefVelData(r, kSlot) = static_cast<int16_t>(-20 - r);
        }
        data.NavData(0, kSlot) = 250;
        data.NavData(1, kSlot) = -75;
        data.NavData(2, kSlot) = 999; // never used by the reference
        data.NavData(3, kSlot) = 999;
    }
};

TEST(VelocityReference, EachReferenceShiftsEarthDataOrMakesItBad) {
    const int bad = kBadValue;
    struct Case {
        int reference;
        bool bottom, navigation, badBottomError;
        std::array<int, 4> shift; // all bad when the reference's block is missing
    } cases[] = {
        {0, false, false, false, {0, 0, 0, 0}},
        {1, true, false, false, {10, 11, 12, 13}},
        {1, true, false, true, {10, 11, 12, bad}}, // three-beam bottom track: no error velocity
        {1, false, true, false, {bad, bad, bad, bad}},
        {2, false, true, false, {250, -75, 0, 0}}, // -32775 is limited to -32767, never the bad marker
        {2, true, false, false, {bad, bad, bad, bad}},
        {3, true, false, false, {1000, 2000, 0, 0}}, // from the untransformed reference layer
        {4, true, false, false, {3000, 4000, 0, 0}},
        {4, false, true, false, {bad, bad, bad, bad}},
        {5, true, false, false, {-20, -21, -22, -23}}, // from the transformed layer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "reference " << c.reference << " bottom " << c.bottom);
        Earth e(c.reference);
        e.setup.BottomTrackSeen = c.bottom;
        e.setup.NavigationSeen = c.navigation;
        if (c.badBottomError) e.data.BTVelData(3, kSlot) = kBadValue;
        e.Process();
        const bool allBad = c.shift[0] == bad;
        const int before[3][4] = {{100, 200, 30, 4}, {32000, -32700, kBadValue, 0}, {-1, -2, -3, -4}};
        for (int bin = 0; bin < 3; ++bin)
            for (int r = 0; r < (allBad ? 6 : 4); ++r) {
                const int b = allBad ? bad : before[bin][r];
                const int want =
                    b == bad || c.shift[r] == bad ? bad : std::clamp(b + c.shift[r], -32767, 32767);
                EXPECT_EQ(e.Vel(r, bin), want) << "row " << r << " bin " << bin;
            }
    }
}

TEST(VelocityReference, WaterMassUsesTheTransformedLayer) {
    // Beam data: the layer is transformed first (1462 east), then added to a still profile.
    Ensemble beam(2, false);
    beam.setup.BottomTrackSeen = true;
    beam.options.VelocityReference = 5;
    beam.Beams(0, 0, 0, 0, 0);
    beam.Beams(1, 0, 0, 0, 0);
    const int16_t layer[4] = {-500, 500, 0, 0};
    for (int r = 0; r < 4; ++r) beam.data.RefVelData(r, kSlot) = layer[r];
    beam.Process();
    for (int bin = 0; bin < 2; ++bin) {
        EXPECT_EQ(beam.Vel(0, bin), 1462);
        EXPECT_EQ(beam.Vel(1, bin), 0);
        EXPECT_EQ(beam.Vel(4, bin), 1462);
        EXPECT_EQ(beam.Vel(5, bin), 900);
    }
}

TEST(MagnitudeAndDirection, RowsFourAndFiveOfProfileBottomAndLayer) {
    Earth e(0);
    e.Beams(0, 3, 4, 0, 0);
    e.Beams(1, -1, 0, 0, 0);
    e.Beams(2, 30000, 30000, 0, 0);
    e.data.BTVelData(0, kSlot) = -300;
    e.data.BTVelData(1, kSlot) = -400;
    e.data.RefVelData(0, kSlot) = kBadValue;
    e.Process();
    EXPECT_EQ(e.Vel(4, 0), 5);
    EXPECT_EQ(e.Vel(5, 0), 369); // 36.87 degrees
    EXPECT_EQ(e.Vel(4, 1), 1);
    EXPECT_EQ(e.Vel(5, 1), 2700);
    EXPECT_EQ(e.Vel(4, 2), 32767); // 42426 is limited
    EXPECT_EQ(e.Vel(5, 2), 450);
    EXPECT_EQ(e.data.BTVelData(4, kSlot), 500);
    EXPECT_EQ(e.data.BTVelData(5, kSlot), 2169); // 180 + 36.87
    EXPECT_EQ(e.data.RefVelData(4, kSlot), kBadValue);
    EXPECT_EQ(e.data.RefVelData(5, kSlot), kBadValue);

    Earth still(0);
    still.Beams(0, 0, 0, 0, 0);
    still.Beams(1, kBadValue, 10, 0, 0);
    still.Beams(2, 10, kBadValue, 0, 0); // a bad north component gives no magnitude either
    still.Process();
    EXPECT_EQ(still.Vel(4, 0), 0);
    EXPECT_EQ(still.Vel(5, 0), 0);
    for (int bin = 1; bin < 3; ++bin) {
        EXPECT_EQ(still.Vel(4, bin), kBadValue);
        EXPECT_EQ(still.Vel(5, bin), kBadValue);
    }
}

TEST(BottomRange, MeanOfNonZeroBeams) {
    struct Case {
        int r[4];
        int mean;
    };
    const Case cases[] = {
        {{1000, 0, 1001, 0}, 1000}, // 1000.5 rounds to even
        {{1001, 0, 1002, 0}, 1002}, // 1001.5 rounds to even
        {{100, 200, 300, 400}, 250}, {{0, 0, 0, 70000}, 70000}, {{0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        Earth e(0);
        for (int b = 0; b < 4; ++b) e.data.BTRangeData(b, kSlot) = c.r[b];
        e.data.BTRangeData(4, kSlot) = -1;
        e.Process();
        EXPECT_EQ(e.data.BTRangeData(4, kSlot), c.mean);
    }
}

TEST(FlowMeter, TwoHorizontalBeamsAndCellRemapping) {
    Ensemble e(6, false);
    e.setup.FlowMeterFirmware = true;
    // Bin i reads the beams' cell at (r - 2.0) / 1.0 with r = 1.0 + i: cells 0, 0, 1, 2, 3, 4.
    e.setup.Bin1DistanceCos30x20 = 1.0;
    e.setup.CellLengthCos30x20 = 1.0;
    e.setup.Bin1DistanceCos20x10 = 2.0;
    e.setup.CellLengthCos20x10 = 1.0;
    for (int i = 0; i < 6; ++i) {
        e.Beams(i, 100 * (i + 1), 50 + i, -100 * (i + 1), 20);
        for (int r = 0; r < 4; ++r) {
            e.data.CorrData(r, i, kSlot) = static_cast<uint8_t>(10 * r + i);
            e.data.IntensityData(r, i, kSlot) = static_cast<uint8_t>(100 + 10 * r + i);
        }
    }
    e.Beams(3, 400, kBadValue, kBadValue, 20);
    e.Process();

    // (v1 - v3) / (2 sin 20): 200 (i + 1) / 0.68404 = 292.38, 584.76, 877.14, (bad), 1461.90, 1754.28.
    const int across[6] = {292, 292, 585, 877, kBadValue, 1462};
    const int source[6] = {0, 0, 1, 2, 3, 4};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(e.Vel(0, i), across[i]) << "bin " << i;
        EXPECT_EQ(e.Vel(1, i), i == 3 ? kBadValue : 50 + i - 20) << "bin " << i;
        for (int r = 2; r < 6; ++r) EXPECT_EQ(e.Vel(r, i), kBadValue);
        for (int r : {0, 2}) {
            EXPECT_EQ(e.data.CorrData(r, i, kSlot), 10 * r + source[i]) << "row " << r << " bin " << i;
            EXPECT_EQ(e.data.IntensityData(r, i, kSlot), 100 + 10 * r + source[i])
                << "row " << r << " bin " << i;
        }
        for (int r : {1, 3})
            EXPECT_EQ(e.data.CorrData(r, i, kSlot), 10 * r + i); // beams 2 and 4 keep their cells
    }
}

TEST(ProcessingGuards, SlotOutsideTheSetOrOversizedProfileIsSafe) {
    Ensemble e(300, false); // more cells than the arrays hold: only 256 are used
    e.options.EndOfProfile[kEopBTDepth] = true;
    e.options.EndOfProfile[kEopRssiBump] = true;
    e.setup.BottomTrackSeen = e.setup.IntensitySeen = true;
    for (int b = 0; b < 4; ++b) e.data.BTRangeData(b, kSlot) = 2000;
    for (int bin = 0; bin < kMaxBins; ++bin) e.Beams(bin, 1, 1, 1, 1);
    End_Of_Profile(e.setup, e.options, e.data, kSlot);
    Process_Velocities(e.setup, e.options, e.data, kSlot);
    EXPECT_EQ(e.data.VelData(0, 0, kSlot + 1), kUntouched);
    EXPECT_EQ(e.Vel(2, 0), kBadValue); // down-looking: bin 0 is the farthest cell, past the bottom
    EXPECT_NE(e.Vel(2, kMaxBins - 1), kBadValue);
    // Slots beyond the set are ignored.
    End_Of_Profile(e.setup, e.options, e.data, e.data.Capacity);
    Process_Velocities(e.setup, e.options, e.data, -1);
}

} // namespace
