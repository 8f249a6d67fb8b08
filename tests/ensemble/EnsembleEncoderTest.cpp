// The encoders' framing, checked against lengths worked out by hand (the fields inside the data types
// are checked by the round trips through the readers).
#include "ensemble/EnsembleEncoder.h"
#include "RawEnsembles.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::Be16;
using test::ByteSum;
using test::Le16;

EnsembleContents ThreeCells() {
    EnsembleContents c;
    c.Fixed.NumCells = 3;
    c.Velocity = {{1, 2, 3, 4}, {0xFFFF, kBadVelocityWord, 0x7FFF, 0x0100}, {10, 20, 30, 40}};
    c.Correlation = {{11, 12, 13, 14}, {21, 22, 23, 24}, {31, 32, 33, 34}};
    c.Echo = {{41, 42, 43, 44}, {51, 52, 53, 54}, {61, 62, 63, 64}};
    c.PercentGood = {{100, 0, 0, 100}, {1, 2, 3, 4}, {5, 6, 7, 8}};
    return c;
}

TEST(EncodeBroadband, AbsentDataTypesTakeNoRoomAndPaddingPrecedesTheChecksum) {
    EnsembleContents c = ThreeCells();
    c.HasCorrelation = c.HasEcho = false;
    c.PadBytes = 3;
    const auto bytes = EncodeBroadband(c);
    const size_t n = Le16(&bytes[2]);
    ASSERT_EQ(n + 2, bytes.size());
    EXPECT_EQ(bytes[0], 0x7F);
    EXPECT_EQ(bytes[1], 0x7F);
    ASSERT_EQ(bytes[5], 4);
    // Header 6 + 4 offsets, leaders 59 and 65, velocity 2 + 8 x 3, percent good 2 + 4 x 3, padding 3.
    EXPECT_EQ(n, 6u + 8 + 59 + 65 + 26 + 14 + 3);
    EXPECT_EQ(Le16(&bytes[Le16(&bytes[6 + 6])]), 0x0400);
    EXPECT_EQ(Le16(&bytes[n]), ByteSum(bytes.data(), n));
}

TEST(EncodeNarrowband, BlockLengthsAddUpWithPaddingInTheLastPresentBlock) {
    EnsembleContents c = ThreeCells();
    c.HasPercentGood = false;
    c.PadBytes = 2;
    const auto bytes = EncodeNarrowband(c);
    const size_t n = Be16(&bytes[0]);
    ASSERT_EQ(n + 2, bytes.size());
    EXPECT_EQ(bytes[3], 0x3F);
    const uint16_t lengths[5] = {63, 18, 12, 14, 0};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Be16(&bytes[2 + 2 * k]), lengths[k]) << k;
    EXPECT_EQ(n, 14u + 63 + 18 + 12 + 14);
    EXPECT_EQ(Be16(&bytes[n]), ByteSum(bytes.data(), n));
}

TEST(EnsembleChecksum, WrapsAtSixteenBits) {
    std::vector<uint8_t> bytes(300, 0xFF); // 300 x 255 = 76500 = 65536 + 10964
    EXPECT_EQ(EnsembleChecksum(bytes.data(), bytes.size()), 10964);
    EXPECT_EQ(ToBcd(59), 0x59);
    EXPECT_EQ(ToBcd(7), 0x07);
}

} // namespace
} // namespace mvx
