// Broadband decoding into the set-up and one data-set slot, from hand-built ensembles.
#include "EnsembleBuilder.h"
#include "ensemble/Decoder.h"
#include "model/DataSet.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::Bytes;

constexpr int kSlot = 1; // not 0, so a decoder that ignores the slot is caught

test::FixedLeaderFields Leader(uint16_t config, uint8_t cells) {
    test::FixedLeaderFields f;
    f.SystemConfig = config;
    f.NumCells = cells;
    return f;
}
const uint16_t kUp = 0x4AC1, kDown = 0x4A41;

class BroadbandDecode : public ::testing::Test {
  protected:
    void SetUp() override { Allocate_Data_Set(data, 2, 2, false); }
    void Decode(const std::vector<Bytes>& types) {
        Decode_Broadband_Ensemble(test::FrameOf(test::Broadband(types)), setup, data, kSlot, settings);
    }
    int Vel(int beam, int bin) const { return data.VelData(beam, bin, kSlot); }
    int Anc(int row) const { return data.AncData(row, kSlot); }

    DataSet data;
    InstrumentSetup setup;
    DecodeSettings settings;
};

TEST_F(BroadbandDecode, VelocityWordsMarkersLimitsAndRounding) {
    const Bytes fl = test::FixedLeader(Leader(kUp, 1));
    struct Case {
        double scale;
        std::array<uint16_t, 4> raw;
        std::array<int, 4> want;
    };
    const Case cases[] = {
        {1.0, {0x8000, 0x8001, 0x7FFF, 20000}, {-32768, -32767, 32767, 20000}},
        {2.0, {0x8000, 0x8001, 0x7FFF, 20000}, {-32768, -32767, 32767, 32767}}, // marker kept, limits
        {0.5, {3, 5, 0xFFFD, 0xFFFB}, {2, 2, -2, -2}},                          // halves to even
    };
    for (const Case& c : cases) {
        settings.WaterVelScale = c.scale;
        Decode({fl, test::Velocity({c.raw})});
        for (int beam = 0; beam < 4; ++beam) EXPECT_EQ(Vel(beam, 0), c.want[beam]) << c.scale << " " << beam;
    }
}

TEST_F(BroadbandDecode, DownLookingCellsAreStoredReversedUnlessFlipped) {
    const test::Words4 vel{{100, 1, 1, 1}, {101, 1, 1, 1}, {102, 1, 1, 1}};
    const std::vector<Bytes> down{
        test::FixedLeader(Leader(kDown, 3)), test::Velocity(vel),
        test::BeamBytes(0x0200, {{10, 10, 10, 10}, {11, 11, 11, 11}, {12, 12, 12, 12}})};
    // (Down-looking cells stored reversed are checked by the round trips.)
    settings.FlipChecked = true; // Flip applies only to a valid (loaded) file
    Decode(down);
    EXPECT_EQ(Vel(0, 0), 102);
    settings.FileValid = true;
    Decode(down);
    EXPECT_EQ(Vel(0, 0), 100);
    EXPECT_EQ(Vel(0, 2), 102);
    EXPECT_EQ(data.CorrData(0, 0, kSlot), 10);
    EXPECT_EQ(Anc(5), 1);
    EXPECT_EQ(setup.SystemConfig, kUp);

    Decode({test::FixedLeader(Leader(kUp, 3)), test::Velocity(vel)}); // up flipped becomes down
    EXPECT_EQ(Vel(0, 0), 102);
    EXPECT_EQ(Anc(5), 0);
}

TEST_F(BroadbandDecode, RepeatedDataTypeIsDecodedFromTheFirstOnly) {
    Decode(
        {test::FixedLeader(Leader(kUp, 1)), test::Velocity({{1, 2, 3, 4}}), test::Velocity({{9, 9, 9, 9}})});
    EXPECT_EQ(Vel(0, 0), 1);
    EXPECT_EQ(Vel(3, 0), 4);
}

TEST_F(BroadbandDecode, BeamAngleOnlyFromAFixedLeaderLongEnoughToHoldIt) {
    test::FixedLeaderFields f;
    f.BeamAngle = 30;
    f.Length = 58; // ends just before byte 58, where the variable leader's id (0x80) begins
    Decode({test::FixedLeader(f), test::VariableLeader({})});
    EXPECT_EQ(setup.BeamAngleFromLeader, 0);
    f.Length = 59;
    Decode({test::FixedLeader(f), test::VariableLeader({})});
    EXPECT_EQ(setup.BeamAngleFromLeader, 30);
    Decode({test::VariableLeader({}), test::FixedLeader(f)}); // the last data type reaches the end
    EXPECT_EQ(setup.BeamAngleFromLeader, 30);
}

