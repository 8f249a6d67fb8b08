// Broadband decoding into the set-up and one data-set slot, from hand-built ensembles.
#include "EnsembleBuilder.h"
#include "ensemble/Decoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mvx {
namespace {

using test::Bytes;
using Cells = std::vector<std::array<uint16_t, 4>>;

constexpr int kSlot = 1; // not 0, so a decoder that ignores the slot is caught

class BroadbandDecode : public ::testing::Test {
  protected:
    void SetUp() override { Allocate_Data_Set(data, 2, 2, false); }
    void Decode(const Bytes& ensemble) {
        Decode_Broadband_Ensemble(test::FrameOf(ensemble), setup, data, kSlot, settings);
    }
    int16_t Vel(int beam, int bin) const { return data.VelData(beam, bin, kSlot); }

    DataSet data;
    InstrumentSetup setup;
    DecodeSettings settings;
};

TEST_F(BroadbandDecode, VelocityWordsMarkersAndLimits) {
    test::FixedLeaderFields up;
    up.SystemConfig = 0x4AC1;
    up.NumCells = 1;
    const Bytes fl = test::FixedLeader(up);
    Decode(test::Broadband({fl, test::Velocity({{0x8000, 0x8001, 0x7FFF, 20000}})}));
    EXPECT_EQ(Vel(0, 0), -32768);
    EXPECT_EQ(Vel(1, 0), -32767);
    EXPECT_EQ(Vel(2, 0), 32767);
    EXPECT_EQ(Vel(3, 0), 20000);

    settings.WaterVelScale = 2.0;
    Decode(test::Broadband({fl, test::Velocity({{0x8000, 0x8001, 0x7FFF, 20000}})}));
    EXPECT_EQ(Vel(0, 0), -32768); // the marker is never scaled
    EXPECT_EQ(Vel(1, 0), -32767); // -65534 limited, never reaching the marker
    EXPECT_EQ(Vel(2, 0), 32767);
    EXPECT_EQ(Vel(3, 0), 32767); // 40000 limited

    // Halves go to the even neighbour: 1.5 -> 2, 2.5 -> 2, -1.5 -> -2, -2.5 -> -2.
    settings.WaterVelScale = 0.5;
    Decode(test::Broadband({fl, test::Velocity({{3, 5, 0xFFFD, 0xFFFB}})}));
    EXPECT_EQ(Vel(0, 0), 2);
    EXPECT_EQ(Vel(1, 0), 2);
    EXPECT_EQ(Vel(2, 0), -2);
    EXPECT_EQ(Vel(3, 0), -2);
}

TEST_F(BroadbandDecode, DownLookingCellsAreStoredReversedUnlessFlipped) {
    test::FixedLeaderFields down; // bit 7 of the configuration clear
    const Cells vel{{100, 1, 1, 1}, {101, 1, 1, 1}, {102, 1, 1, 1}};
    const std::vector<std::array<uint8_t, 4>> corr{{10, 10, 10, 10}, {11, 11, 11, 11}, {12, 12, 12, 12}};
    const Bytes e =
        test::Broadband({test::FixedLeader(down), test::Velocity(vel), test::BeamBytes(0x0200, corr)});

    Decode(e);
    EXPECT_EQ(Vel(0, 0), 102);
    EXPECT_EQ(Vel(0, 1), 101);
    EXPECT_EQ(Vel(0, 2), 100);
    EXPECT_EQ(data.CorrData(0, 0, kSlot), 12);
    EXPECT_EQ(data.AncData(5, kSlot), 0);
    EXPECT_FALSE(setup.LooksUp());

    // Flip applies only to a valid (loaded) file.
    settings.FlipChecked = true;
    Decode(e);
    EXPECT_EQ(Vel(0, 0), 102);
    EXPECT_EQ(data.AncData(5, kSlot), 0);

    settings.FileValid = true;
    Decode(e);
    EXPECT_EQ(Vel(0, 0), 100);
    EXPECT_EQ(Vel(0, 2), 102);
    EXPECT_EQ(data.CorrData(0, 0, kSlot), 10);
    EXPECT_EQ(data.AncData(5, kSlot), 1);
    EXPECT_EQ(setup.SystemConfig, 0x4A41 | 0x80);

    // An up-looking ensemble flipped becomes down-looking.
    test::FixedLeaderFields up;
    up.SystemConfig = 0x4AC1;
    Decode(test::Broadband({test::FixedLeader(up), test::Velocity(vel)}));
    EXPECT_EQ(Vel(0, 0), 102);
    EXPECT_EQ(data.AncData(5, kSlot), 0);
}

TEST_F(BroadbandDecode, RepeatedDataTypeIsDecodedFromTheFirstOnly) {
    test::FixedLeaderFields up;
    up.SystemConfig = 0x4AC1;
    up.NumCells = 1;
    Decode(test::Broadband(
        {test::FixedLeader(up), test::Velocity({{1, 2, 3, 4}}), test::Velocity({{9, 9, 9, 9}})}));
    EXPECT_EQ(Vel(0, 0), 1);
    EXPECT_EQ(Vel(3, 0), 4);
    EXPECT_TRUE(setup.VelocitySeen);
}

TEST_F(BroadbandDecode, FixedLeaderSetUp) {
    test::FixedLeaderFields f;
    f.Version = 16;
    f.Revision = 105;
    f.NumCells = 17;
    f.Pings = 300;
    f.CellLengthCm = 50;
    f.CoordTransform = 0x07;
    f.Bin1Cm = 223;
    f.XmitCm = 113;
    f.LagCm = 49;
    Decode(test::Broadband({test::FixedLeader(f)}));
    EXPECT_DOUBLE_EQ(setup.FirmwareVersion, 16.05);
    EXPECT_FALSE(setup.FlowMeterFirmware);
    EXPECT_EQ(setup.NumCells, 17);
    EXPECT_EQ(setup.PingsPerEnsemble, 300);
    EXPECT_DOUBLE_EQ(setup.CellLength, 0.5);
    EXPECT_DOUBLE_EQ(setup.Bin1Distance, 2.23);
    EXPECT_DOUBLE_EQ(setup.XmitPulseLength, 1.13);
    EXPECT_DOUBLE_EQ(setup.XmitLagDistance, 0.49);
    EXPECT_EQ(setup.CoordTransform, 0x07);
    EXPECT_EQ(setup.TimePerPing[1], 1);
    EXPECT_EQ(setup.TimePerPing[2], 20);
    EXPECT_EQ(setup.BeamAngleFromLeader, 20);
    // cos 20 x cos 10 = 0.925417, cos 30 x cos 20 = 0.813798
    EXPECT_NEAR(setup.CellLengthCos20x10, 0.5 * 0.925417, 1e-6);
    EXPECT_NEAR(setup.Bin1DistanceCos30x20, 2.23 * 0.813798, 1e-6);
    EXPECT_TRUE(setup.FixedLeaderSeen);
    EXPECT_FALSE(setup.VariableLeaderSeen);

    f.Revision = 41;
    f.Version = 51;
    Decode(test::Broadband({test::FixedLeader(f)}));
    EXPECT_DOUBLE_EQ(setup.FirmwareVersion, 51.41);
}

TEST_F(BroadbandDecode, FlowMeterFirmwareUsesTheCosineCellGeometry) {
    for (uint8_t version : {6, 21}) {
        test::FixedLeaderFields f;
        f.Version = version;
        f.CellLengthCm = 100;
        f.Bin1Cm = 200;
        Decode(test::Broadband({test::FixedLeader(f)}));
        EXPECT_TRUE(setup.FlowMeterFirmware);
        EXPECT_NEAR(setup.CellLength, 0.813798, 1e-6);
        EXPECT_NEAR(setup.Bin1Distance, 2 * 0.813798, 1e-6);
        EXPECT_NEAR(setup.CellLengthCos20x10, 0.925417, 1e-6);
    }
}

TEST_F(BroadbandDecode, BeamAngleOnlyFromAFixedLeaderLongEnoughToHoldIt) {
    test::FixedLeaderFields shortLeader;
    shortLeader.Length = 58; // ends just before byte 58, where the variable leader's id (0x80) begins
    Decode(test::Broadband({test::FixedLeader(shortLeader), test::VariableLeader({})}));
    EXPECT_EQ(setup.BeamAngleFromLeader, 0);

    test::FixedLeaderFields longLeader;
    longLeader.BeamAngle = 30;
    Decode(test::Broadband({test::FixedLeader(longLeader), test::VariableLeader({})}));
    EXPECT_EQ(setup.BeamAngleFromLeader, 30);

    // As the last data type the leader extends to the end of the ensemble.
    Decode(test::Broadband({test::VariableLeader({}), test::FixedLeader(longLeader)}));
    EXPECT_EQ(setup.BeamAngleFromLeader, 30);
}

TEST_F(BroadbandDecode, VariableLeaderValues) {
    test::VariableLeaderFields f;
    f.EnsembleNumber = 0x011234; // 70196, high byte from byte 11
    f.Time = {105, 12, 31, 23, 59, 58, 99};
    f.Bit = 0x0102;
    f.DepthDm = 123;
    f.Heading = 35999;
    f.Pitch = -100;
    f.Roll = 2500;
    f.Temperature = -150;
    f.XmitVoltage = 177;
    Decode(test::Broadband({test::VariableLeader(f)}));
    EXPECT_EQ(setup.EnsembleNumber, 70196);
    EXPECT_EQ(data.EnsNumbers[kSlot], 70196);
    EXPECT_EQ(data.EnsNumbers[0], 0);
    const int expectedTime[7] = {5, 12, 31, 23, 59, 58, 99};
    for (int row = 0; row < 7; ++row) EXPECT_EQ(data.EnsTimes(row, kSlot), expectedTime[row]) << row;
    EXPECT_EQ(data.AncData(0, kSlot), -100);
    EXPECT_EQ(data.AncData(1, kSlot), 2500);
    EXPECT_EQ(data.AncData(2, kSlot), 35999);
    EXPECT_EQ(data.AncData(3, kSlot), -150);
    EXPECT_EQ(data.AncData(4, kSlot), 12300);
    EXPECT_EQ(data.AncData(6, kSlot), 258);
    EXPECT_EQ(data.AncData(7, kSlot), 177);

    f.Time[0] = 99;
    Decode(test::Broadband({test::VariableLeader(f)}));
    EXPECT_EQ(data.EnsTimes(0, kSlot), 99);
}

TEST_F(BroadbandDecode, DepthFromPressureWhenItAgreesWithTheTransducerDepth) {
    test::VariableLeaderFields f;
    f.DepthDm = 200;
    f.Pressure = 20000;
    f.Salinity = 35; // D = (1.02 - 0.02415) x 20000 = 19917 mm
    Decode(test::Broadband({test::VariableLeader(f)}));
    EXPECT_EQ(data.AncData(4, kSlot), 19917);
    EXPECT_EQ(setup.PressureDepthCount, 1);

    f.DepthDm = 300;
    Decode(test::Broadband({test::VariableLeader(f)}));
    EXPECT_EQ(data.AncData(4, kSlot), 30000);
    EXPECT_EQ(setup.PressureDepthCount, 0);

    settings.WaterDensity = 1025; // 19917 x 1000 / 1025 = 19431.2
    f.DepthDm = 200;
    Decode(test::Broadband({test::VariableLeader(f)}));
    EXPECT_EQ(data.AncData(4, kSlot), 19431);
    EXPECT_EQ(setup.PressureDepthCount, 1);

    // The 200 mm window is open: 1.02 x 19412 rounds to 19800 (200 away), 1.02 x 19413 to 19801.
    settings.WaterDensity = 1000;
    f.Salinity = 0;
    f.Pressure = 19412;
    Decode(test::Broadband({test::VariableLeader(f)}));
    EXPECT_EQ(data.AncData(4, kSlot), 20000);
    f.Pressure = 19413;
    Decode(test::Broadband({test::VariableLeader(f)}));
    EXPECT_EQ(data.AncData(4, kSlot), 19801);
}

TEST_F(BroadbandDecode, BeamBytesAndRoundedMeans) {
    test::FixedLeaderFields up;
    up.SystemConfig = 0x4AC1;
    up.NumCells = 5;
    const std::vector<std::array<uint8_t, 4>> cells{
        {1, 2, 2, 2}, {1, 1, 2, 2}, {2, 2, 3, 3}, {0, 0, 0, 1}, {255, 255, 255, 254}};
    // 7/4 -> 2, 6/4 -> 2, 10/4 -> 2 (half to even), 1/4 -> 0, 1019/4 -> 255
    const uint8_t means[5] = {2, 2, 2, 0, 255};
    for (int c = 0; c < 5; ++c) data.PGoodData(4, c, kSlot) = 99;
    Decode(test::Broadband({test::FixedLeader(up), test::BeamBytes(0x0200, cells),
                            test::BeamBytes(0x0300, cells), test::BeamBytes(0x0400, cells)}));
    for (int c = 0; c < 5; ++c) {
        for (int beam = 0; beam < 4; ++beam) {
            EXPECT_EQ(data.CorrData(beam, c, kSlot), cells[c][beam]);
            EXPECT_EQ(data.IntensityData(beam, c, kSlot), cells[c][beam]);
            EXPECT_EQ(data.PGoodData(beam, c, kSlot), cells[c][beam]);
        }
        EXPECT_EQ(data.CorrData(4, c, kSlot), means[c]) << c;
        EXPECT_EQ(data.IntensityData(4, c, kSlot), means[c]) << c;
        EXPECT_EQ(data.PGoodData(4, c, kSlot), 99) << "percent good has no mean";
    }
    EXPECT_TRUE(setup.CorrelationSeen && setup.IntensitySeen && setup.PercentGoodSeen);
}

TEST_F(BroadbandDecode, BottomTrack) {
    test::FixedLeaderFields fl; // firmware 51.41: ranges carry a high byte
    test::BottomTrackFields bt;
    bt.Lat = 0x80000001u;
    bt.LonHigh = 0xFFFF;
    bt.Delay = 0x1234;
    Decode(test::Broadband({test::FixedLeader(fl), test::BottomTrack(bt)}));
    EXPECT_EQ(setup.BTPings, 1);
    EXPECT_EQ(setup.BTDelay, 0x1234);
    EXPECT_EQ(setup.BTCorrMin, 220);
    EXPECT_EQ(setup.BTEvalMin, 1);
    EXPECT_EQ(setup.BTMode, 5);
    EXPECT_EQ(setup.BTErrMax, 1000);
    EXPECT_EQ(setup.BTMaxDepth, 999);
    const int32_t ranges[4] = {1000, 1100 + 65536, 1200 + 2 * 65536, 1300 + 3 * 65536};
    const int16_t vel[4] = {-100, 100, -32768, 0};
    const int16_t ref[4] = {-10, -20, -32768, 10};
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(data.BTRangeData(b, kSlot), ranges[b]) << b;
        EXPECT_EQ(data.BTVelData(b, kSlot), vel[b]) << b;
        EXPECT_EQ(data.RefVelData(b, kSlot), ref[b]) << b;
        EXPECT_EQ(data.RefVelWork(b, kSlot), ref[b]) << b;
    }
    EXPECT_EQ(data.LatData[kSlot], -2147483647);
    EXPECT_EQ(data.LonData[kSlot], static_cast<int32_t>(0xFFFF1234u - 4294967296LL));
    EXPECT_TRUE(setup.BottomTrackSeen);

