// The encoders' byte layouts, checked against offsets worked out by hand.
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

// A word (or byte, when wide is false) expected at an offset from a data type's identifier.
struct Field {
    size_t Offset;
    uint32_t Value;
    int Width; // 1, 2 or 4 bytes, little-endian
};

void ExpectFields(const uint8_t* p, std::initializer_list<Field> fields, const char* what) {
    for (const Field& f : fields) {
        const uint32_t got = f.Width == 1   ? p[f.Offset]
                             : f.Width == 2 ? Le16(p + f.Offset)
                                            : Le32(p + f.Offset);
        EXPECT_EQ(got, f.Value) << what << " offset " << f.Offset;
    }
}

TEST(EncodeBroadband, HeaderOffsetTableAndChecksum) {
    EnsembleContents c = ThreeCells();
    c.HasBottomTrack = c.HasText = c.HasFlowMeter = c.HasNavigation = true;
    c.Text = "abc";
    const auto bytes = EncodeBroadband(c);
    const size_t n = Le16(&bytes[2]);
    ASSERT_EQ(n + 2, bytes.size());
    EXPECT_EQ(bytes[0], 0x7F);
    EXPECT_EQ(bytes[1], 0x7F);
    ASSERT_EQ(bytes[5], 10);
    EXPECT_EQ(Le16(&bytes[n]), ByteSum(bytes.data(), n));
    // Identifiers in order, fixed leader first, right after the ten-entry table; the sizes show in the
    // distances: 59, 65, 2 + 8 x 3, 3 x (2 + 4 x 3), 85, id + "abc" + zero = 6, 40, 78.
    const uint16_t ids[] = {0x0000, 0x0080, 0x0100, 0x0200, 0x0300, 0x0400, 0x0600, 0x0800, 0x1300, 0x2000};
    const size_t sizes[] = {59, 65, 26, 14, 14, 14, 85, 6, 40, 78};
    size_t at = 26;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Le16(&bytes[6 + 2 * i]), at) << i;
        EXPECT_EQ(Le16(&bytes[at]), ids[i]) << i;
        at += sizes[i];
    }
    EXPECT_EQ(at, n);

    // Absent data types take no room; padding lengthens the ensemble before its checksum.
    c = ThreeCells();
    c.HasCorrelation = c.HasEcho = false;
    c.PadBytes = 3;
    const auto shorter = EncodeBroadband(c);
    ASSERT_EQ(shorter[5], 4);
    EXPECT_EQ(Le16(&shorter[Le16(&shorter[6 + 6])]), 0x0400);
    EXPECT_EQ(Le16(&shorter[2]), 6u + 8 + 59 + 65 + 26 + 14 + 3);
    EXPECT_EQ(Le16(&shorter[Le16(&shorter[2])]), ByteSum(shorter.data(), Le16(&shorter[2])));
}

