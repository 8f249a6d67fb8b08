#include "charts/ColorTable.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(ColorTable, SpotEntriesOfEveryRegion) {
    ColorTableArray t;
    Init_Color_Table(t);
    EXPECT_EQ(t[0], 0x00FF0000u); // pure blue: red sits in the low byte
    const struct {
        int Index, R, G, B;
    } spots[] = {{1, 0, 8, 255},       {29, 0, 252, 255},    {30, 0, 255, 255}, {31, 0, 255, 233},
                 {41, 0, 255, 9},      {42, 8, 255, 9},      {50, 77, 255, 9},  {71, 255, 255, 9},
                 {72, 255, 247, 9},    {99, 255, 11, 9},     {100, 0, 0, 0},    {200, 100, 100, 100},
                 {228, 128, 128, 128}, {355, 255, 255, 255}, {380, 0, 0, 0},    {400, 255, 0, 255},
                 {401, 243, 0, 255},   {419, 27, 0, 255},    {520, 255, 0, 15}, {539, 255, 0, 243}};
    for (const auto& s : spots) EXPECT_EQ(t[s.Index], Rgb(s.R, s.G, s.B)) << "index " << s.Index;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(t[420 + i], t[i]) << i;
    // The value ramp moves one channel at a time; a swapped or mistyped entry breaks that.
    for (int i = 1; i < 100; ++i) {
        const ColorRef a = t[i - 1], b = t[i];
        EXPECT_EQ((RedOf(a) != RedOf(b)) + (GreenOf(a) != GreenOf(b)) + (BlueOf(a) != BlueOf(b)), 1) << i;
    }
}

} // namespace
} // namespace mvx