    // Older firmware: no range high bytes. Bottom velocities use their own scale.
    fl.Version = 4;
    fl.Revision = 99;
    settings.BottomVelScale = 2;
    settings.WaterVelScale = 3;
    Decode(test::Broadband({test::FixedLeader(fl), test::BottomTrack(bt)}));
    EXPECT_EQ(data.BTRangeData(1, kSlot), 1100);
    EXPECT_EQ(data.BTVelData(0, kSlot), -200);
    EXPECT_EQ(data.BTVelData(1, kSlot), 200);
    EXPECT_EQ(data.RefVelData(0, kSlot), -30);
    EXPECT_EQ(data.RefVelWork(3, kSlot), 30);
}

TEST_F(BroadbandDecode, NavigationBlock) {
    test::NavigationFields nav;
    const double scale = 2147483648.0 / 180.0;
    nav.FirstLat = static_cast<int32_t>(std::lround(48.08 * scale));
    nav.FirstLon = static_cast<int32_t>(std::lround(-4.5 * scale));
    nav.LastLat = -1;
    nav.LastLon = INT32_MIN;
    nav.Speed = 1000;
    nav.Direction = 16384; // 90 degrees
    Decode(test::Broadband({test::Navigation(nav)}));
    EXPECT_NEAR(data.NavFirstLat[kSlot] / scale, 48.08, 1e-6);
    EXPECT_NEAR(data.NavFirstLon[kSlot] / scale, -4.5, 1e-6);
    EXPECT_EQ(data.NavLastLat[kSlot], -1);
    EXPECT_EQ(data.NavLastLon[kSlot], INT32_MIN);
    EXPECT_EQ(data.NavData(0, kSlot), 1000);
    EXPECT_EQ(data.NavData(1, kSlot), 0);
    EXPECT_EQ(data.NavData(4, kSlot), 1000);
    EXPECT_EQ(data.NavData(5, kSlot), 900);
    EXPECT_TRUE(setup.NavigationSeen);

    nav.Direction = 0xC000; // 270 degrees: heading west
    Decode(test::Broadband({test::Navigation(nav)}));
    EXPECT_EQ(data.NavData(0, kSlot), -1000);
    EXPECT_EQ(data.NavData(1, kSlot), 0);
    EXPECT_EQ(data.NavData(5, kSlot), 2700);

    nav.Speed = 40000;    // limited to 32767
    nav.Direction = 8192; // 45 degrees: 32767 x 0.7071068 = 23169.8
    Decode(test::Broadband({test::Navigation(nav)}));
    EXPECT_EQ(data.NavData(4, kSlot), 32767);
    EXPECT_EQ(data.NavData(0, kSlot), 23170);
    EXPECT_EQ(data.NavData(1, kSlot), 23170);
    EXPECT_EQ(data.NavData(5, kSlot), 450);

    nav.Direction = 0xFFFF; // 359.9945 degrees -> 3599.945 tenths -> 3600
    Decode(test::Broadband({test::Navigation(nav)}));
    EXPECT_EQ(data.NavData(5, kSlot), 3600);
}

