// The contour data-type codes: the twenty codes in order, their arrays and rows, and near misses.
#include "common/ContourCode.h"

#include <gtest/gtest.h>

using namespace mvx;
using Kind = ContourSourceKind;

TEST(ContourCode, TwentyCodesInOrderAndNothingElse) {
    const struct {
        int32_t code;
        Kind source;
        int row;
    } codes[] = {{1, Kind::Intensity, 0},      {2, Kind::Intensity, 1},      {3, Kind::Intensity, 2},
                 {4, Kind::Intensity, 3},      {5, Kind::Intensity, 4},      {10, Kind::Correlation, 0},
                 {20, Kind::Correlation, 1},   {30, Kind::Correlation, 2},   {40, Kind::Correlation, 3},
                 {50, Kind::Correlation, 4},   {100, Kind::Velocity, 0},     {200, Kind::Velocity, 1},
                 {300, Kind::Velocity, 2},     {400, Kind::Velocity, 3},     {500, Kind::Velocity, 4},
                 {600, Kind::Velocity, 5},     {1000, Kind::PercentGood, 0}, {2000, Kind::PercentGood, 1},
                 {3000, Kind::PercentGood, 2}, {4000, Kind::PercentGood, 3}};
    for (int i = 0; i < 20; ++i) {
        const ContourCode c = Decode_Contour_Code(codes[i].code);
        EXPECT_EQ(c.Source, codes[i].source) << codes[i].code;
        EXPECT_EQ(c.Row, codes[i].row) << codes[i].code;
        EXPECT_EQ(c.Index, i) << codes[i].code;
    }
    for (int32_t code : {0, -10, 6, 15, 51, 60, 150, 601, 700, 1500, 4001, 5000})
        EXPECT_EQ(Decode_Contour_Code(code).Source, Kind::None) << code;
}
