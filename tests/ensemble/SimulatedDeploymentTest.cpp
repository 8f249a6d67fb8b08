// The simulated world: calendar arithmetic, the random source, and the beam geometry that makes beam
// velocities from earth velocities (checked against hand-worked values and against the beam-to-earth
// transform the readers apply, written out here on its own).
#include "ensemble/SimulatedDeployment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mvx::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
const double kSin20 = std::sin(20 * kPi / 180);
const double kCos20 = std::cos(20 * kPi / 180);

// Beam to earth for a convex 20-degree head: x from beams 1-2, y from beams 3-4, z from all four, then
// heading, (gimbal-corrected) pitch and roll.
Vec3 BeamToEarth(const double beam[4], const Attitude& att, bool up) {
    const double a = 1 / (2 * kSin20);
    const double b = (up ? -1 : 1) / (4 * kCos20);
    const double cDown[4] = {1, -1, -1, 1}, cUp[4] = {-1, 1, -1, 1};
    const double* c = up ? cUp : cDown;
    const double x = (c[0] * beam[0] + c[1] * beam[1]) * a;
    const double y = (c[2] * beam[2] + c[3] * beam[3]) * a;
    const double z = (beam[0] + beam[1] + beam[2] + beam[3]) * b;
    const double d = kPi / 180;
    const double H = att.Heading * d, R = att.Roll * d;
    double P = att.Pitch * d;
    const double t = 1 - std::pow(std::sin(R) * std::sin(P), 2);
    if (t >= 0) P = std::asin(std::cos(R) * std::sin(P) / std::sqrt(t));
    const double sh = std::sin(H), ch = std::cos(H), sp = std::sin(P), cp = std::cos(P), sr = std::sin(R),
                 cr = std::cos(R);
    return {x * (ch * cr + sh * sr * sp) + y * sh * cp + z * (ch * sr - sh * cr * sp),
            x * (ch * sr * sp - sh * cr) + y * ch * cp - z * (sh * sr + ch * sp * cr),
            -x * sr * cp + y * sp + z * cr * cp};
}

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

TEST(BeamGeometry, BeamsOfATiltedHeadTransformBackToTheEarthVelocity) {
    const Vec3 water{734.5, -512.25, 12.0};
    const Attitude attitudes[] = {{123.4, 1.2, -2.1}, {17, 15, 25}, {359.9, -20, -10}};
    for (bool up : {false, true}) {
        const BeamGeometry g(20, up);
        for (const Attitude& a : attitudes) {
            double beam[4];
            Beams(g, Rotation(a), water, beam);
            const Vec3 back = BeamToEarth(beam, a, up);
            EXPECT_NEAR(back.x, water.x, 1e-6) << a.Heading << " up " << up;
            EXPECT_NEAR(back.y, water.y, 1e-6) << a.Heading << " up " << up;
            EXPECT_NEAR(back.z, water.z, 1e-6) << a.Heading << " up " << up;
            // Four beams of one water velocity leave no error velocity.
            EXPECT_NEAR(beam[0] + beam[1] - beam[2] - beam[3], 0, 1e-6);
        }
    }
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

TEST(CivilTime, RejectsImpossibleDates) {
    EXPECT_TRUE(ValidCivilTime(CivilTime{2024, 2, 29, 0, 0, 0, 0}));
    EXPECT_FALSE(ValidCivilTime(CivilTime{2026, 2, 29, 0, 0, 0, 0}));
    EXPECT_FALSE(ValidCivilTime(CivilTime{2026, 4, 31, 0, 0, 0, 0}));
    EXPECT_FALSE(ValidCivilTime(CivilTime{2026, 1, 1, 24, 0, 0, 0}));
}

} // namespace
} // namespace mvx::sim