TEST(EncodeBroadband, LeaderFieldsAtTheirOffsets) {
    EnsembleContents c = ThreeCells();
    FixedLeaderContents& f = c.Fixed;
    f.FirmwareVersion = 16;
    f.FirmwareRevision = 105;
    f.SystemConfig = 0x41CB;
    f.PingsPerEnsemble = 0x1234;
    f.CellLength = 50;
    f.TimePerPing[0] = 1;
    f.TimePerPing[1] = 2;
    f.TimePerPing[2] = 3;
    f.CoordTransform = 0x07;
    f.HeadingAlignment = -150;
    f.Bin1Distance = 223;
    f.XmitPulseLength = 61;
    f.LagDistance = 0xABCD;
    f.CpuSerial[7] = 0xEE;
    f.Bandwidth = 1;
    f.HighPower = 0;
    f.BeamAngle = 30;
    VariableLeaderContents& v = c.Variable;
    v.EnsembleNumber = 0x123456;
    v.Year = 26;
    v.Month = 6;
    v.Day = 15;
    v.Minute = 1;
    v.Second = 2;
    v.Hundredths = 3;
    v.Heading = 35999;
    v.Pitch = -310;
    v.Roll = 763;
    v.Temperature = -150;
    v.DepthDm = 250;
    v.TransmitVoltage = 171;
    v.Pressure = 0x01020304;
    const auto bytes = EncodeBroadband(c);
    ExpectFields(&bytes[Le16(&bytes[6])],
                 {{2, 16, 1},
                  {3, 105, 1},
                  {4, 0x41CB, 2},
                  {9, 3, 1},
                  {10, 0x1234, 2},
                  {12, 50, 2},
                  {22, 1, 1},
                  {23, 2, 1},
                  {24, 3, 1},
                  {25, 7, 1},
                  {26, 65536 - 150, 2},
                  {32, 223, 2},
                  {34, 61, 2},
                  {40, 0xABCD, 2},
                  {49, 0xEE, 1},
                  {50, 1, 2},
                  {52, 0, 1},
                  {58, 30, 1}},
                 "fixed leader");
    ExpectFields(&bytes[Le16(&bytes[8])],
                 {{0, 0x0080, 2},
                  {2, 0x3456, 2},
                  {11, 0x12, 1},
                  {4, 26, 1},
                  {5, 6, 1},
                  {6, 15, 1},
                  {8, 1, 1},
                  {9, 2, 1},
                  {10, 3, 1},
                  {16, 250, 2},
                  {18, 35999, 2},
                  {20, 65536 - 310, 2},
                  {22, 763, 2},
                  {26, 65536 - 150, 2},
                  {35, 171, 1},
                  {48, 0x01020304, 4},
                  {57, 20, 1},
                  {58, 26, 1},
                  {64, 3, 1}},
                 "variable leader");

    // Without the beam-angle byte the fixed leader is 58 bytes long.
    c.Fixed.ShortLeader = true;
    const auto shortLeader = EncodeBroadband(c);
    EXPECT_EQ(Le16(&shortLeader[8]) - Le16(&shortLeader[6]), 58u);
    EXPECT_EQ(Le16(&shortLeader[Le16(&shortLeader[8])]), 0x0080);
}

TEST(EncodeBroadband, PerCellArraysAreCellMajorBeamMinor) {
    const auto bytes = EncodeBroadband(ThreeCells());
    ExpectFields(&bytes[Le16(&bytes[10])],
                 {{2 + 6, 4, 2}, {2 + 8, 0xFFFF, 2}, {2 + 10, 0x8000, 2}, {2 + 20, 30, 2}}, "velocity");
    EXPECT_EQ(bytes[Le16(&bytes[12]) + 2 + 4 * 1 + 2], 23);
    EXPECT_EQ(bytes[Le16(&bytes[14]) + 2 + 4 * 2 + 3], 64);
    EXPECT_EQ(bytes[Le16(&bytes[16]) + 2 + 4 * 0 + 3], 100);
}

TEST(EncodeBroadband, OptionalBlocksAtTheirOffsets) {
    EnsembleContents c = ThreeCells();
    c.HasBottomTrack = c.HasText = c.HasFlowMeter = c.HasNavigation = true;
    c.TextId = 0x0703;
    c.Text = "T=12.5"; // id 2 + 6 characters + zero = 9, padded to 10
    BottomTrackContents& bt = c.BottomTrack;
    bt.Range = {0x012345, 2000, 0, 0xFFFFFF};
    bt.Velocity = {0xFFF6, 10, kBadVelocityWord, 0};
    bt.RefVelocity = {1, 2, 3, 4};
    bt.RefIntensity = {90, 91, 92, 93};
    bt.MaxDepth = 1234;
    c.FlowMeter = {25000, 600, 640, 0x00123456};
    c.Navigation.FirstLatitude = 0x22334455;
    c.Navigation.FirstLongitude = -5;
    c.Navigation.LastLongitude = -0x10000000;
    c.Navigation.SpeedMadeGood = 1234;
    c.Navigation.DirectionMadeGood = 0x4000;
    auto bytes = EncodeBroadband(c);
    ExpectFields(&bytes[Le16(&bytes[18])],
                 {{16, 0x2345, 2},
                  {77, 0x01, 1},
                  {18, 2000, 2},
                  {78, 0, 1},
                  {22, 0xFFFF, 2},
                  {80, 0xFF, 1},
                  {24, 0xFFF6, 2},
                  {28, 0x8000, 2},
                  {50, 1, 2},
                  {56, 4, 2},
                  {64, 92, 1},
                  {70, 1234, 2},
                  {12, 0, 4}},
                 "bottom track");
    const size_t text = Le16(&bytes[20]);
    EXPECT_EQ(Le16(&bytes[text]), 0x0703);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[text + 2])), "T=12.5");
    EXPECT_EQ(Le16(&bytes[22]) - text, 10u);
    ExpectFields(&bytes[Le16(&bytes[22])],
                 {{2, 25000, 2}, {8, 600, 2}, {10, 640, 2}, {36, 0x3456, 2}, {38, 0x12, 2}}, "flow meter");
    ExpectFields(
        &bytes[Le16(&bytes[24])],
        {{14, 0x22334455, 4}, {18, 0xFFFFFFFB, 4}, {30, 0xF0000000, 4}, {40, 1234, 2}, {42, 0x4000, 2}},
        "navigation");

    // A bottom-track block that carries a position puts it over the delay and the near boundary.
    bt.Delay = 7;
    bt.CarriesPosition = true;
    bt.Latitude = -0x12345678;
    bt.Longitude = 0x0ABCDEF1;
    bt.PositionMarker = 2;
    bytes = EncodeBroadband(c);
    ExpectFields(&bytes[Le16(&bytes[18])], {{12, 0xEDCBA988, 4}, {4, 0xDEF1, 2}, {46, 0x0ABC, 2}, {64, 2, 1}},
                 "bottom track with a position");
}

