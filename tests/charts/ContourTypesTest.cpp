// Titles, scale labels, limits and sources of the contour's data type codes.
#include "charts/ContourTypes.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

TEST(ContourTypes, NavigationSuffixSkipsUpAndErrorVelocity) {
    EXPECT_EQ(Contour_Data_Type(100, 2, false).Title, "VELOCITY EAST (u) - NAV");
    EXPECT_EQ(Contour_Data_Type(200, 2, false).Title, "VELOCITY NORTH (v) - NAV");
    EXPECT_EQ(Contour_Data_Type(500, 2, false).Title, "VELOCITY MAGNITUDE - NAV");
    EXPECT_EQ(Contour_Data_Type(600, 2, false).Title, "VELOCITY DIRECTION - NAV");
    EXPECT_EQ(Contour_Data_Type(300, 2, false).Title, "VELOCITY UP (w)");
    EXPECT_EQ(Contour_Data_Type(400, 2, false).Title, "VELOCITY ERROR");
}

TEST(ContourTypes, BottomTrackAndWaterMassSuffixReachUpAndErrorVelocity) {
    EXPECT_EQ(Contour_Data_Type(300, 1, false).Title, "VELOCITY UP (w) - BT");
    EXPECT_EQ(Contour_Data_Type(400, 1, false).Title, "VELOCITY ERROR - BT");
    EXPECT_EQ(Contour_Data_Type(300, 5, false).Title, "VELOCITY UP (w) - WM");
    EXPECT_EQ(Contour_Data_Type(400, 5, false).Title, "VELOCITY ERROR - WM");
    for (int reference : {0, 3, 4}) {
        EXPECT_EQ(Contour_Data_Type(300, reference, false).Title, "VELOCITY UP (w)") << reference;
        EXPECT_EQ(Contour_Data_Type(400, reference, false).Title, "VELOCITY ERROR") << reference;
    }
}

TEST(ContourTypes, EveryReferenceHasItsSuffix) {
    const char* expected[] = {"", " - BT", " - NAV", " - GCA", " - VTG", " - WM", ""};
    for (int reference = 0; reference <= 6; ++reference)
        EXPECT_EQ(Velocity_Reference_Suffix(reference), expected[reference]) << reference;
    EXPECT_EQ(Velocity_Reference_Suffix(-1), "");
    EXPECT_EQ(Contour_Data_Type(100, 3, false).Title, "VELOCITY EAST (u) - GCA");
    EXPECT_EQ(Contour_Data_Type(500, 4, false).Title, "VELOCITY MAGNITUDE - VTG");
}

TEST(ContourTypes, FlowMeterFirmwareNamesTheFirstTwoProfiles) {
    EXPECT_EQ(Contour_Data_Type(100, 1, true).Title, "PROFILE #1");
    EXPECT_EQ(Contour_Data_Type(200, 1, true).Title, "PROFILE #2");
    EXPECT_EQ(Contour_Data_Type(300, 1, true).Title, "VELOCITY UP (w) - BT");
}

TEST(ContourTypes, BeamCodesReadTheirOwnBeam) {
    const ContourDataTypeInfo echo3 = Contour_Data_Type(3, 0, false);
    EXPECT_EQ(echo3.Title, "ECHO INTENSITY Beam 3");
    EXPECT_EQ(echo3.Source, ContourSourceKind::Intensity);
    EXPECT_EQ(echo3.Row, 2);
    EXPECT_EQ(echo3.BottomBeam, 2);
    const ContourDataTypeInfo echoAvg = Contour_Data_Type(5, 0, false);
    EXPECT_EQ(echoAvg.Title, "ECHO INTENSITY Avg");
    EXPECT_EQ(echoAvg.Row, 4);
    EXPECT_EQ(echoAvg.BottomBeam, -1);
    const ContourDataTypeInfo corr2 = Contour_Data_Type(20, 0, false);
    EXPECT_EQ(corr2.Title, "CORRELATION Beam 2");
    EXPECT_EQ(corr2.Source, ContourSourceKind::Correlation);
    EXPECT_EQ(corr2.Row, 1);
    EXPECT_EQ(corr2.BottomBeam, 1);
    EXPECT_EQ(Contour_Data_Type(50, 0, false).Title, "CORRELATION Avg");
    const ContourDataTypeInfo pg4 = Contour_Data_Type(4000, 2, false);
    EXPECT_EQ(pg4.Title, "Percent Good 4");
    EXPECT_EQ(pg4.Source, ContourSourceKind::PercentGood);
    EXPECT_EQ(pg4.Row, 3);
    EXPECT_EQ(pg4.BottomBeam, 3);
    // Velocities follow all four beams.
    EXPECT_EQ(Contour_Data_Type(100, 0, false).BottomBeam, -1);
}

TEST(ContourTypes, ScaleLabelsAndLimits) {
    struct Case {
        int32_t code;
        const char* label;
        double low, high;
        int row;
    } cases[] = {{1, "Scale (counts)", 0, 255, 0},        {40, "Scale (counts)", 0, 255, 3},
                 {100, "Scale (mm/s)", -32767, 32767, 0}, {400, "Scale (mm/s)", -32767, 32767, 3},
                 {500, "Scale (mm/s)", 0, 32767, 4},      {600, "Scale (degrees)", 0, 360, 5},
                 {1000, "Scale (Percent)", 0, 100, 0}};
    for (const Case& c : cases) {
        const ContourDataTypeInfo t = Contour_Data_Type(c.code, 0, false);
        EXPECT_TRUE(t.Known) << c.code;
        EXPECT_EQ(t.ScaleLabel, c.label) << c.code;
        EXPECT_EQ(t.LowLimit, c.low) << c.code;
        EXPECT_EQ(t.HighLimit, c.high) << c.code;
        EXPECT_EQ(t.Row, c.row) << c.code;
        EXPECT_EQ(t.Direction, c.code == 600) << c.code;
    }
}

TEST(ContourTypes, UnknownCodeChartsNothing) {
    for (int32_t code : {0, 6, 60, 700, 5000, -100}) {
        const ContourDataTypeInfo t = Contour_Data_Type(code, 0, false);
        EXPECT_FALSE(t.Known) << code;
        EXPECT_EQ(t.Source, ContourSourceKind::None) << code;
    }
}

} // namespace
} // namespace mvx
