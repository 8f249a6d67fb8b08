// Decoding ensembles whose offsets, lengths and counts do not fit: nothing is read outside the
// ensemble, nothing is written outside the slot, and what fits is still decoded.
#include "EnsembleBuilder.h"
#include "ensemble/Decoder.h"

#include <gtest/gtest.h>

#include <random>

namespace mvx {
namespace {

using test::Bytes;

constexpr int kSlot = 1;

class DamagedDecode : public ::testing::Test {
  protected:
    void SetUp() override { Allocate_Data_Set(data, 2, 2, false); }
    void Decode(const EnsembleFrame& frame, int slot = kSlot) {
        Decode_Broadband_Ensemble(frame, setup, data, slot, settings);
    }
    void Decode(const Bytes& e, int slot = kSlot) { Decode(test::FrameOf(e), slot); }

    DataSet data;
    InstrumentSetup setup;
    DecodeSettings settings;
};

TEST_F(DamagedDecode, OffsetsOutsideTheEnsembleAreSkipped) {
    test::VariableLeaderFields vl;
    vl.EnsembleNumber = 77;
    Bytes e = test::BroadbandWithOffsets({test::VariableLeader(vl)}, {12, 0xFFFF, 0});
    // The table now claims three data types; the second points far beyond the end and the third at the
    // header (id 0x7F7F, unknown).
    Decode(e);
    EXPECT_TRUE(setup.VariableLeaderSeen);
    EXPECT_EQ(data.EnsNumbers[kSlot], 77);

    // An offset pointing at the last byte: its id does not fit.
    test::PutLE16(e, 8, static_cast<uint32_t>(e.size() - 3));
    test::FixBroadbandChecksum(e);
    Decode(e);
    EXPECT_TRUE(setup.VariableLeaderSeen);
}

TEST_F(DamagedDecode, DataTypeCountLargerThanTheTable) {
    test::VariableLeaderFields vl;
    vl.EnsembleNumber = 5;
    Bytes e = test::Broadband({test::VariableLeader(vl)});
    e[5] = 255; // 255 entries claimed; the rest of the "table" is the variable leader itself
    test::FixBroadbandChecksum(e);
    Decode(e);
    EXPECT_EQ(data.EnsNumbers[kSlot], 5);
    EXPECT_EQ(setup.DataTypeCount, 255);
}

TEST_F(DamagedDecode, ShortVelocityBlockDecodesTheCellsThatFitAndMarksTheRestBad) {
    test::FixedLeaderFields fl;
    fl.NumCells = 255; // down-looking: cell c at bin 254 - c
    for (int bin = 0; bin < 256; ++bin) data.VelData(0, bin, kSlot) = 1234;
    Decode(test::Broadband({test::FixedLeader(fl), test::Velocity({{11, 12, 13, 14}, {21, 22, 23, 24}})}));
    EXPECT_EQ(data.VelData(0, 254, kSlot), 11);
    EXPECT_EQ(data.VelData(3, 253, kSlot), 24);
    EXPECT_EQ(data.VelData(0, 252, kSlot), -32768);
    EXPECT_EQ(data.VelData(2, 0, kSlot), -32768);
    EXPECT_EQ(data.VelData(0, 255, kSlot), 1234); // beyond NumCells: untouched
}

TEST_F(DamagedDecode, ShortBeamBlocksClearTheCellsThatDoNotFit) {
    test::FixedLeaderFields fl;
    fl.SystemConfig = 0x4AC1;
    fl.NumCells = 3;
    for (int bin = 0; bin < 3; ++bin) data.CorrData(4, bin, kSlot) = 200;
    Decode(test::Broadband({test::FixedLeader(fl), test::BeamBytes(0x0200, {{4, 4, 4, 4}})}));
    EXPECT_EQ(data.CorrData(4, 0, kSlot), 4);
    EXPECT_EQ(data.CorrData(4, 1, kSlot), 0);
    EXPECT_EQ(data.CorrData(0, 2, kSlot), 0);
}

TEST_F(DamagedDecode, LeadersCutByTheEndOfTheEnsemble) {
    setup.NumCells = 9;
    test::FixedLeaderFields fl;
    fl.Length = 30; // too short for the fields it must carry
    Decode(test::Broadband({test::FixedLeader(fl)}));
    EXPECT_FALSE(setup.FixedLeaderSeen);
    EXPECT_EQ(setup.NumCells, 9);

    // A variable leader without the pressure word keeps the transducer depth.
    test::VariableLeaderFields vl;
    vl.Length = 40;
    vl.DepthDm = 200;
    vl.EnsembleNumber = 3;
    Decode(test::Broadband({test::VariableLeader(vl)}));
    EXPECT_TRUE(setup.VariableLeaderSeen);
    EXPECT_EQ(data.EnsNumbers[kSlot], 3);
    EXPECT_EQ(data.AncData(4, kSlot), 20000);
    EXPECT_EQ(setup.PressureDepthCount, -1);

    vl.Length = 20;
    vl.EnsembleNumber = 4;
    Decode(test::Broadband({test::VariableLeader(vl)}));
    EXPECT_FALSE(setup.VariableLeaderSeen);
    EXPECT_EQ(data.EnsNumbers[kSlot], 3);
}

TEST_F(DamagedDecode, ShortBottomTrackAndNavigation) {
    test::BottomTrackFields bt;
    bt.Length = 40;
    Decode(test::Broadband({test::BottomTrack(bt)}));
    EXPECT_FALSE(setup.BottomTrackSeen);

    // Long enough for the velocities but without the maximum depth and the range high bytes.
    bt.Length = 60;
    Decode(test::Broadband({test::FixedLeader({}), test::BottomTrack(bt)}));
    EXPECT_TRUE(setup.BottomTrackSeen);
    EXPECT_EQ(data.BTRangeData(3, kSlot), 1300);
    EXPECT_EQ(data.BTVelData(0, kSlot), -100);
    EXPECT_EQ(setup.BTMaxDepth, 0);

    test::NavigationFields nav;
    nav.Length = 43;
    Decode(test::Broadband({test::Navigation(nav)}));
    EXPECT_FALSE(setup.NavigationSeen);
}

TEST_F(DamagedDecode, FrameLongerThanItsBufferIsReadOnlyAsFarAsTheBuffer) {
    test::FixedLeaderFields fl;
    fl.NumCells = 40;
    const Bytes e = test::Broadband({test::FixedLeader(fl), test::Velocity({{5, 5, 5, 5}})});
    EnsembleFrame frame = test::FrameOf(e);
    frame.EnsembleBytes = 60000;
    Decode(frame);
    EXPECT_EQ(data.VelData(0, 39, kSlot), 5);
    EXPECT_EQ(data.VelData(0, 38, kSlot), -32768);

    frame.EnsembleBuffer.resize(3);
    Decode(frame);
    EXPECT_FALSE(setup.FixedLeaderSeen);
    frame.EnsembleBytes = -5;
    Decode(frame);
    EXPECT_FALSE(setup.FixedLeaderSeen);
}

TEST_F(DamagedDecode, SlotOutsideTheDataSetWritesNothing) {
    const DataSet before = data;
    const Bytes e =
        test::Broadband({test::FixedLeader({}), test::VariableLeader({}),
                         test::Velocity({{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}}), test::BottomTrack({}),
                         test::Navigation({}), test::TextBlock(0x0703, "t")});
    for (int slot : {-1, data.Capacity, 1 << 30}) {
        Decode(e, slot);
        EXPECT_TRUE(setup.FixedLeaderSeen); // the set-up is still read
        EXPECT_EQ(data.VelData.Raw(), before.VelData.Raw());
        EXPECT_EQ(data.AncData.Raw(), before.AncData.Raw());
        EXPECT_EQ(data.EnsNumbers, before.EnsNumbers);
        EXPECT_EQ(data.TextData, before.TextData);
        EXPECT_EQ(data.BTVelData.Raw(), before.BTVelData.Raw());
        EXPECT_EQ(data.NavData.Raw(), before.NavData.Raw());
    }

    DataSet empty; // never allocated
    Decode_Broadband_Ensemble(test::FrameOf(e), setup, empty, 0, settings);
    Decode_Narrowband_Ensemble(test::FrameOf(test::SimpleNarrowband(1), true), setup, empty, 0, settings);
    EXPECT_EQ(setup.EnsembleNumber, 1);
}

// Random damage: whatever the bytes, only the decoded slot changes.
TEST_F(DamagedDecode, RandomBytesChangeOnlyTheirOwnSlot) {
    std::mt19937 rng(2024);
    const Bytes base = test::Broadband({test::FixedLeader({}), test::VariableLeader({}),
                                        test::Velocity({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 1, 2, 3}}),
                                        test::BeamBytes(0x0200, {{1, 1, 1, 1}}), test::BottomTrack({}),
                                        test::Navigation({}), test::TextBlock(0x0800, "abc")});
    const Bytes nbBase = test::SimpleNarrowband(9);
    for (int round = 0; round < 2000; ++round) {
        const bool nb = round % 2;
        Bytes e = nb ? nbBase : base;
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < edits; ++k) e[rng() % e.size()] = static_cast<uint8_t>(rng());
        if (rng() % 4 == 0) e.resize(rng() % e.size() + 1);
        EnsembleFrame frame;
        frame.EnsembleBuffer = e;
        frame.EnsembleBytes = static_cast<int32_t>(e.size()) - static_cast<int32_t>(rng() % 3);
        const DataSet before = data;
        if (nb)
            Decode_Narrowband_Ensemble(frame, setup, data, kSlot, settings);
        else
            Decode_Broadband_Ensemble(frame, setup, data, kSlot, settings);
        for (int slot : {0, 2}) {
            const size_t n = data.VelData.SlotSize();
            ASSERT_TRUE(std::equal(data.VelData.SlotData(slot), data.VelData.SlotData(slot) + n,
                                   before.VelData.SlotData(slot)));
            ASSERT_EQ(data.EnsNumbers[slot], before.EnsNumbers[slot]);
            ASSERT_EQ(data.AncData(4, slot), before.AncData(4, slot));
            ASSERT_EQ(data.TextData[slot], before.TextData[slot]);
        }
        ASSERT_LE(data.TextData[kSlot].size(), 256u);
    }
}