TEST(EncodeNarrowband, LengthsBlocksAndBigEndianChecksum) {
    EnsembleContents c = ThreeCells();
    auto bytes = EncodeNarrowband(c);
    const size_t n = Be16(&bytes[0]);
    ASSERT_EQ(n + 2, bytes.size());
    EXPECT_EQ(bytes[3], 0x3F);
    const uint16_t lengths[5] = {63, 18, 12, 12, 12};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Be16(&bytes[2 + 2 * k]), lengths[k]) << k;
    EXPECT_EQ(n, 14u + 63 + 18 + 36);
    EXPECT_EQ(Be16(&bytes[n]), ByteSum(bytes.data(), n));
    // Blocks follow each other: the spectrum of cell 1 beam 3, the percent good of cell 2 beam 4.
    EXPECT_EQ(bytes[14 + 63 + 18 + 4 * 1 + 2], 23);
    EXPECT_EQ(bytes[14 + 63 + 18 + 24 + 4 * 2 + 3], 8);

    // Padding counts in the last present block, so the lengths still add up to N.
    c.HasPercentGood = false;
    c.PadBytes = 2;
    bytes = EncodeNarrowband(c);
    EXPECT_EQ(Be16(&bytes[10]), 0);
    EXPECT_EQ(Be16(&bytes[8]), 14);
    EXPECT_EQ(Be16(&bytes[0]), 14u + 63 + 18 + 12 + 14);
}

TEST(EncodeNarrowband, TwelveBitVelocitiesAndBcdLeader) {
    EnsembleContents c = ThreeCells();
    c.Velocity = {{0x123, 0x456, 0x789, 0xABC}};
    c.Correlation.clear(); // an empty block is absent
    c.Variable.Month = 12;
    c.Variable.Day = 31;
    c.Variable.Hour = 23;
    c.Variable.Minute = 59;
    c.Variable.Second = 58;
    c.Fixed.TimePerPing[1] = 2;
    c.Fixed.TimePerPing[2] = 50;
    c.Fixed.PingsPerEnsemble = 300;
    c.Variable.EnsembleNumber = 0x1ABCD; // the narrowband word keeps the low 16 bits
    c.Narrowband.PitchWord = 0xFF00;
    c.Narrowband.HeadingWord = 0x8000;
    c.Narrowband.TemperatureCount = 2048;
    c.Variable.TransmitVoltage = 140;
    c.Narrowband.BTVelocity = {0x800, 0xFFF, 0x001, 0x7FF};
    c.Narrowband.BTRange = {24, 0x0102, 0, 65535};
    const auto bytes = EncodeNarrowband(c);
    EXPECT_EQ(Be16(&bytes[6]), 0);
    const uint8_t velocity[6] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bytes[14 + 63 + i], velocity[i]) << i;
    const uint8_t* p = &bytes[14];
    const uint8_t clock[8] = {0x12, 0x31, 0x23, 0x59, 0x58, 0x00, 0x02, 0x50};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(p[i], clock[i]) << i;
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

TEST(EnsembleChecksum, WrapsAtSixteenBits) {
    std::vector<uint8_t> bytes(300, 0xFF); // 300 x 255 = 76500 = 65536 + 10964
    EXPECT_EQ(EnsembleChecksum(bytes.data(), bytes.size()), 10964);
    EXPECT_EQ(ToBcd(59), 0x59);
    EXPECT_EQ(ToBcd(7), 0x07);
}

} // namespace
} // namespace mvx
