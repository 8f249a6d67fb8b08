#include "analysis/TrackRotation.h"
#include "analysis/CellRotation.h"
#include "analysis/TrackVectorText.h"

#include "common/Angles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

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

// Rounded as the rotation rounds, halves to even, and limited to +-32767.
int16_t PlainRounded(double v) {
    return static_cast<int16_t>(std::nearbyint(std::clamp(v, -32767.0, 32767.0)));
}

// Every form of the cell rotation this processor runs.
std::vector<std::pair<const char*, CellRotation>> Forms() {
    std::vector<std::pair<const char*, CellRotation>> forms{{"portable", RotateCellsPortable}};
    if (HasAvx2()) forms.emplace_back("avx2", RotateCellsAvx2);
    return forms;
}

TEST(CellRotation, HalvesRoundToEven) {
    const struct {
        int16_t East, Long, Cross; // by sine 1/2 and cosine 3/4, north 0
    } cases[] = {{1, 0, 1},    {3, 2, 2}, {5, 2, 4}, {-1, 0, -1},
                 {-3, -2, -2}, {2, 1, 2}, {6, 3, 4}, {-6, -3, -4}};
    for (const auto& [name, rotate] : Forms())
        for (const auto& c : cases) {
            // 37 bins: whole vectors and a remainder
            std::vector<int16_t> east(37, c.East), north(37, 0), along(37, 1), across(37, 1);
            rotate({east.data(), north.data(), along.data(), across.data()}, 37, 0.5, 0.75);
            for (size_t n = 0; n < east.size(); ++n) {
                EXPECT_EQ(along[n], c.Long) << name << " " << c.East << " " << n;
                EXPECT_EQ(across[n], c.Cross) << name << " " << c.East << " " << n;
            }
        }
}

// Rows 6 and 7 of `count` bins of one slot, written as plainly as the formula reads; all bad when the
// ensemble has no track.
void PlainCells(SlotArray<int16_t>& vel, int slot, int count, double s, double c, bool track = true) {
    for (int b = 0; b < count; ++b) {
        const int16_t u = vel(0, b, slot), v = vel(1, b, slot);
        const bool good = track && u != kBadValue && v != kBadValue;
        vel(6, b, slot) = good ? PlainRounded(u * s + v * c) : kBadValue;
        vel(7, b, slot) = good ? PlainRounded(u * c - v * s) : kBadValue;
    }
}

void PlainRotation(EnsembleSet& set, int count, int cells, TrackProjection projection, double angle) {
    const SlotArray<int16_t>& track = projection == TrackProjection::Navigation ? set.NavData : set.BTVelData;
    for (int i = 0; i < count; ++i) {
        const bool manual = projection == TrackProjection::Manual;
        const double theta = manual ? angle * kProcessingPi / 180.0 : track(5, i) * kProcessingPi / 1800.0;
        const bool valid = manual || (track(0, i) != kBadValue && track(1, i) != kBadValue &&
                                      (track(0, i) != 0 || track(1, i) != 0));
        PlainCells(set.VelData, i, cells, std::sin(theta), std::cos(theta), valid);
    }
}

TEST(TrackRotation, EqualsThePlainRotationOnRandomSets) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> any(-32768, 32767), pick(0, 15), direction(-3600, 3600);
    auto value = [&] { // mostly ordinary, with bad values, zeros and the extremes
        const int k = pick(random);
        return static_cast<int16_t>(k == 0   ? kBadValue
                                    : k == 1 ? 0
                                    : k == 2 ? 32767
                                             : any(random) / (k % 4 + 1));
    };
    for (const auto projection :
         {TrackProjection::Bottom, TrackProjection::Navigation, TrackProjection::Manual}) {
        EnsembleSet set;
        Allocate_Ensemble_Set(set, 40);
        for (int16_t& v : set.VelData.Raw()) v = value();
        for (int16_t& v : set.BTVelData.Raw())
            v = pick(random) == 0 ? kBadValue : static_cast<int16_t>(direction(random));
        for (int16_t& v : set.NavData.Raw())
            v = pick(random) < 2 ? 0 : static_cast<int16_t>(direction(random));
        const double angle = std::uniform_real_distribution<double>(-179.99, 180)(random);
        const int cells = 1 + pick(random) * 16;
        EnsembleSet plain = set;
        PlainRotation(plain, 37, cells, projection, angle);
        Rotate_Track_Data(set, 37, cells, projection, angle);
        EXPECT_TRUE(set.VelData == plain.VelData) << int(projection) << " " << angle << " " << cells;
    }
}

TEST(CellRotation, EveryFormEqualsThePlainFormula) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> any(-32768, 32767), pick(0, 7);
    SlotArray<int16_t> cells;
    cells.Allocate(8, 67, 1);
    for (int16_t& v : cells.Raw()) v = static_cast<int16_t>(pick(random) == 0 ? kBadValue : any(random));
    for (const double angle : {0.0, 30.0, 45.0, -135.0, 179.5, 1e-3}) {
        const double s = std::sin(angle * kProcessingPi / 180.0), c = std::cos(angle * kProcessingPi / 180.0);
        SlotArray<int16_t> plain = cells;
        PlainCells(plain, 0, 66, s, c); // the last bin is left out
        for (const auto& [name, rotate] : Forms()) {
            SlotArray<int16_t> rotated = cells;
            rotate(
                {rotated.RowData(0, 0), rotated.RowData(1, 0), rotated.RowData(6, 0), rotated.RowData(7, 0)},
                66, s, c);
            EXPECT_TRUE(rotated == plain) << name << " " << angle;
        }
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

TEST(TrackRotation, StateFromTheOptionsRecord) {
    // A menu without a check mark keeps the window's choice; an angle not a number keeps the window's
    // angle, one out of range is held to it.
    const struct {
        std::array<bool, 3> Projection;
        double Angle;
        TrackProjection WantProjection;
        double WantAngle;
    } cases[] = {{{false, true, false}, 45, TrackProjection::Navigation, 45},
                 {{false, false, false}, 500, TrackProjection::Manual, 180},
                 {{true, false, false}, -200, TrackProjection::Bottom, -179.99},
                 {{false, false, true}, std::nan(""), TrackProjection::Manual, 12}};
    for (const auto& c : cases) {
        TrackVectorState state;
        state.Projection = TrackProjection::Manual;
        state.ManualAngle = 12;
        state.RotateNeeded = false;
        Options options;
        options.TrackSelectAuto = c.Projection;
        options.TrackProperty = c.Angle;
        Track_State_From_Options(options, state);
        EXPECT_EQ(state.Projection, c.WantProjection) << c.Angle;
        EXPECT_EQ(state.ManualAngle, c.WantAngle) << c.Angle;
        EXPECT_TRUE(state.RotateNeeded);
        Options stored;
        Store_Track_State(state, stored);
        EXPECT_TRUE(stored.TrackSelectAuto[static_cast<size_t>(state.Projection)]) << c.Angle;
        EXPECT_EQ(stored.TrackProperty, state.ManualAngle);
    }
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
