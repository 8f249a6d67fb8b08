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

    DataSet data;
    InstrumentSetup setup;
    DecodeSettings settings;
};

TEST_F(DamagedDecode, OffsetsOutsideTheEnsembleAreSkipped) {
    test::VariableLeaderFields vl;
    vl.EnsembleNumber = 77;
    // Three entries: the variable leader, one far beyond the end, one at the header (unknown id 0x7F7F).
    Bytes e = test::Broadband({test::VariableLeader(vl)}, {12, 0xFFFF, 0});
    Decode(test::FrameOf(e));
    EXPECT_EQ(data.EnsNumbers[kSlot], 77);
    // An entry pointing at the last byte: its id does not fit.
    test::PutLE16(e, 8, static_cast<uint32_t>(e.size() - 3));
    test::FixBroadbandChecksum(e);
    Decode(test::FrameOf(e));
    EXPECT_TRUE(setup.VariableLeaderSeen);
}

TEST_F(DamagedDecode, ShortVelocityBlockDecodesTheCellsThatFitAndMarksTheRestBad) {
    test::FixedLeaderFields fl;
    fl.NumCells = 255; // down-looking: cell c at bin 254 - c
    data.VelData(0, 255, kSlot) = 1234;
    Decode(test::FrameOf(
        test::Broadband({test::FixedLeader(fl), test::Velocity({{11, 12, 13, 14}, {21, 22, 23, 24}})})));
    EXPECT_EQ(data.VelData(0, 254, kSlot), 11);
    EXPECT_EQ(data.VelData(3, 253, kSlot), 24);
    EXPECT_EQ(data.VelData(0, 252, kSlot), -32768);
    EXPECT_EQ(data.VelData(2, 0, kSlot), -32768);
    EXPECT_EQ(data.VelData(0, 255, kSlot), 1234); // beyond NumCells: untouched
}

TEST_F(DamagedDecode, DataTypesCutByTheEndOfTheEnsemble) {
    auto decode = [this](const std::vector<Bytes>& types) { Decode(test::FrameOf(test::Broadband(types))); };
    setup.NumCells = 9;
    test::FixedLeaderFields fl;
    fl.Length = 30; // too short for the fields it must carry: skipped
    decode({test::FixedLeader(fl)});
    EXPECT_FALSE(setup.FixedLeaderSeen);
    EXPECT_EQ(setup.NumCells, 9);

    test::VariableLeaderFields vl;
    vl.Length = 40; // no pressure word: the transducer depth stays
    vl.DepthDm = 200;
    vl.EnsembleNumber = 3;
    decode({test::VariableLeader(vl)});
    EXPECT_EQ(data.EnsNumbers[kSlot], 3);
    EXPECT_EQ(data.AncData(4, kSlot), 20000);
    EXPECT_EQ(setup.PressureDepthCount, -1);
    vl.Length = 20; // not even the fixed fields: skipped
    vl.EnsembleNumber = 4;
    decode({test::VariableLeader(vl)});
    EXPECT_FALSE(setup.VariableLeaderSeen);
    EXPECT_EQ(data.EnsNumbers[kSlot], 3);

    test::BottomTrackFields bt;
    bt.Length = 60; // velocities present, no maximum depth, no range high bytes
    decode({test::FixedLeader({}), test::BottomTrack(bt)});
    EXPECT_TRUE(setup.BottomTrackSeen);
    EXPECT_EQ(data.BTRangeData(3, kSlot), 1300);
    EXPECT_EQ(data.BTVelData(0, kSlot), -100);
    EXPECT_EQ(setup.BTMaxDepth, 0);

    test::NavigationFields nav;
    nav.Length = 43;
    decode({test::Navigation(nav)});
    EXPECT_FALSE(setup.NavigationSeen);
}

TEST_F(DamagedDecode, FrameLongerThanItsBufferIsReadOnlyAsFarAsTheBuffer) {
    test::FixedLeaderFields fl;
    fl.NumCells = 40;
    EnsembleFrame frame =
        test::FrameOf(test::Broadband({test::FixedLeader(fl), test::Velocity({{5, 5, 5, 5}})}));
    frame.EnsembleBytes = 60000;
    Decode(frame);
    EXPECT_EQ(data.VelData(0, 39, kSlot), 5);
    EXPECT_EQ(data.VelData(0, 38, kSlot), -32768);
    frame.EnsembleBuffer.resize(3);
    Decode(frame);
    EXPECT_FALSE(setup.FixedLeaderSeen);
}

