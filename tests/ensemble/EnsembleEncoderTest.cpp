// The encoders' byte layouts, checked field by field against offsets worked out by hand.
#include "ensemble/EnsembleEncoder.h"
#include "RawEnsembles.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::Be16;
using test::ByteSum;
using test::Le16;
using test::Le32;

EnsembleContents ThreeCells() {
    EnsembleContents c;
    c.Fixed.NumCells = 3;
    c.Velocity = {{1, 2, 3, 4}, {0xFFFF, kBadVelocityWord, 0x7FFF, 0x0100}, {10, 20, 30, 40}};
    c.Correlation = {{11, 12, 13, 14}, {21, 22, 23, 24}, {31, 32, 33, 34}};
    c.Echo = {{41, 42, 43, 44}, {51, 52, 53, 54}, {61, 62, 63, 64}};
    c.PercentGood = {{100, 0, 0, 100}, {1, 2, 3, 4}, {5, 6, 7, 8}};
    return c;
}

TEST(EncodeBroadband, HeaderLengthCountAndChecksum) {
    const auto bytes = EncodeBroadband(ThreeCells());
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes[0], 0x7F);
    EXPECT_EQ(bytes[1], 0x7F);
    const size_t n = Le16(&bytes[2]);
    EXPECT_EQ(n + 2, bytes.size());
    EXPECT_EQ(bytes[5], 6); // two leaders and four per-cell data types
    // 6 + 12 (table) + 59 + 65 + (2 + 24) + 3 x (2 + 12)
    EXPECT_EQ(n, 6u + 12 + 59 + 65 + 26 + 42);
    EXPECT_EQ(Le16(&bytes[n]), ByteSum(bytes.data(), n));
}

TEST(EncodeBroadband, OffsetTableListsTheDataTypesInOrderWithTheFixedLeaderFirst) {
    EnsembleContents c = ThreeCells();
    c.HasBottomTrack = c.HasText = c.HasFlowMeter = c.HasNavigation = true;
    c.Text = "abc";
    const auto bytes = EncodeBroadband(c);
    const uint16_t expected[] = {0x0000, 0x0080, 0x0100, 0x0200, 0x0300,
                                 0x0400, 0x0600, 0x0800, 0x1300, 0x2000};
    ASSERT_EQ(bytes[5], 10);
    size_t previous = 0;
    for (int i = 0; i < 10; ++i) {
        const size_t at = Le16(&bytes[6 + 2 * i]);
        EXPECT_EQ(Le16(&bytes[at]), expected[i]) << "data type " << i;
        EXPECT_GT(at, previous);
        previous = at;
    }
    EXPECT_EQ(Le16(&bytes[6]), 26u); // right after the ten-entry table
    // Each data type's size shows in the distance to the next one.
    const size_t text = Le16(&bytes[6 + 14]);
    EXPECT_EQ(Le16(&bytes[6 + 16]) - text, 6u); // id + "abc" + zero = 6 bytes, already even
    EXPECT_EQ(Le16(&bytes[6 + 14]) - Le16(&bytes[6 + 12]), 85u);
    EXPECT_EQ(Le16(&bytes[6 + 18]) - Le16(&bytes[6 + 16]), 40u);
    EXPECT_EQ(Le16(&bytes[2]) - Le16(&bytes[6 + 18]), 78u);
}

TEST(EncodeBroadband, AbsentDataTypesTakeNoRoom) {
    EnsembleContents c = ThreeCells();
    c.HasCorrelation = c.HasEcho = false;
    const auto bytes = EncodeBroadband(c);
    ASSERT_EQ(bytes[5], 4);
    EXPECT_EQ(Le16(&bytes[Le16(&bytes[6 + 6])]), 0x0400); // percent good follows velocity
}

