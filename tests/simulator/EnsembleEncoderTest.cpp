// The checksum and BCD helpers the encoders share (the encoders' layouts are proved by the round trips
// through the readers).
#include "simulator/EnsembleEncoder.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(EnsembleChecksum, WrapsAtSixteenBits) {
    std::vector<uint8_t> bytes(300, 0xFF); // 300 x 255 = 76500 = 65536 + 10964
    EXPECT_EQ(EnsembleChecksum(bytes.data(), bytes.size()), 10964);
    EXPECT_EQ(ToBcd(59), 0x59);
    EXPECT_EQ(ToBcd(7), 0x07);
}

} // namespace
} // namespace mvx