TEST_F(BroadbandDecode, TextBlock) {
    Decode(test::Broadband({test::TextBlock(0x0703, "CTD 12.5\t35.1 \xB0"
                                                    "C")}));
    EXPECT_EQ(data.TextData[kSlot], "CTD 12.5\t35.1 \xB0"
                                    "C");
    EXPECT_TRUE(setup.TextBlockSeen);

    // The other id shares the flag: only the first text block is read.
    Decode(test::Broadband({test::TextBlock(0x0800, "first"), test::TextBlock(0x0703, "second")}));
    EXPECT_EQ(data.TextData[kSlot], "first");

    // At most 256 characters, and never beyond the ensemble when the zero byte is missing.
    Decode(test::Broadband({test::TextBlock(0x0703, std::string(300, 'x'))}));
    EXPECT_EQ(data.TextData[kSlot], std::string(256, 'x'));
    Decode(test::Broadband({test::TextBlock(0x0703, "abc", false)}));
    EXPECT_EQ(data.TextData[kSlot], "abc");
}

TEST_F(BroadbandDecode, FlowMeterBlockOnlyWithFlowMeterFirmware) {
    test::VariableLeaderFields vl;
    vl.Time = {21, 3, 4, 5, 6, 7, 8};
    test::FlowMeterFields fm{1234, 3, 4, 5, 2};
    test::FixedLeaderFields plain;
    Decode(test::Broadband({test::FixedLeader(plain), test::VariableLeader(vl), test::FlowMeter(fm)}));
    EXPECT_FALSE(setup.FlowMeterSeen);
    EXPECT_EQ(data.FlowMeterDepth[kSlot], 0);

    test::FixedLeaderFields flow;
    flow.Version = 6;
    Decode(test::Broadband({test::FixedLeader(flow), test::VariableLeader(vl), test::FlowMeter(fm)}));
    EXPECT_TRUE(setup.FlowMeterSeen);
    EXPECT_EQ(data.FlowMeterDepth[kSlot], 1234);
    EXPECT_EQ(data.FlowMeterVel[kSlot], 4); // (3 + 4) / 2 = 3.5 -> 4
    EXPECT_DOUBLE_EQ(data.FlowMeterQ[kSlot], 5 + 2 * 65536.0);
    EXPECT_EQ(data.FlowMeterStamp(0, kSlot), 19);
    for (int row = 0; row < 7; ++row) EXPECT_EQ(data.FlowMeterStamp(row + 1, kSlot), vl.Time[row]);

    fm.VelA = 2;
    fm.VelB = 3; // 2.5 -> 2
    Decode(test::Broadband({test::FixedLeader(flow), test::FlowMeter(fm)}));
    EXPECT_EQ(data.FlowMeterVel[kSlot], 2);
}