TEST(DamagedNarrowband, ShortLeaderAndBlocksBeyondTheEnd) {
    DataSet data;
    Allocate_Data_Set(data, 0, 0, false);
    InstrumentSetup setup;
    setup.NumCells = 4;
    setup.NBVelResolution = 1.0;
    setup.SystemConfig = 0x80;
    DecodeSettings settings;
    // Leader block of 20 bytes: too short, skipped; the velocity block then uses the earlier set-up.
    Bytes leader(20, 0);
    const Bytes e =
        test::Narrowband(leader, test::NarrowbandVelocity({{7, 7, 7, 7}, {8, 8, 8, 8}}), {}, {}, {});
    Decode_Narrowband_Ensemble(test::FrameOf(e, true), setup, data, 0, settings);
    EXPECT_FALSE(setup.BottomTrackSeen);
    EXPECT_EQ(data.VelData(0, 0, 0), 7);
    EXPECT_EQ(data.VelData(0, 1, 0), 8);
    EXPECT_EQ(data.VelData(0, 2, 0), -32768);

    // Block lengths that run beyond the ensemble.
    Bytes damaged = e;
    test::PutBE16(damaged, 4, 60000);
    test::PutBE16(damaged, 10, 60000);
    EnsembleFrame frame = test::FrameOf(damaged, true);
    Decode_Narrowband_Ensemble(frame, setup, data, 0, settings);
    EXPECT_EQ(data.VelData(0, 0, 0), 7);
}

} // namespace
} // namespace mvx
