// Titles, scale labels, limits and sources of the contour's data type codes.
#include "charts/ContourTypes.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(ContourTypes, ReferenceSuffixReachesUpAndErrorOnlyForBottomTrackAndWaterMass) {
    struct Case {
        int32_t code, reference;
        const char* title;
    } cases[] = {{100, 2, "VELOCITY EAST (u) - NAV"}, {600, 2, "VELOCITY DIRECTION - NAV"},
                 {300, 2, "VELOCITY UP (w)"},         {400, 4, "VELOCITY ERROR"},
                 {300, 1, "VELOCITY UP (w) - BT"},    {400, 5, "VELOCITY ERROR - WM"},
                 {100, 3, "VELOCITY EAST (u) - GCA"}, {500, 4, "VELOCITY MAGNITUDE - VTG"},
                 {100, 0, "VELOCITY EAST (u)"},       {100, 7, "VELOCITY EAST (u)"}};
    for (const Case& c : cases)
        EXPECT_EQ(Contour_Data_Type(c.code, c.reference, false).Title, c.title)
            << c.code << "/" << c.reference;
    // Flow-meter firmware names the first two profiles.
    EXPECT_EQ(Contour_Data_Type(200, 1, true).Title, "PROFILE #2");
    EXPECT_EQ(Contour_Data_Type(300, 1, true).Title, "VELOCITY UP (w) - BT");
}

TEST(ContourTypes, SourcesLabelsAndLimits) {
    struct Case {
        int32_t code;
        ContourSourceKind source;
        int row, bottomBeam;
        const char* label;
        double low, high;
    } cases[] = {{3, ContourSourceKind::Intensity, 2, 2, "Scale (counts)", 0, 255},
                 {500, ContourSourceKind::Velocity, 4, -1, "Scale (mm/s)", 0, 32767},
                 {600, ContourSourceKind::Velocity, 5, -1, "Scale (degrees)", 0, 360},
                 {4000, ContourSourceKind::PercentGood, 3, 3, "Scale (Percent)", 0, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const ContourDataTypeInfo t = Contour_Data_Type(c.code, 0, false);
        EXPECT_TRUE(t.Known);
        EXPECT_EQ(t.Source, c.source);
        EXPECT_EQ(t.Row, c.row);
        EXPECT_EQ(t.BottomBeam, c.bottomBeam);
        EXPECT_EQ(t.ScaleLabel, c.label);
        EXPECT_EQ(t.LowLimit, c.low);
        EXPECT_EQ(t.HighLimit, c.high);
        EXPECT_EQ(t.Direction, c.code == 600);
    }
    EXPECT_EQ(Contour_Data_Type(20, 0, false).Title, "CORRELATION Beam 2");
    for (int32_t code : {0, 6, 700, 5000}) EXPECT_FALSE(Contour_Data_Type(code, 0, false).Known) << code;
}

} // namespace
} // namespace mvx