TEST_F(DamagedDecode, SlotOutsideTheDataSetWritesNothing) {
    const DataSet before = data;
    const EnsembleFrame frame = test::FrameOf(
        test::Broadband({test::FixedLeader({}), test::VariableLeader({}), test::Velocity({{1, 2, 3, 4}}),
                         test::BottomTrack({}), test::Navigation({}), test::TextBlock(0x0703, "t")}));
    for (int slot : {-1, data.Capacity, 1 << 30}) {
        Decode(frame, slot);
        EXPECT_TRUE(setup.FixedLeaderSeen); // the set-up is still read
        EXPECT_EQ(data.VelData.Raw(), before.VelData.Raw());
        EXPECT_EQ(data.AncData.Raw(), before.AncData.Raw());
        EXPECT_EQ(data.EnsNumbers, before.EnsNumbers);
        EXPECT_EQ(data.TextData, before.TextData);
        EXPECT_EQ(data.NavData.Raw(), before.NavData.Raw());
    }
    DataSet empty; // never allocated
    Decode_Broadband_Ensemble(frame, setup, empty, 0, settings);
    Decode_Narrowband_Ensemble(test::FrameOf(test::SimpleNarrowband(1), true), setup, empty, 0, settings);
    EXPECT_EQ(setup.EnsembleNumber, 1);
}

TEST_F(DamagedDecode, RandomDamageChangesOnlyItsOwnSlot) {
    std::mt19937 rng(2024);
    const Bytes bases[2] = {test::Broadband({test::FixedLeader({}), test::VariableLeader({}),
                                             test::Velocity({{1, 2, 3, 4}, {5, 6, 7, 8}}),
                                             test::BeamBytes(0x0200, {{1, 1, 1, 1}}), test::BottomTrack({}),
                                             test::Navigation({}), test::TextBlock(0x0800, "abc")}),
                            test::SimpleNarrowband(9)};
    for (int round = 0; round < 2000; ++round) {
        const bool nb = round % 2;
        Bytes e = bases[nb];
        for (int k = 1 + static_cast<int>(rng() % 8); k > 0; --k)
            e[rng() % e.size()] = static_cast<uint8_t>(rng());
        if (rng() % 4 == 0) e.resize(rng() % e.size() + 1);
        EnsembleFrame frame;
        frame.EnsembleBuffer = e;
        frame.EnsembleBytes = static_cast<int32_t>(e.size()) - static_cast<int32_t>(rng() % 3);
        const DataSet before = data;
        if (nb)
            Decode_Narrowband_Ensemble(frame, setup, data, kSlot, settings);
        else
            Decode(frame);
        for (int slot : {0, 2}) {
            const int16_t* v = data.VelData.SlotData(slot);
            ASSERT_TRUE(std::equal(v, v + data.VelData.SlotSize(), before.VelData.SlotData(slot)));
            ASSERT_EQ(data.EnsNumbers[slot], before.EnsNumbers[slot]);
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
    // A 20-byte leader is too short and skipped; the velocity block uses the earlier set-up.
    Bytes e = test::Narrowband(Bytes(20, 0), test::NarrowbandVelocity({{7, 7, 7, 7}, {8, 8, 8, 8}}));
    Decode_Narrowband_Ensemble(test::FrameOf(e, true), setup, data, 0, {});
    EXPECT_FALSE(setup.BottomTrackSeen);
    EXPECT_EQ(data.VelData(0, 1, 0), 8);
    EXPECT_EQ(data.VelData(0, 2, 0), -32768);
    // Block lengths that run beyond the ensemble.
    test::PutBE16(e, 4, 60000);
    test::PutBE16(e, 10, 60000);
    data.VelData(0, 0, 0) = 0;
    Decode_Narrowband_Ensemble(test::FrameOf(e, true), setup, data, 0, {});
    EXPECT_EQ(data.VelData(0, 0, 0), 7);
}

} // namespace
} // namespace mvx