TEST(EncodeBroadband, FixedLeaderFieldsAtTheirOffsets) {
    EnsembleContents c = ThreeCells();
    c.Fixed.FirmwareVersion = 16;
    c.Fixed.FirmwareRevision = 105;
    c.Fixed.SystemConfig = 0x41CB;
    c.Fixed.PingsPerEnsemble = 0x1234;
    c.Fixed.CellLength = 50;
    c.Fixed.TimePerPing[0] = 1;
    c.Fixed.TimePerPing[1] = 2;
    c.Fixed.TimePerPing[2] = 3;
    c.Fixed.CoordTransform = 0x07;
    c.Fixed.HeadingAlignment = -150;
    c.Fixed.Bin1Distance = 223;
    c.Fixed.XmitPulseLength = 61;
    c.Fixed.LagDistance = 0xABCD;
    c.Fixed.CpuSerial[7] = 0xEE;
    c.Fixed.Bandwidth = 1;
    c.Fixed.HighPower = 0;
    c.Fixed.BeamAngle = 30;
    const auto bytes = EncodeBroadband(c);
    const uint8_t* f = &bytes[Le16(&bytes[6])];
    EXPECT_EQ(f[2], 16);
    EXPECT_EQ(f[3], 105);
    EXPECT_EQ(Le16(f + 4), 0x41CB);
    EXPECT_EQ(f[9], 3);
    EXPECT_EQ(Le16(f + 10), 0x1234);
    EXPECT_EQ(Le16(f + 12), 50);
    EXPECT_EQ(f[22], 1);
    EXPECT_EQ(f[23], 2);
    EXPECT_EQ(f[24], 3);
    EXPECT_EQ(f[25], 0x07);
    EXPECT_EQ(Le16(f + 26), 65536 - 150);
    EXPECT_EQ(Le16(f + 32), 223);
    EXPECT_EQ(Le16(f + 34), 61);
    EXPECT_EQ(Le16(f + 40), 0xABCD);
    EXPECT_EQ(f[49], 0xEE);
    EXPECT_EQ(Le16(f + 50), 1);
    EXPECT_EQ(f[52], 0);
    EXPECT_EQ(f[58], 30);
    // The variable leader starts right after the 59th byte.
    EXPECT_EQ(Le16(&bytes[8]) - Le16(&bytes[6]), 59u);
}

TEST(EncodeBroadband, ShortFixedLeaderHasNoBeamAngleByte) {
    EnsembleContents c = ThreeCells();
    c.Fixed.ShortLeader = true;
    const auto bytes = EncodeBroadband(c);
    EXPECT_EQ(Le16(&bytes[8]) - Le16(&bytes[6]), 58u);
    EXPECT_EQ(Le16(&bytes[Le16(&bytes[8])]), 0x0080);
}

TEST(EncodeBroadband, VariableLeaderSplitsTheEnsembleNumberAndKeepsSignedWords) {
    EnsembleContents c = ThreeCells();
    c.Variable.EnsembleNumber = 0x123456;
    c.Variable.Year = 26;
    c.Variable.Month = 6;
    c.Variable.Day = 15;
    c.Variable.Hour = 0;
    c.Variable.Minute = 1;
    c.Variable.Second = 2;
    c.Variable.Hundredths = 3;
    c.Variable.Heading = 35999;
    c.Variable.Pitch = -310;
    c.Variable.Roll = 763;
    c.Variable.Temperature = -150;
    c.Variable.DepthDm = 250;
    c.Variable.TransmitVoltage = 171;
    c.Variable.Pressure = 0x01020304;
    const auto bytes = EncodeBroadband(c);
    const uint8_t* v = &bytes[Le16(&bytes[8])];
    EXPECT_EQ(Le16(v), 0x0080);
    EXPECT_EQ(Le16(v + 2), 0x3456);
    EXPECT_EQ(v[11], 0x12);
    const uint8_t clock[7] = {26, 6, 15, 0, 1, 2, 3};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(v[4 + i], clock[i]) << i;
    EXPECT_EQ(Le16(v + 16), 250);
    EXPECT_EQ(Le16(v + 18), 35999);
    EXPECT_EQ(static_cast<int16_t>(Le16(v + 20)), -310);
    EXPECT_EQ(static_cast<int16_t>(Le16(v + 22)), 763);
    EXPECT_EQ(static_cast<int16_t>(Le16(v + 26)), -150);
    EXPECT_EQ(v[35], 171);
    EXPECT_EQ(Le32(v + 48), 0x01020304u);
    // The second clock carries the century.
    EXPECT_EQ(v[57], 20);
    EXPECT_EQ(v[58], 26);
    EXPECT_EQ(v[64], 3);
}