TEST_F(BroadbandDecode, DepthFromPressureWhenItAgreesWithTheTransducerDepth) {
    struct Case {
        uint16_t depthDm, salinity;
        uint32_t pressure;
        float density;
        int want, count;
    };
    const Case cases[] = {
        {200, 35, 20000, 1000, 19917, 1}, // D = (1.02 - 0.02415) x 20000 = 19917
        {300, 35, 20000, 1000, 30000, 0}, // 10083 mm apart: the transducer depth stays
        {200, 35, 20000, 1025, 19431, 1}, // 19917 x 1000 / 1025 = 19431.2
        {200, 0, 19412, 1000, 20000, 0},  // 1.02 x 19412 rounds to 19800: 200 apart is too far
        {200, 0, 19413, 1000, 19801, 1},  // 199 apart
    };
    for (const Case& c : cases) {
        test::VariableLeaderFields f;
        f.DepthDm = c.depthDm;
        f.Salinity = c.salinity;
        f.Pressure = c.pressure;
        settings.WaterDensity = c.density;
        Decode({test::VariableLeader(f)});
        EXPECT_EQ(Anc(4), c.want) << c.pressure;
        EXPECT_EQ(setup.PressureDepthCount, c.count) << c.pressure;
    }
}

TEST_F(BroadbandDecode, PercentGoodHasNoMean) {
    // (Beam bytes and the rounded means of correlation and echo are checked by the round trips.)
    data.PGoodData(4, 0, kSlot) = 99;
    Decode({test::FixedLeader(Leader(kUp, 1)), test::BeamBytes(0x0400, {{1, 2, 2, 2}})});
    EXPECT_EQ(data.PGoodData(1, 0, kSlot), 2);
    EXPECT_EQ(data.PGoodData(4, 0, kSlot), 99);
}

TEST_F(BroadbandDecode, BottomTrack) {
    test::BottomTrackFields bt;
    bt.Lat = 0x80000001u;
    bt.LonHigh = 0xFFFF; // with the word at 4-5 (0x1234): 0xFFFF1234
    Decode({test::FixedLeader({}), test::BottomTrack(bt)});
    // (Ranges and velocities of current firmware are checked by the round trips.)
    EXPECT_EQ(data.BTRangeData(1, kSlot), 1100 + 65536);
    EXPECT_EQ(data.LatData[kSlot], -2147483647);
    EXPECT_EQ(data.LonData[kSlot], -0xEDCC);

    // Firmware 4.99 has no range high bytes; bottom and reference velocities have their own scales.
    test::FixedLeaderFields old;
    old.Version = 4;
    old.Revision = 99;
    settings.BottomVelScale = 2;
    settings.WaterVelScale = 3;
    Decode({test::FixedLeader(old), test::BottomTrack(bt)});
    EXPECT_EQ(data.BTRangeData(1, kSlot), 1100);
    EXPECT_EQ(data.BTVelData(0, kSlot), -200);
    EXPECT_EQ(data.RefVelData(0, kSlot), -30);
    EXPECT_EQ(data.RefVelWork(3, kSlot), 30);
}

TEST_F(BroadbandDecode, NavigationBlock) {
    test::NavigationFields nav;
    nav.LastLon = INT32_MIN;
    struct Case {
        uint16_t speed, direction;
        int east, north, speedOut, tenths;
    };
    const Case cases[] = {
        {1000, 16384, 1000, 0, 1000, 900}, // 90 degrees
        {0, 0xFFFF, 0, 0, 0, 3600},        // 359.9945 degrees rounds to 3600
    };
    for (const Case& c : cases) {
        nav.Speed = c.speed;
        nav.Direction = c.direction;
        Decode({test::Navigation(nav)});
        EXPECT_EQ(data.NavData(0, kSlot), c.east) << c.direction;
        EXPECT_EQ(data.NavData(1, kSlot), c.north) << c.direction;
        EXPECT_EQ(data.NavData(4, kSlot), c.speedOut);
        EXPECT_EQ(data.NavData(5, kSlot), c.tenths) << c.direction;
    }
    EXPECT_EQ(data.NavLastLon[kSlot], INT32_MIN);
}

