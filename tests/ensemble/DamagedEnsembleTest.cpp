// Decoding ensembles whose offsets, lengths and counts do not fit: nothing is read outside the
// ensemble, nothing is written outside the slot, and what fits is still decoded.
#include "EnsembleBuilder.h"
#include "ensemble/Decoder.h"
#include "model/DataSet.h"

#include <gtest/gtest.h>

#include <functional>

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
    int Vel(int beam, int bin) const { return data.VelData(beam, bin, kSlot); }

    DataSet data;
    InstrumentSetup setup;
    DecodeSettings settings;
};

TEST_F(DamagedDecode, CutOrMisplacedDataTypesDecodeOnlyWhatFits) {
    test::FixedLeaderFields cells255, shortFixed, forty;
    cells255.NumCells = 255; // down-looking: cell c at bin 254 - c
    shortFixed.Length = 30;
    forty.NumCells = 40;
    test::VariableLeaderFields noPressure; // decoded first, while no pressure has been seen
    noPressure.Length = 40;                // no pressure word: the transducer depth stays
    noPressure.DepthDm = 200;
    noPressure.EnsembleNumber = 3;
    test::BottomTrackFields shortBt;
    shortBt.Length = 60; // velocities present, no maximum depth, no range high bytes
    test::NavigationFields shortNav;
    shortNav.Length = 43;
    const Bytes nbVelocity = test::NarrowbandVelocity({{7, 7, 7, 7}, {8, 8, 8, 8}});
    Bytes nbBeyond = test::Narrowband(Bytes(20, 0), nbVelocity); // leader too short: skipped
    test::PutBE16(nbBeyond, 4, 60000);                           // blocks running beyond the end
    test::PutBE16(nbBeyond, 10, 60000);

    struct Case {
        const char* what;
        Bytes bytes;
        bool narrowband;
        int32_t claimed; // EnsembleBytes when not the ensemble's own; 0 otherwise
        std::function<void()> check;
    };
    const Case cases[] = {
        {"variable leader without pressure", test::Broadband({test::VariableLeader(noPressure)}), false, 0,
         [&] {
             EXPECT_EQ(data.EnsNumbers[kSlot], 3);
             EXPECT_EQ(data.AncData(4, kSlot), 20000);
             EXPECT_EQ(setup.PressureDepthCount, -1);
         }},
        {"offsets beyond the end and at the header", test::Broadband({test::VariableLeader({})}, {12, 0xFFFF, 0}),
         false, 0, [&] { EXPECT_EQ(data.EnsNumbers[kSlot], 1); }},
        {"velocity shorter than the cell count",
         test::Broadband({test::FixedLeader(cells255), test::Velocity({{11, 12, 13, 14}, {21, 22, 23, 24}})}),
         false, 0,
         [&] {
             EXPECT_EQ(Vel(0, 254), 11);
             EXPECT_EQ(Vel(3, 253), 24);
             EXPECT_EQ(Vel(0, 252), -32768);
             EXPECT_EQ(Vel(0, 255), 1234); // beyond NumCells: untouched
         }},
        {"fixed leader too short", test::Broadband({test::FixedLeader(shortFixed)}), false, 0,
         [&] { EXPECT_FALSE(setup.FixedLeaderSeen); }},
        {"bottom track without its last fields", test::Broadband({test::FixedLeader({}), test::BottomTrack(shortBt)}),
         false, 0,
         [&] {
             EXPECT_EQ(data.BTRangeData(3, kSlot), 1300);
             EXPECT_EQ(data.BTVelData(0, kSlot), -100);
             EXPECT_EQ(setup.BTMaxDepth, 0);
         }},
        {"navigation cut", test::Broadband({test::Navigation(shortNav)}), false, 0,
         [&] { EXPECT_FALSE(setup.NavigationSeen); }},
        {"length claimed beyond the buffer",
         test::Broadband({test::FixedLeader(forty), test::Velocity({{5, 5, 5, 5}})}), false, 60000,
         [&] {
             EXPECT_EQ(Vel(0, 39), 5);
             EXPECT_EQ(Vel(0, 38), -32768);
         }},
        {"narrowband short leader and a block beyond the end", nbBeyond, true, 0,
         [&] {
             EXPECT_FALSE(setup.BottomTrackSeen);
             EXPECT_EQ(Vel(0, 1), 8); // decoded with the earlier set-up
             EXPECT_EQ(Vel(0, 2), -32768);
         }},
    };
    data.VelData(0, 255, kSlot) = 1234;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EnsembleFrame frame = test::FrameOf(c.bytes, c.narrowband);
        if (c.claimed) frame.EnsembleBytes = c.claimed;
        if (c.narrowband) {
            setup.NumCells = 4;
            setup.NBVelResolution = 1.0;
            setup.SystemConfig = 0x80;
            Decode_Narrowband_Ensemble(frame, setup, data, kSlot, settings);
        } else {
            Decode(frame);
        }
        c.check();
    }
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

} // namespace
} // namespace mvx