TEST(EncodeBroadband, PerCellArraysAreCellMajorBeamMinor) {
    const auto bytes = EncodeBroadband(ThreeCells());
    const uint8_t* vel = &bytes[Le16(&bytes[10])];
    EXPECT_EQ(Le16(vel), 0x0100);
    EXPECT_EQ(Le16(vel + 2 + 8 * 0 + 2 * 3), 4);      // cell 0, beam 4
    EXPECT_EQ(Le16(vel + 2 + 8 * 1 + 2 * 0), 0xFFFF); // cell 1, beam 1: -1
    EXPECT_EQ(Le16(vel + 2 + 8 * 1 + 2 * 1), 0x8000); // the bad marker
    EXPECT_EQ(Le16(vel + 2 + 8 * 2 + 2 * 2), 30);     // cell 2, beam 3
    const uint8_t* corr = &bytes[Le16(&bytes[12])];
    EXPECT_EQ(corr[2 + 4 * 1 + 2], 23);
    const uint8_t* echo = &bytes[Le16(&bytes[14])];
    EXPECT_EQ(echo[2 + 4 * 2 + 3], 64);
    const uint8_t* pg = &bytes[Le16(&bytes[16])];
    EXPECT_EQ(pg[2 + 4 * 0 + 3], 100);
}

TEST(EncodeBroadband, BottomTrackRangesSplitIntoWordAndHighByte) {
    EnsembleContents c = ThreeCells();
    c.HasBottomTrack = true;
    c.BottomTrack.Range = {0x012345, 2000, 0, 0xFFFFFF};
    c.BottomTrack.Velocity = {0xFFF6, 10, kBadVelocityWord, 0};
    c.BottomTrack.RefVelocity = {1, 2, 3, 4};
    c.BottomTrack.RefIntensity = {90, 91, 92, 93};
    c.BottomTrack.MaxDepth = 1234;
    const auto bytes = EncodeBroadband(c);
    const uint8_t* bt = &bytes[Le16(&bytes[6 + 12])];
    EXPECT_EQ(Le16(bt), 0x0600);
    EXPECT_EQ(Le16(bt + 16), 0x2345);
    EXPECT_EQ(bt[77], 0x01);
    EXPECT_EQ(Le16(bt + 18), 2000);
    EXPECT_EQ(bt[78], 0);
    EXPECT_EQ(Le16(bt + 22), 0xFFFF);
    EXPECT_EQ(bt[80], 0xFF);
    EXPECT_EQ(Le16(bt + 24), 0xFFF6);
    EXPECT_EQ(Le16(bt + 28), 0x8000);
    EXPECT_EQ(Le16(bt + 50), 1);
    EXPECT_EQ(Le16(bt + 56), 4);
    EXPECT_EQ(bt[64], 92); // reference-layer intensity of beam 3 is the position marker byte
    EXPECT_EQ(Le16(bt + 70), 1234);
    EXPECT_EQ(Le32(bt + 12), 0u);
}

TEST(EncodeBroadband, BottomTrackWithAPositionOverlaysDelayAndNearBoundary) {
    EnsembleContents c = ThreeCells();
    c.HasBottomTrack = true;
    c.BottomTrack.Delay = 7;
    c.BottomTrack.RefLayerNear = 50;
    c.BottomTrack.CarriesPosition = true;
    c.BottomTrack.Latitude = -0x12345678;
    c.BottomTrack.Longitude = 0x0ABCDEF1;
    c.BottomTrack.PositionMarker = 2;
    const auto bytes = EncodeBroadband(c);
    const uint8_t* bt = &bytes[Le16(&bytes[6 + 12])];
    EXPECT_EQ(static_cast<int32_t>(Le32(bt + 12)), -0x12345678);
    EXPECT_EQ(Le16(bt + 4), 0xDEF1);
    EXPECT_EQ(Le16(bt + 46), 0x0ABC);
    EXPECT_EQ(bt[64], 2);
}

