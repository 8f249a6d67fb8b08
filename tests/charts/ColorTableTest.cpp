#include "charts/ColorTable.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

struct Channels {
    int R, G, B;
};

Channels Of(ColorRef c) {
    return {RedOf(c), GreenOf(c), BlueOf(c)};
}

class ColorTableTest : public ::testing::Test {
  protected:
    void SetUp() override { Init_Color_Table(table); }
    ColorTableArray table{};
};

TEST_F(ColorTableTest, RedSitsInTheLowByte) {
    // Index 0 is pure blue, index 99 nearly pure red.
    EXPECT_EQ(table[0], 0x00FF0000u);
    EXPECT_EQ(table[99] & 0xFFu, 255u);
    EXPECT_EQ((table[99] >> 16) & 0xFFu, 9u);
}

TEST_F(ColorTableTest, ValueScaleSpotEntries) {
    const struct {
        int Index, R, G, B;
    } spots[] = {{0, 0, 0, 255},    {1, 0, 8, 255},   {29, 0, 252, 255}, {30, 0, 255, 255}, {31, 0, 255, 233},
                 {41, 0, 255, 9},   {42, 8, 255, 9},  {50, 77, 255, 9},  {70, 248, 255, 9}, {71, 255, 255, 9},
                 {72, 255, 247, 9}, {89, 255, 98, 9}, {98, 255, 20, 9},  {99, 255, 11, 9}};
    for (const auto& s : spots) {
        const Channels c = Of(table[s.Index]);
        EXPECT_EQ(c.R, s.R) << "index " << s.Index;
        EXPECT_EQ(c.G, s.G) << "index " << s.Index;
        EXPECT_EQ(c.B, s.B) << "index " << s.Index;
    }
}

TEST_F(ColorTableTest, NeighboursOnTheValueScaleDifferInOneChannel) {
    // The ramp moves one channel at a time; a swapped or mistyped entry breaks that.
    for (int i = 1; i < 100; ++i) {
        const Channels a = Of(table[i - 1]), b = Of(table[i]);
        const int changed = (a.R != b.R) + (a.G != b.G) + (a.B != b.B);
        EXPECT_EQ(changed, 1) << "between " << i - 1 << " and " << i;
    }
}

TEST_F(ColorTableTest, GreyRampAndMarkers) {
    EXPECT_EQ(table[BadDataColor], Rgb(0, 0, 0));
    EXPECT_EQ(table[BelowScaleColor], Rgb(128, 128, 128));
    EXPECT_EQ(table[AboveScaleColor], Rgb(255, 255, 255));
    EXPECT_EQ(table[200], Rgb(100, 100, 100));
    for (int i = 356; i < 400; ++i) EXPECT_EQ(table[i], 0u) << i;
}

TEST_F(ColorTableTest, DirectionScaleRunsMagentaToMagenta) {
    EXPECT_EQ(table[400], Rgb(255, 0, 255));
    EXPECT_EQ(table[401], Rgb(243, 0, 255));
    EXPECT_EQ(table[419], Rgb(27, 0, 255));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(table[420 + i], table[i]) << i;
    EXPECT_EQ(table[520], Rgb(255, 0, 15));
    EXPECT_EQ(table[539], Rgb(255, 0, 243));
    // Both ends are magenta: strong red and blue, no green.
    for (int end : {400, 539}) {
        const Channels c = Of(table[end]);
        EXPECT_EQ(c.G, 0);
        EXPECT_GE(c.R, 240);
        EXPECT_GE(c.B, 240);
    }
}

} // namespace
} // namespace mvx
