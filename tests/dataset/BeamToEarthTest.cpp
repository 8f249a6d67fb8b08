#include "ProcessingFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

using namespace mvx;
using namespace mvx::test;

namespace {

// Expected earth rows of one bin: east, north, up, error.
void ExpectEarth(const Ensemble& e, int bin, int east, int north, int up, int error) {
    EXPECT_EQ(e.Vel(0, bin), east) << "east, bin " << bin;
    EXPECT_EQ(e.Vel(1, bin), north) << "north, bin " << bin;
    EXPECT_EQ(e.Vel(2, bin), up) << "up, bin " << bin;
    EXPECT_EQ(e.Vel(3, bin), error) << "error, bin " << bin;
}

// (The beam pattern's signs for either orientation and head, the error velocity and two bad beams are
// checked on the tilted instrument below.)
TEST(BeamToEarth, OneBadBeamGivesThreeBeamSolution) {
    // 200 + 200 = 300 + 100: the four-beam error is zero, so any three beams give the same answer:
    // y = 200 x 1.4619 = 292.38, up = 800 x 0.26604 = 212.84.
    for (int bad = 0; bad < 4; ++bad) {
        Ensemble e(2, false);
        int beams[4] = {200, 200, 300, 100};
        e.Beams(0, beams[0], beams[1], beams[2], beams[3]);
        beams[bad] = kBadValue;
        e.Beams(1, beams[0], beams[1], beams[2], beams[3]);
        e.Process();
        SCOPED_TRACE(testing::Message() << "bad beam " << bad);
        ExpectEarth(e, 0, 0, 292, 213, 0);
        ExpectEarth(e, 1, 0, 292, 213, kBadValue);
    }
}

TEST(BeamToEarth, OtherCoordinateSystemsAreOnlyReferenced) {
    for (uint8_t transform : {0x08, 0x10, 0x18, 0x1F}) {
        Ensemble e(2, false);
        e.setup.CoordTransform = transform;
        e.Attitude(4, -6, 123);
        e.Beams(0, -500, 500, 0, 0);
        e.Beams(1, 3, 4, 7, kBadValue);
        e.data.BTVelData(0, kSlot) = 11;
        e.data.BTVelData(1, kSlot) = -11;
        e.Process();
        ExpectEarth(e, 0, -500, 500, 0, 0);
        ExpectEarth(e, 1, 3, 4, 7, kBadValue);
        EXPECT_EQ(e.data.BTVelData(0, kSlot), 11);
        EXPECT_EQ(e.data.BTVelData(1, kSlot), -11);
    }
}

TEST(BeamToEarth, BeamAngleCodeThreeReadsTheLeader) {
    EXPECT_EQ(BeamAngleDegrees(Ensemble(1, false, 0).setup), 15);
    EXPECT_EQ(BeamAngleDegrees(Ensemble(1, false, 2).setup), 30);
    Ensemble other(1, false, 1);
    other.setup.BeamAngleFromLeader = 25; // only code 3 looks at the leader
    EXPECT_EQ(BeamAngleDegrees(other.setup), 20);

    // 25 degrees: 1000 / (2 sin 25) = 1183.10, 1200 / (4 cos 25) = 331.01.
    Ensemble leader(2, false, 3);
    leader.setup.BeamAngleFromLeader = 25;
    EXPECT_EQ(BeamAngleDegrees(leader.setup), 25);
    leader.Beams(0, -500, 500, 0, 0);
    leader.Beams(1, 300, 300, 300, 300);
    leader.Process();
    ExpectEarth(leader, 0, 1183, 0, 0, 0);
    ExpectEarth(leader, 1, 0, 0, 331, 0);

    // Without a usable angle in the leader, 40 degrees: 1000 / (2 sin 40) = 777.86.
    Ensemble fallback(1, false, 3);
    fallback.setup.BeamAngleFromLeader = 90;
    fallback.Beams(0, -500, 500, 0, 0);
    fallback.Process();
    ExpectEarth(fallback, 0, 778, 0, 0, 0);
    fallback.setup.BeamAngleFromLeader = 0;
    EXPECT_EQ(BeamAngleDegrees(fallback.setup), 40);
}

// ------------------------------------------------------------------------------------------------
// Tilted instrument: expected values from rotation matrices and beam geometry.

using Mat3 = std::array<std::array<double, 3>, 3>;
double Rad(double degrees) {
    return degrees * std::numbers::pi / 180;
}

Mat3 Mul(const Mat3& a, const Mat3& b) {
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

// Instrument axes to east, north, up: roll about y, then pitch about x, then heading about the vertical.
Mat3 InstrumentToEarth(double pitch, double roll, double heading) {
    const double h = Rad(heading), p = Rad(pitch), r = Rad(roll);
    const Mat3 H{{{cos(h), sin(h), 0}, {-sin(h), cos(h), 0}, {0, 0, 1}}};
    const Mat3 P{{{1, 0, 0}, {0, cos(p), -sin(p)}, {0, sin(p), cos(p)}}};
    const Mat3 R{{{cos(r), 0, sin(r)}, {0, 1, 0}, {-sin(r), 0, cos(r)}}};
    return Mul(H, Mul(P, R));
}

// The sensor's pitch is measured in the rolled frame; the y axis' own tilt is what the rotation needs.
double AxisPitch(double pitch, double roll) {
    const double p = Rad(pitch), r = Rad(roll);
    return std::asin(std::sin(p) * std::cos(r) / std::sqrt(1 - std::pow(std::sin(r) * std::sin(p), 2))) *
           180 / std::numbers::pi;
}

struct Tilted {
    bool up, bit3;
    double pitch, roll, heading;
    double theta = 20;

    // Horizontal sign (c) and slant direction (m) of each beam; a convex head flips both.
    int C(int i) const {
        return (bit3 ? -1 : 1) * (up ? std::array{1, -1, 1, -1} : std::array{-1, 1, 1, -1})[i];
    }
    int M(int i) const { return (bit3 ? -1 : 1) * std::array{-1, 1, up ? -1 : 1, up ? 1 : -1}[i]; }
    Mat3 Rotation() const { return InstrumentToEarth(AxisPitch(pitch, roll), roll, heading); }

    // A beam's cell c lies as deep as the level beam's cell c x g.
    double Scale(int beam) const {
        const double t = Rad(theta);
        const double slant = M(beam) * std::sin(t);
        const std::array<double, 3> dir = beam < 2 ? std::array<double, 3>{slant, 0, std::cos(t)}
                                                   : std::array<double, 3>{0, slant, std::cos(t)};
        const Mat3 rot = Rotation();
        double vertical = 0;
        for (int k = 0; k < 3; ++k) vertical += rot[2][k] * dir[k];
        return std::cos(t) / vertical;
    }

    // Beam rows of bins 0..n-1 after the tilt mapping, reading from `raw` (or from the result itself).
    std::vector<std::array<double, 4>> Map(const std::vector<std::array<double, 4>>& raw,
                                           bool inPlace) const {
        const int n = static_cast<int>(raw.size());
        std::vector<std::array<double, 4>> out = raw;
        for (int i = 0; i < n; ++i)
            for (int b = 0; b < 4; ++b) {
                const double g = Scale(b);
                const double from = up ? std::nearbyint(i * g) : std::nearbyint(n - i * g - 1);
                const int to = up ? i : n - 1 - i;
                const auto& src = inPlace ? out : raw;
                out[to][b] = (from < 0 || from > n - 1) ? kBadValue : src[static_cast<int>(from)][b];
            }
        return out;
    }

    // East, north, up, error of four beams; NaN marks a bad output.
    std::array<double, 4> Earth(std::array<double, 4> B) const {
        const double bad = std::nan("");
        int badCount = 0, badBeam = -1;
        for (int i = 0; i < 4; ++i)
            if (B[i] == kBadValue) ++badCount, badBeam = i;
        if (badCount > 1) return {bad, bad, bad, bad};
        const double s[4] = {1, 1, -1, -1}; // the error velocity's signs
        if (badCount == 1) {
            double rest = 0;
            for (int i = 0; i < 4; ++i)
                if (i != badBeam) rest += s[i] * B[i];
            B[badBeam] = -s[badBeam] * rest;
        }
        const double t = Rad(theta);
        const double inst[3] = {(C(0) * B[0] + C(1) * B[1]) / (2 * std::sin(t)),
                                (C(2) * B[2] + C(3) * B[3]) / (2 * std::sin(t)),
                                (up ? -1 : 1) * (B[0] + B[1] + B[2] + B[3]) / (4 * std::cos(t))};
        const Mat3 rot = Rotation();
        std::array<double, 4> r{};
        for (int i = 0; i < 3; ++i) r[i] = rot[i][0] * inst[0] + rot[i][1] * inst[1] + rot[i][2] * inst[2];
        r[3] = badCount ? bad : (B[0] + B[1] - B[2] - B[3]) / (2 * std::sqrt(2.0) * std::sin(t));
        return r;
    }
};

TEST(BeamToEarth, TiltedInstrument) {
    const Tilted cases[] = {
        {true, false, 0, 10, 30},   // up-looking, roll only
        {true, true, -4, 7, 250},   // up-looking, convex
        {false, false, 8, -5, 200}, // down-looking, pitch and roll
        {false, true, 12, 3, 300},  // down-looking, convex
    };
    auto expectNear = [](int16_t actual, double expected, const char* what, int bin) {
        if (std::isnan(expected))
            EXPECT_EQ(actual, kBadValue) << what << " bin " << bin;
        else
            EXPECT_LE(std::abs(actual - expected), 0.5 + 1e-6)
                << what << " bin " << bin << " want " << expected;
    };
    for (const Tilted& tilt : cases) {
        SCOPED_TRACE(testing::Message() << "up " << tilt.up << " bit3 " << tilt.bit3);
        const int n = 30;
        Ensemble e(n, tilt.up);
        if (tilt.bit3) e.setup.SystemConfig |= 0x08;
        e.Attitude(tilt.pitch, tilt.roll, tilt.heading);
        std::vector<std::array<double, 4>> raw(n);
        for (int bin = 0; bin < n; ++bin) {
            raw[bin] = {40.0 + 11 * bin, -30.0 + bin * bin % 23, 15.0 * bin - 200, 100.0 - 9 * bin};
            e.Beams(bin, raw[bin][0], raw[bin][1], raw[bin][2], raw[bin][3]);
        }
        const std::array<double, 4> bottom = {310, -120, kBadValue, 80}; // three beams: error unknown
        for (int r = 0; r < 4; ++r) e.data.BTVelData(r, kSlot) = static_cast<int16_t>(bottom[r]);
        e.Process();

        const auto mapped = tilt.Map(raw, false);
        ASSERT_NE(mapped, tilt.Map(raw, true)) << "case does not tell a mapping done in place";
        const char* names[4] = {"east", "north", "up", "error"};
        for (int bin = 0; bin < n; ++bin) {
            const auto want = tilt.Earth(mapped[bin]);
            for (int r = 0; r < 4; ++r) expectNear(e.Vel(r, bin), want[r], names[r], bin);
        }
        const auto wantBottom = tilt.Earth(bottom); // transformed too, without cell mapping
        for (int r = 0; r < 4; ++r) expectNear(e.data.BTVelData(r, kSlot), wantBottom[r], "bottom", r);
    }
}

} // namespace