TEST(EncodeBroadband, TextIsZeroTerminatedAndPaddedToEvenLength) {
    EnsembleContents c = ThreeCells();
    c.HasText = true;
    c.TextId = 0x0703;
    c.Text = "T=12.5";
    const auto bytes = EncodeBroadband(c);
    const size_t at = Le16(&bytes[6 + 12]);
    EXPECT_EQ(Le16(&bytes[at]), 0x0703);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[at + 2])), "T=12.5");
    // id 2 + 6 characters + zero = 9, padded to 10.
    EXPECT_EQ(Le16(&bytes[2]) - at, 10u);
}

TEST(EncodeBroadband, FlowMeterAndNavigationFields) {
    EnsembleContents c = ThreeCells();
    c.HasFlowMeter = c.HasNavigation = true;
    c.FlowMeter = {25000, 600, 640, 0x00123456};
    c.Navigation.FirstLatitude = 0x22334455;
    c.Navigation.FirstLongitude = -5;
    c.Navigation.LastLatitude = 7;
    c.Navigation.LastLongitude = -0x10000000;
    c.Navigation.SpeedMadeGood = 1234;
    c.Navigation.DirectionMadeGood = 0x4000;
    const auto bytes = EncodeBroadband(c);
    const uint8_t* fm = &bytes[Le16(&bytes[6 + 12])];
    EXPECT_EQ(Le16(fm), 0x1300);
    EXPECT_EQ(Le16(fm + 2), 25000);
    EXPECT_EQ(Le16(fm + 8), 600);
    EXPECT_EQ(Le16(fm + 10), 640);
    EXPECT_EQ(Le16(fm + 36), 0x3456);
    EXPECT_EQ(Le16(fm + 38), 0x0012);
    const uint8_t* nav = &bytes[Le16(&bytes[6 + 14])];
    EXPECT_EQ(Le16(nav), 0x2000);
    EXPECT_EQ(Le32(nav + 14), 0x22334455u);
    EXPECT_EQ(static_cast<int32_t>(Le32(nav + 18)), -5);
    EXPECT_EQ(Le32(nav + 26), 7u);
    EXPECT_EQ(static_cast<int32_t>(Le32(nav + 30)), -0x10000000);
    EXPECT_EQ(Le16(nav + 40), 1234);
    EXPECT_EQ(Le16(nav + 42), 0x4000);
}

TEST(EncodeBroadband, PadBytesLengthenTheEnsembleBeforeTheChecksum) {
    EnsembleContents c = ThreeCells();
    const size_t plain = EncodeBroadband(c).size();
    c.PadBytes = 3;
    const auto bytes = EncodeBroadband(c);
    EXPECT_EQ(bytes.size(), plain + 3);
    const size_t n = Le16(&bytes[2]);
    EXPECT_EQ(Le16(&bytes[n]), ByteSum(bytes.data(), n));
}

TEST(ToBcd, WritesTwoDecimalDigits) {
    EXPECT_EQ(ToBcd(59), 0x59);
    EXPECT_EQ(ToBcd(0), 0x00);
    EXPECT_EQ(ToBcd(7), 0x07);
    EXPECT_EQ(ToBcd(23), 0x23);
}

TEST(EnsembleChecksum, WrapsAtSixteenBits) {
    std::vector<uint8_t> bytes(300, 0xFF); // 300 x 255 = 76500 = 65536 + 10964
    EXPECT_EQ(EnsembleChecksum(bytes.data(), bytes.size()), 10964);
}

TEST(EncodeNarrowband, LengthsBlocksAndBigEndianChecksum) {
    const auto bytes = EncodeNarrowband(ThreeCells());
    const size_t n = Be16(&bytes[0]);
    ASSERT_EQ(n + 2, bytes.size());
    EXPECT_EQ(bytes[3], 0x3F);
    EXPECT_EQ(Be16(&bytes[2]), 63);
    EXPECT_EQ(Be16(&bytes[4]), 18);  // 3 cells x 6 bytes
    EXPECT_EQ(Be16(&bytes[6]), 12);  // spectrum
    EXPECT_EQ(Be16(&bytes[8]), 12);  // AGC
    EXPECT_EQ(Be16(&bytes[10]), 12); // percent good
    EXPECT_EQ(n, 14u + 63 + 18 + 36);
    EXPECT_EQ(Be16(&bytes[n]), ByteSum(bytes.data(), n));
    // Blocks follow each other: the spectrum of cell 1 beam 3, the percent good of cell 2 beam 4.
    EXPECT_EQ(bytes[14 + 63 + 18 + 4 * 1 + 2], 23);
    EXPECT_EQ(bytes[14 + 63 + 18 + 24 + 4 * 2 + 3], 8);
}

