// The simulated world: calendar arithmetic and the beam geometry that makes beam velocities from earth
// velocities, checked against hand-worked values.
#include "simulator/SimulatedDeployment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mvx::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
const double kSin20 = std::sin(20 * kPi / 180);
const double kCos20 = std::cos(20 * kPi / 180);

void Beams(const BeamGeometry& g, const Rotation& r, const Vec3& earth, double out[4]) {
    const Vec3 inst = r.ToInstrument(earth);
    for (int b = 0; b < 4; ++b) out[b] = g.BeamVelocity(b, inst);
}

TEST(BeamGeometry, LevelDownLookingEastCurrentShowsInBeamsOneAndTwo) {
    const BeamGeometry g(20, false);
    const Rotation level(Attitude{0, 0, 0});
    double beam[4];
    Beams(g, level, {1000, 0, 0}, beam);
    EXPECT_NEAR(beam[0], 1000 * kSin20, 1e-9); // 342.02
    EXPECT_NEAR(beam[1], -1000 * kSin20, 1e-9);
    EXPECT_NEAR(beam[2], 0, 1e-9);
    // Water rising towards a down-looking head comes closer in every beam.
    Beams(g, level, {0, 0, 100}, beam);
    for (double v : beam) EXPECT_NEAR(v, 100 * kCos20, 1e-9);
    // Heading east, the same east current runs along the head's y axis.
    Beams(g, Rotation(Attitude{90, 0, 0}), {1000, 0, 0}, beam);
    EXPECT_NEAR(beam[0], 0, 1e-9);
    EXPECT_NEAR(beam[2], -1000 * kSin20, 1e-9);
    EXPECT_NEAR(beam[3], 1000 * kSin20, 1e-9);
}

TEST(BeamGeometry, RollTiltsBeamOneOutAndBeamTwoIn) {
    // Rolled 10 degrees, beam 1 runs 30 degrees and beam 2 10 degrees off the vertical.
    const BeamGeometry g(20, false);
    const Rotation rolled(Attitude{0, 0, 10});
    EXPECT_NEAR(g.VerticalFactor(0, rolled), std::cos(30 * kPi / 180) / kCos20, 1e-9);
    EXPECT_NEAR(g.VerticalFactor(1, rolled), std::cos(10 * kPi / 180) / kCos20, 1e-9);
    EXPECT_NEAR(g.VerticalFactor(2, rolled), std::cos(10 * kPi / 180), 1e-9);
    const Rotation level(Attitude{45, 0, 0});
    for (int b = 0; b < 4; ++b) EXPECT_NEAR(g.VerticalFactor(b, level), 1.0, 1e-12);
}

TEST(CivilTime, AddsAcrossMidnightMonthsAndLeapDays) {
    const CivilTime start{2026, 6, 14, 23, 59, 30, 50};
    const CivilTime t = AddHundredths(start, 3000); // +30 s
    EXPECT_EQ(t.Day, 15);
    EXPECT_EQ(t.Hour, 0);
    EXPECT_EQ(t.Hundredths, 50);

    const CivilTime leap = AddHundredths(CivilTime{2024, 2, 28, 12, 0, 0, 0}, 8640000);
    EXPECT_EQ(leap.Month, 2);
    EXPECT_EQ(leap.Day, 29);
    const CivilTime plain = AddHundredths(CivilTime{2100 - 1, 2, 28, 12, 0, 0, 0}, 8640000);
    EXPECT_EQ(plain.Month, 3);
    EXPECT_EQ(plain.Day, 1);
    const CivilTime newYear = AddHundredths(CivilTime{2025, 12, 31, 23, 0, 0, 0}, 3600 * 100);
    EXPECT_EQ(newYear.Year, 2026);
    EXPECT_EQ(newYear.Day, 1);
}

} // namespace
} // namespace mvx::sim
