#include "analysis/TrackRotation.h"
#include "analysis/TrackVectorText.h"

#include <gtest/gtest.h>

#include <string>

using namespace mvx;

namespace {

// One ensemble of two bins: bin 0 carries (east, north), bin 1 a bad pair; the bottom track and the
// navigation carry their directions in tenths of a degree (row 0 bad marks no value).
EnsembleSet OneEnsemble(int16_t east, int16_t north, int16_t btDirection, int16_t navDirection) {
    EnsembleSet set;
    Allocate_Ensemble_Set(set, 1);
    set.VelData(0, 0, 0) = east;
    set.VelData(1, 0, 0) = north;
    set.VelData(0, 1, 0) = kBadValue;
    set.VelData(1, 1, 0) = 100;
    // East and north of the reference: bad, both 0 (no block) or a motion in the given direction.
    auto reference = [](SlotArray<int16_t>& a, int16_t direction) {
        a(0, 0) = direction == kBadValue ? kBadValue : direction == 1 ? 0 : 1;
        a(1, 0) = direction == 1 ? 0 : 1;
        a(5, 0) = direction;
    };
    reference(set.BTVelData, btDirection);
    reference(set.NavData, navDirection);
    return set;
}

TEST(TrackRotation, KnownVectorsByKnownAngles) {
    struct Case {
        TrackProjection Projection;
        double Angle;
        int16_t East, North, Bt, Nav;
        int16_t Long, Cross;
    };
    const Case cases[] = {
        {TrackProjection::Manual, 0, 300, 400, 0, 0, 400, 300},     // long = north, cross = east
        {TrackProjection::Manual, 90, 300, 400, 0, 0, 300, -400},   // long = east, cross = -north
        {TrackProjection::Manual, 180, 300, 400, 0, 0, -400, -300}, // both reversed
        {TrackProjection::Manual, 45, 100, 100, 0, 0, 141, 0},      // 141.42 rounds down
        {TrackProjection::Manual, 0, 1, kBadValue, 0, 0, kBadValue, kBadValue},
        {TrackProjection::Manual, 0, kBadValue, 5, 0, 0, kBadValue, kBadValue},
        {TrackProjection::Manual, 45, 32767, 32767, 0, 0, 32767, 0}, // limited, not wrapped
        {TrackProjection::Manual, -135, 32767, 32767, 0, 0, -32767, 0},
        {TrackProjection::Bottom, 99, 300, 400, 900, 0, 300, -400}, // the bottom's 90 degrees
        {TrackProjection::Bottom, 0, 300, 400, kBadValue, 0, kBadValue, kBadValue},
        {TrackProjection::Navigation, 0, 300, 400, 900, 1800, -400, -300},
        {TrackProjection::Navigation, 0, 300, 400, 0, kBadValue, kBadValue, kBadValue},
        {TrackProjection::Bottom, 0, 300, 400, 1, 0, kBadValue, kBadValue}, // no motion: no track
        {TrackProjection::Navigation, 0, 300, 400, 0, 1, kBadValue, kBadValue},
    };
    for (const Case& c : cases) {
        EnsembleSet set = OneEnsemble(c.East, c.North, c.Bt, c.Nav);
        Rotate_Track_Data(set, 1, 2, c.Projection, c.Angle);
        EXPECT_EQ(set.VelData(6, 0, 0), c.Long) << int(c.Projection) << " " << c.Angle << " " << c.East;
        EXPECT_EQ(set.VelData(7, 0, 0), c.Cross) << int(c.Projection) << " " << c.Angle << " " << c.East;
        EXPECT_EQ(set.VelData(6, 1, 0), kBadValue);
        EXPECT_EQ(set.VelData(7, 1, 0), kBadValue);
    }
}

TEST(TrackRotation, CountsBeyondTheSetAreCutAndTheRequestIsCleared) {
    EnsembleSet set = OneEnsemble(300, 400, 0, 0);
    TrackVectorState state;
    state.Projection = TrackProjection::Manual;
    EXPECT_TRUE(Rotate_If_Needed(state, set, 5, 999));
    EXPECT_EQ(set.VelData(6, 0, 0), 400);
    set.VelData(1, 0, 0) = 0;
    EXPECT_FALSE(Rotate_If_Needed(state, set, 1, 1)); // not asked again: rows stay
    EXPECT_EQ(set.VelData(6, 0, 0), 400);
}

TEST(TrackRotation, ManualAngleEntries) {
    const struct {
        const char* Answer;
        std::optional<double> Angle;
    } cases[] = {{"", std::nullopt}, {"north", std::nullopt}, {"  ", std::nullopt}, {"45.5", 45.5},
                 {"270", 180.0},     {"-180", 180.0},         {"-179.99", -179.99}, {"180", 180.0},
                 {"-90 deg", -90.0}, {"1e400", 180.0}};
    for (const auto& c : cases) EXPECT_EQ(Projection_Angle_Entry(c.Answer), c.Angle) << c.Answer;
}

TEST(TrackRotation, ChartTitles) {
    const struct {
        TrackProjection Projection;
        double Angle;
        const char *Long, *Cross;
    } cases[] = {
        {TrackProjection::Manual, 120, "MANUAL Projection Long Track  +120.00\xB0",
         "MANUAL Projection Cross Track  -150.00\xB0"},
        {TrackProjection::Manual, -30, "MANUAL Projection Long Track   -30.00\xB0",
         "MANUAL Projection Cross Track   +60.00\xB0"},
        {TrackProjection::Bottom, 50, "BOTTOM Long Track    +0.00\xB0", "BOTTOM Cross Track   +90.00\xB0"},
        {TrackProjection::Navigation, 0, "NAVIGATION Long Track    +0.00\xB0",
         "NAVIGATION Cross Track   +90.00\xB0"},
    };
    for (const auto& c : cases) {
        const auto [upper, lower] = Track_Chart_Titles(c.Projection, c.Angle);
        EXPECT_EQ(upper, c.Long);
        EXPECT_EQ(lower, c.Cross);
    }
}

TEST(TrackVectorText, ToolTipAndColumn) {
    EnsembleSet set = OneEnsemble(300, 400, 0, kBadValue);
    set.EnsNumbers[0] = 77;
    set.BTVelData(4, 0) = 1500;
    set.BTVelData(5, 0) = 905;
    set.NavData(4, 0) = kBadValue;
    Rotate_Track_Data(set, 1, 2, TrackProjection::Manual, 0);
    EXPECT_EQ(Track_Tool_Tip(set, 1, 5, 0, 3, false, 2),
              "ENSEMBLE 77, BIN 3, Long 40.000 cm/s, Cross 30.000 cm/s");
    EXPECT_EQ(Track_Tool_Tip(set, 1, -2, 1, 4, true, 1), "ENSEMBLE 77, ___ BIN 4, No Data");
    const std::vector<std::string> lines = Track_Text_Column(set, 1, 77, 3, 1);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[1], "              m/s     degrees");
    EXPECT_EQ(lines[3], "Bottom         1.500     90.50");
    EXPECT_EQ(lines[4], "Navigation   No Data");
    EXPECT_EQ(lines[6], "Reference  NAVIGATION");
    EXPECT_EQ(lines[7], "Ensemble: 77");
}

} // namespace