TEST(EncodeNarrowband, VelocitiesArePackedTwelveBitsPerBeam) {
    EnsembleContents c = ThreeCells();
    c.Velocity = {{0x123, 0x456, 0x789, 0xABC}};
    c.Correlation.clear();
    c.Echo.clear();
    c.PercentGood.clear();
    const auto bytes = EncodeNarrowband(c);
    const uint8_t expected[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bytes[14 + 63 + i], expected[i]) << i;
    // Empty per-cell blocks are absent.
    EXPECT_EQ(Be16(&bytes[6]), 0);
    EXPECT_EQ(Be16(&bytes[10]), 0);
}

TEST(EncodeNarrowband, LeaderCarriesBcdClockAndBigEndianWords) {
    EnsembleContents c = ThreeCells();
    c.Variable.Month = 12;
    c.Variable.Day = 31;
    c.Variable.Hour = 23;
    c.Variable.Minute = 59;
    c.Variable.Second = 58;
    c.Fixed.TimePerPing[1] = 2;
    c.Fixed.TimePerPing[2] = 50;
    c.Fixed.PingsPerEnsemble = 300;
    c.Variable.EnsembleNumber = 0x1ABCD; // the narrowband word keeps the low 16 bits
    c.Narrowband.ConfigByte = 0xA6;
    c.Narrowband.PitchWord = 0xFF00;
    c.Narrowband.HeadingWord = 0x8000;
    c.Narrowband.TemperatureCount = 2048;
    c.Variable.TransmitVoltage = 140;
    c.Narrowband.BTVelocity = {0x800, 0xFFF, 0x001, 0x7FF};
    c.Narrowband.BTRange = {24, 0x0102, 0, 65535};
    const auto bytes = EncodeNarrowband(c);
    const uint8_t* p = &bytes[14];
    const uint8_t clock[5] = {0x12, 0x31, 0x23, 0x59, 0x58};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(p[i], clock[i]) << i;
    EXPECT_EQ(p[5], 0x00);
    EXPECT_EQ(p[6], 0x02);
    EXPECT_EQ(p[7], 0x50);
    EXPECT_EQ(Be16(p + 8), 300);
    EXPECT_EQ(p[10], 3);
    EXPECT_EQ(Be16(p + 15), 0xABCD);
    EXPECT_EQ(p[18], 0xA6);
    EXPECT_EQ(Be16(p + 21), 0xFF00);
    EXPECT_EQ(Be16(p + 25), 0x8000);
    EXPECT_EQ(Be16(p + 27), 2048);
    EXPECT_EQ(p[29], 140);
    const uint8_t bt[6] = {0x80, 0x0F, 0xFF, 0x00, 0x17, 0xFF};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p[41 + i], bt[i]) << i;
    EXPECT_EQ(Be16(p + 47), 24);
    EXPECT_EQ(Be16(p + 49), 0x0102);
    EXPECT_EQ(Be16(p + 53), 65535);
}

TEST(EncodeNarrowband, PaddingCountsInTheLastPresentBlock) {
    EnsembleContents c = ThreeCells();
    c.HasPercentGood = false;
    c.PadBytes = 2;
    const auto bytes = EncodeNarrowband(c);
    EXPECT_EQ(Be16(&bytes[10]), 0);
    EXPECT_EQ(Be16(&bytes[8]), 14); // AGC: 12 + 2
    size_t sum = 14;
    for (int k = 0; k < 5; ++k) sum += Be16(&bytes[2 + 2 * k]);
    EXPECT_EQ(sum, Be16(&bytes[0]));
}

} // namespace
} // namespace mvx
