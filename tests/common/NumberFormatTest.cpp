#include "common/NumberFormat.h"
#include "common/Rounding.h"

#include <gtest/gtest.h>

using namespace mvx;

TEST(NumberFormat, PicturesOfReportsAndFiles) {
    EXPECT_EQ(FormatNumber(1000000, "###,###,###,###"), "1,000,000");
    EXPECT_EQ(FormatNumber(16506, "###,###,###,###"), "16,506");
    EXPECT_EQ(FormatNumber(999, "###,###,###,###"), "999");
    EXPECT_EQ(FormatNumber(-5000, "###,###,###,##0"), "-5,000");
    EXPECT_EQ(FormatNumber(0, "###,###,###,##0"), "0");
    EXPECT_EQ(FormatNumber(7, "00000000"), "00000007");
    EXPECT_EQ(FormatNumber(3, "00"), "03");
    EXPECT_EQ(FormatNumber(-1.25, "0.00"), "-1.25");
    EXPECT_EQ(FormatNumber(2.0, "0.00"), "2.00");
    EXPECT_EQ(FormatNumber(0.5, "0.000"), "0.500");
    EXPECT_EQ(FormatNumber(-0.001, "0.00"), "0.00");
    EXPECT_EQ(FormatNumber(1721, "0"), "1721");
}

TEST(NumberFormat, RoundsHalvesToEven) {
    EXPECT_EQ(FormatNumber(2.5, "0"), "2");
    EXPECT_EQ(FormatNumber(3.5, "0"), "4");
    EXPECT_EQ(RoundToInt32(-2.5), -2);
    EXPECT_EQ(RoundToInt16(1e9), 32767);
    EXPECT_EQ(RoundToInt16(-1e9), -32768);
}

TEST(NumberFormat, FixStringPadsLeftOnly) {
    EXPECT_EQ(Fix_String("Lat", ' ', 6), "   Lat");
    EXPECT_EQ(Fix_String("toolong", ' ', 3), "toolong");
    EXPECT_EQ(Fix_String("7", '0', 2), "07");
}