TEST_F(BroadbandDecode, NvramDataSetSkipsItsSecondDataType) {
    test::VariableLeaderFields vl;
    vl.EnsembleNumber = 42;
    vl.Length = 8100; // two data types and more than 8000 bytes
    Decode(test::Broadband({test::FixedLeader({}), test::VariableLeader(vl)}));
    EXPECT_FALSE(setup.VariableLeaderSeen);
    EXPECT_EQ(data.EnsNumbers[kSlot], 0);

    vl.Length = 7000;
    Decode(test::Broadband({test::FixedLeader({}), test::VariableLeader(vl)}));
    EXPECT_TRUE(setup.VariableLeaderSeen);
    EXPECT_EQ(data.EnsNumbers[kSlot], 42);
}

TEST_F(BroadbandDecode, FlagsAreClearedByEveryDecodeAndUnknownIdsIgnored) {
    Bytes unknown(10, 0);
    test::PutLE16(unknown, 0, 0x0500);
    Decode(test::Broadband({test::FixedLeader({}), test::VariableLeader({}), test::BottomTrack({})}));
    EXPECT_TRUE(setup.FixedLeaderSeen && setup.VariableLeaderSeen && setup.BottomTrackSeen);
    Decode(test::Broadband({unknown, test::VariableLeader({})}));
    EXPECT_FALSE(setup.FixedLeaderSeen);
    EXPECT_FALSE(setup.BottomTrackSeen);
    EXPECT_TRUE(setup.VariableLeaderSeen);
    EXPECT_EQ(setup.DataTypeCount, 2);
}