TEST_F(BroadbandDecode, TextBlock) {
    Decode({test::TextBlock(0x0703, "CTD 12.5\t35.1 \xB0"
                                    "C")});
    EXPECT_EQ(data.TextData[kSlot], "CTD 12.5\t35.1 \xB0"
                                    "C");
    Decode({test::TextBlock(0x0800, "first"), test::TextBlock(0x0703, "second")}); // one shared flag
    EXPECT_EQ(data.TextData[kSlot], "first");
    Decode({test::TextBlock(0x0703, std::string(300, 'x'))});
    EXPECT_EQ(data.TextData[kSlot], std::string(256, 'x'));
    Decode({test::TextBlock(0x0703, "abc", false)}); // no zero byte: ends with the ensemble
    EXPECT_EQ(data.TextData[kSlot], "abc");
}

TEST_F(BroadbandDecode, FlowMeterBlockOnlyWithFlowMeterFirmware) {
    const Bytes block = test::FlowMeter(1234, 3, 4, 5, 2);
    Decode({test::FixedLeader({}), block});
    EXPECT_FALSE(setup.FlowMeterSeen);
    EXPECT_EQ(data.FlowMeterDepth[kSlot], 0);
    test::FixedLeaderFields flow;
    flow.Version = 21;
    Decode({test::FixedLeader(flow), block});
    EXPECT_EQ(data.FlowMeterDepth[kSlot], 1234);
    EXPECT_EQ(data.FlowMeterVel[kSlot], 4); // 3.5 -> 4
    EXPECT_DOUBLE_EQ(data.FlowMeterQ[kSlot], 5 + 2 * 65536.0);
    Decode({test::FixedLeader(flow), test::FlowMeter(0, 2, 3, 0, 0)});
    EXPECT_EQ(data.FlowMeterVel[kSlot], 2); // 2.5 -> 2
}

TEST_F(BroadbandDecode, NvramDataSetOfMoreThan8000BytesSkipsItsVariableLeader) {
    const Bytes unknown{0x00, 0x05}; // a third data type of only its id, 0x0500
    const struct {
        size_t bytes;
        bool third;
        bool stored;
    } cases[] = {{8000, false, true}, {8001, false, false}, {8001, true, true}};
    for (const auto& c : cases) {
        test::VariableLeaderFields vl;
        vl.EnsembleNumber = 42;
        // The variable leader fills what the header, offset table and fixed leader leave.
        vl.Length = c.bytes - 6 - (c.third ? 6 : 4) - 59 - (c.third ? unknown.size() : 0);
        std::vector<Bytes> types{test::FixedLeader({}), test::VariableLeader(vl)};
        if (c.third) types.push_back(unknown);
        ASSERT_EQ(test::Broadband(types).size(), c.bytes + 2);
        data.EnsNumbers[kSlot] = 0;
        Decode(types);
        EXPECT_EQ(setup.VariableLeaderSeen, c.stored) << c.bytes << " " << c.third;
        EXPECT_EQ(data.EnsNumbers[kSlot], c.stored ? 42 : 0) << c.bytes << " " << c.third;
    }
}

TEST_F(BroadbandDecode, FlagsClearedByEveryDecodeAndPerBinTypesUseTheCurrentCellCount) {
    Decode({test::FixedLeader(Leader(kUp, 2)), test::BottomTrack({})});
    EXPECT_TRUE(setup.FixedLeaderSeen && setup.BottomTrackSeen);
    data.VelData(0, 2, kSlot) = 555;
    // An unknown id is ignored; a velocity before the fixed leader uses the previous cell count (2).
    Bytes unknown(10, 0);
    test::PutLE16(unknown, 0, 0x0500);
    Decode({unknown, test::Velocity({{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}),
            test::FixedLeader(Leader(kUp, 3))});
    EXPECT_FALSE(setup.BottomTrackSeen);
    EXPECT_EQ(setup.DataTypeCount, 3);
    EXPECT_EQ(Vel(0, 1), 2);
    EXPECT_EQ(Vel(0, 2), 555);
    EXPECT_EQ(setup.NumCells, 3);
}

TEST(DecodeEnsemble, UnknownStructureClearsValidityAndDecodesNothing) {
    // (Both known structures are decoded through this dispatch by the round trips.)
    DataSet data;
    Allocate_Data_Set(data, 0, 0, false);
    InstrumentSetup setup;
    bool valid = true;
    Decode_Ensemble(kStructureUnknown, test::FrameOf(test::SimpleBroadband(12)), setup, data, 0, {}, valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(data.EnsNumbers[0], 0);
}

} // namespace
} // namespace mvx