TEST_F(BroadbandDecode, PerBinTypesBeforeTheFixedLeaderUseThePreviousCellCount) {
    test::FixedLeaderFields two;
    two.SystemConfig = 0x4AC1;
    two.NumCells = 2;
    Decode(test::Broadband({test::FixedLeader(two)}));
    test::FixedLeaderFields three = two;
    three.NumCells = 3;
    data.VelData(0, 2, kSlot) = 555;
    Decode(test::Broadband(
        {test::Velocity({{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}}), test::FixedLeader(three)}));
    EXPECT_EQ(Vel(0, 0), 1);
    EXPECT_EQ(Vel(0, 1), 2);
    EXPECT_EQ(Vel(0, 2), 555);
    EXPECT_EQ(setup.NumCells, 3);
}

TEST(DecodeEnsemble, DispatchesByStructureAndClearsValidityForUnknown) {
    DataSet data;
    Allocate_Data_Set(data, 0, 0, false);
    InstrumentSetup setup;
    DecodeSettings settings;
    bool valid = true;
    test::VariableLeaderFields vl;
    vl.EnsembleNumber = 12;
    const Bytes bb = test::Broadband({test::VariableLeader(vl)});
    Decode_Ensemble(kBroadband, test::FrameOf(bb), setup, data, 0, settings, valid);
    EXPECT_EQ(data.EnsNumbers[0], 12);
    EXPECT_TRUE(valid);

    Decode_Ensemble(kNarrowband, test::FrameOf(test::SimpleNarrowband(33), true), setup, data, 0, settings,
                    valid);
    EXPECT_EQ(data.EnsNumbers[0], 33);
    EXPECT_TRUE(valid);

    Decode_Ensemble(kStructureUnknown, test::FrameOf(bb), setup, data, 0, settings, valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(data.EnsNumbers[0], 33);
}

} // namespace
} // namespace mvx
