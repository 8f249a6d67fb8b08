// The simulated instrument's files, read back byte by byte with the plain walker of RawEnsembles.h.
#include "ensemble/Simulator.h"
#include "RawEnsembles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace mvx {
namespace {

using test::Be16;
using test::Le16;
using test::Le32;
using test::RawEnsemble;
using test::SplitFile;

constexpr double kPi = 3.14159265358979323846;

std::vector<uint8_t> Simulate(const SimulationSpec& spec) {
    Simulator sim(spec);
    std::vector<uint8_t> bytes;
    while (sim.Next(bytes)) {
    }
    return bytes;
}

SimulationSpec Small(int ensembles = 120) {
    SimulationSpec spec;
    spec.Ensembles = ensembles;
    return spec;
}

// Fixed-leader and variable-leader values the tests read back.
struct Leaders {
    const uint8_t* Fixed;
    const uint8_t* Variable;
    int Cells() const { return Fixed[9]; }
    double Bin1() const { return Le16(Fixed + 32) / 100.0; }
    double Cell() const { return Le16(Fixed + 12) / 100.0; }
    uint32_t Number() const { return Le16(Variable + 2) | static_cast<uint32_t>(Variable[11]) << 16; }
    int SecondsOfDay() const { return (Variable[7] * 60 + Variable[8]) * 60 + Variable[9]; }
};

Leaders LeadersOf(const RawEnsemble& e) {
    return {e.Bytes + Le16(e.Bytes + 6), e.Bytes + Le16(e.Bytes + 8)};
}

int16_t VelocityWord(const RawEnsemble& e, int cell, int beam) {
    return static_cast<int16_t>(Le16(e.Bytes + e.Find(0x0100) + 2 + 8 * cell + 2 * beam));
}

TEST(Simulator, BroadbandEnsemblesAreFramedAndChecksummed) {
    SimulationSpec spec = Small();
    const auto file = Simulate(spec);
    const auto ens = SplitFile(file, 0, false);
    ASSERT_EQ(ens.size(), 120u);
    EXPECT_EQ(ens.back().Start + ens.back().Length + 2, file.size());
    const uint16_t ids[] = {0x0000, 0x0080, 0x0100, 0x0200, 0x0300, 0x0400, 0x0600};
    for (const RawEnsemble& e : ens) {
        ASSERT_TRUE(e.ChecksumOk) << "ensemble at " << e.Start;
        EXPECT_EQ(e.Bytes[0], 0x7F);
        EXPECT_EQ(e.Bytes[1], 0x7F);
        ASSERT_EQ(e.Bytes[5], 7);
        for (int i = 0; i < 7; ++i) {
            const size_t at = Le16(e.Bytes + 6 + 2 * i);
            ASSERT_LT(at + 2, e.Length);
            EXPECT_EQ(Le16(e.Bytes + at), ids[i]);
        }
        const Leaders l = LeadersOf(e);
        EXPECT_EQ(l.Cells(), 30);
        EXPECT_EQ(Le16(l.Fixed + 4) & 0x80, 0); // down-looking
        EXPECT_EQ(l.Fixed[58], 20);             // beam angle
        EXPECT_EQ(l.Fixed[25] & 0x18, 0x18);    // earth coordinates
        // Velocity data type holds 8 bytes per cell, the byte arrays 4.
        EXPECT_EQ(Le16(e.Bytes + 6 + 6) - Le16(e.Bytes + 6 + 4), 2u + 8 * 30);
        EXPECT_EQ(Le16(e.Bytes + 6 + 8) - Le16(e.Bytes + 6 + 6), 2u + 4 * 30);
    }
}

TEST(Simulator, OptionalBlocksAppearWhenAskedFor) {
    SimulationSpec spec = Small(20);
    spec.Navigation = spec.TextBlock = spec.FlowMeter = true;
    spec.BottomTrack = false;
    const auto file = Simulate(spec);
    const auto ens = SplitFile(file, 0, false);
    ASSERT_EQ(ens.size(), 20u);
    for (const RawEnsemble& e : ens) {
        ASSERT_TRUE(e.ChecksumOk);
        EXPECT_EQ(e.Bytes[5], 9);
        EXPECT_LT(e.Find(0x0600), 0);
        ASSERT_GT(e.Find(0x2000), 0);
        ASSERT_GT(e.Find(0x1300), 0);
        const long text = e.Find(0x0800);
        ASSERT_GT(text, 0);
        const Leaders l = LeadersOf(e);
        EXPECT_EQ(l.Fixed[2], 6);         // flow-meter firmware
        EXPECT_EQ(l.Fixed[25] & 0x18, 0); // beam velocities
        // A printable sensor string closed by a zero inside the block.
        size_t k = static_cast<size_t>(text) + 2;
        while (k < e.Length && e.Bytes[k] != 0) {
            EXPECT_GE(e.Bytes[k], 0x20);
            EXPECT_LT(e.Bytes[k], 0x7F);
            ++k;
        }
        EXPECT_LT(k, e.Length);
        EXPECT_GT(k - static_cast<size_t>(text) - 2, 10u);
        // The flow-meter block: channel depth in 0.1 mm, two velocities in mm/s.
        const uint8_t* fm = e.Bytes + e.Find(0x1300);
        EXPECT_GT(Le16(fm + 2), 10000);
        EXPECT_NEAR(Le16(fm + 8), Le16(fm + 10), 50);
    }
}

TEST(Simulator, StrayBytesBetweenEnsemblesHoldNoSyncByte) {
    for (bool narrowband : {false, true}) {
        SimulationSpec spec = Small(40);
        spec.Narrowband = narrowband;
        spec.StrayBytes = 37;
        const auto file = Simulate(spec);
        const auto ens = SplitFile(file, 37, narrowband);
        ASSERT_EQ(ens.size(), 40u) << narrowband;
        EXPECT_EQ(file.size(), 40 * (ens[0].Length + 2) + 39 * 37);
        for (size_t i = 0; i + 1 < ens.size(); ++i) {
            EXPECT_TRUE(ens[i].ChecksumOk);
            for (size_t k = ens[i].Start + ens[i].Length + 2; k < ens[i + 1].Start; ++k) {
                EXPECT_NE(file[k], 0x7F) << k;
                EXPECT_NE(file[k], 0x3F) << k;
            }
        }
        // The noise is noise: many different values.
        bool seen[256] = {};
        int distinct = 0;
        for (size_t k = ens[0].Start + ens[0].Length + 2; k < ens[8].Start; ++k)
            if (!seen[file[k]]) seen[file[k]] = true, ++distinct;
        EXPECT_GT(distinct, 100);
    }
}

TEST(Simulator, DamagedEnsemblesFailTheirChecksumAndNothingElseChanges) {
    for (bool narrowband : {false, true}) {
        SimulationSpec spec = Small(50);
        spec.Narrowband = narrowband;
        spec.StrayBytes = 5;
        const auto clean = Simulate(spec);
        spec.DamageEvery = 7;
        const auto damaged = Simulate(spec);
        ASSERT_EQ(clean.size(), damaged.size());
        const auto ens = SplitFile(damaged, 5, narrowband);
        const auto ref = SplitFile(clean, 5, narrowband);
        ASSERT_EQ(ens.size(), 50u);
        for (size_t i = 0; i < ens.size(); ++i) {
            const bool hit = (i + 1) % 7 == 0;
            EXPECT_EQ(ens[i].ChecksumOk, !hit) << "ensemble " << i << " narrowband " << narrowband;
            EXPECT_EQ(std::equal(ens[i].Bytes, ens[i].Bytes + ens[i].Length + 2, ref[i].Bytes), !hit) << i;
            if (!hit) continue;
            // A reader that rejects it hunts on through its bytes: no false start may be there.
            const RawEnsemble& e = ens[i];
            for (size_t k = narrowband ? 4 : 2; k < e.Length + 2; ++k) {
                if (narrowband) {
                    EXPECT_NE(e.Bytes[k], 0x3F) << k;
                } else {
                    EXPECT_FALSE(e.Bytes[k] == 0x7F && (k + 1 == e.Length + 2 || e.Bytes[k + 1] == 0x7F))
                        << k;
                }
            }
        }
        // The stray bytes are the same in both files.
        for (size_t i = 0; i + 1 < ens.size(); ++i)
            for (size_t k = ens[i].Start + ens[i].Length + 2; k < ens[i + 1].Start; ++k)
                EXPECT_EQ(damaged[k], clean[k]);
    }
}

TEST(Simulator, OutputIsDeterminedBySeed) {
    SimulationSpec spec = Small(30);
    spec.StrayBytes = 11;
    spec.Navigation = true;
    const auto a = Simulate(spec);
    EXPECT_EQ(a, Simulate(spec));
    spec.Seed = 2;
    const auto b = Simulate(spec);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_NE(a, b);
}

TEST(Simulator, ClockStartsLateAndCrossesMidnight) {
    SimulationSpec spec = Small(120);
    spec.FirstEnsembleNumber = 500;
    const auto file = Simulate(spec);
    const auto ens = SplitFile(file, 0, false);
    ASSERT_EQ(ens.size(), 120u);
    const Leaders first = LeadersOf(ens[0]);
    const uint8_t start[7] = {26, 6, 14, 23, 0, 0, 0};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(first.Variable[4 + i], start[i]);
    int crossings = 0;
    for (size_t i = 1; i < ens.size(); ++i) {
        const Leaders a = LeadersOf(ens[i - 1]), b = LeadersOf(ens[i]);
        EXPECT_EQ(b.Number(), a.Number() + 1);
        const int step = (b.SecondsOfDay() - a.SecondsOfDay() + 86400) % 86400;
        EXPECT_EQ(step, 60) << i;
        if (b.Variable[7] < a.Variable[7]) {
            ++crossings;
            EXPECT_EQ(a.Variable[7], 23);
            EXPECT_EQ(b.Variable[7], 0);
            EXPECT_EQ(b.Variable[6], a.Variable[6] + 1); // the day advances
        }
    }
    EXPECT_EQ(crossings, 1);
    EXPECT_EQ(first.Number(), 500u);

    // Ensemble numbers run on into the third byte.
    spec = Small(3);
    spec.FirstEnsembleNumber = 0xFFFE;
    const auto carry = Simulate(spec);
    const auto three = SplitFile(carry, 0, false);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(LeadersOf(three[1]).Number(), 0xFFFFu);
    EXPECT_EQ(LeadersOf(three[2]).Number(), 0x10000u);
    EXPECT_EQ(LeadersOf(three[2]).Variable[11], 1);
}

TEST(Simulator, VelocityBeyondTheBottomOrSurfaceIsBad) {
    for (bool up : {false, true}) {
        SimulationSpec spec = Small(150);
        spec.UpLooking = up;
        const auto file = Simulate(spec);
        const auto ens = SplitFile(file, 0, false);
        ASSERT_EQ(ens.size(), 150u);
        int bad = 0, good = 0;
        for (const RawEnsemble& e : ens) {
            const Leaders l = LeadersOf(e);
            EXPECT_EQ(Le16(l.Fixed + 4) & 0x80, up ? 0x80 : 0);
            // Down-looking: the bottom as each beam's track sees it. Up-looking: the head sits on the
            // bottom, so the surface is as far above it as the head is deep.
            double lo = Le16(l.Variable + 16) / 10.0, hi = lo;
            if (!up) {
                const uint8_t* bt = e.Bytes + e.Find(0x0600);
                lo = 1e9;
                hi = 0;
                for (int b = 0; b < 4; ++b) {
                    const double r = (Le16(bt + 16 + 2 * b) + 65536.0 * bt[77 + b]) / 100.0;
                    lo = std::min(lo, r);
                    hi = std::max(hi, r);
                }
            }
            EXPECT_GT(lo, 19.0);
            EXPECT_LT(hi, 29.5);
            for (int k = 0; k < l.Cells(); ++k) {
                const double far = l.Bin1() + k * l.Cell() + l.Cell() / 2;
                for (int b = 0; b < 4; ++b) {
                    const bool isBad = VelocityWord(e, k, b) == -32768;
                    if (far > hi + 0.1) {
                        EXPECT_TRUE(isBad) << "cell " << k << " up " << up;
                    }
                    if (far < lo - 0.1) {
                        EXPECT_FALSE(isBad) << "cell " << k << " up " << up;
                    }
                    bad += isBad;
                    good += !isBad;
                }
            }
        }
        EXPECT_GT(bad, 500);
        EXPECT_GT(good, 8000);
    }
}

TEST(Simulator, EchoFadesWithRangeAndRisesAtTheBottom) {
    const auto file = Simulate(Small(50));
    const auto ens = SplitFile(file, 0, false);
    for (const RawEnsemble& e : ens) {
        const Leaders l = LeadersOf(e);
        const uint8_t* echo = e.Bytes + e.Find(0x0300) + 2;
        const uint8_t* corr = e.Bytes + e.Find(0x0200) + 2;
        const uint8_t* pg = e.Bytes + e.Find(0x0400) + 2;
        auto Mean = [&](const uint8_t* p, int k) {
            return (p[4 * k] + p[4 * k + 1] + p[4 * k + 2] + p[4 * k + 3]) / 4.0;
        };
        EXPECT_GT(Mean(echo, 0), Mean(echo, 6) + 10);
        EXPECT_GT(Mean(echo, 6), Mean(echo, 12) + 5);
        const uint8_t* bt = e.Bytes + e.Find(0x0600);
        double bottom = 0;
        for (int b = 0; b < 4; ++b) bottom += Le16(bt + 16 + 2 * b) / 400.0;
        int peak = 8;
        for (int k = 8; k < l.Cells(); ++k)
            if (Mean(echo, k) > Mean(echo, peak)) peak = k;
        EXPECT_NEAR(l.Bin1() + peak * l.Cell(), bottom, 1.6);
        for (int k = 0; k < l.Cells(); ++k) {
            const bool isBad = VelocityWord(e, k, 0) == -32768;
            if (isBad) {
                EXPECT_EQ(pg[4 * k + 3], 0); // no four-beam solution
                continue;
            }
            EXPECT_GT(Mean(corr, k), 64) << k;
            EXPECT_GE(pg[4 * k + 3], 90);
            EXPECT_EQ(pg[4 * k] + pg[4 * k + 3], 100);
        }
    }
}

TEST(Simulator, BottomTrackMirrorsTheNavigatedDrift) {
    SimulationSpec spec = Small(60);
    spec.Navigation = true;
    const auto file = Simulate(spec);
    const auto ens = SplitFile(file, 0, false);
    ASSERT_EQ(ens.size(), 60u);
    for (size_t i = 1; i < ens.size(); ++i) {
        const RawEnsemble& e = ens[i];
        const uint8_t* nav = e.Bytes + e.Find(0x2000);
        const uint8_t* bt = e.Bytes + e.Find(0x0600);
        const auto lat1 = static_cast<int32_t>(Le32(nav + 14)), lon1 = static_cast<int32_t>(Le32(nav + 18));
        const auto lat2 = static_cast<int32_t>(Le32(nav + 26)), lon2 = static_cast<int32_t>(Le32(nav + 30));
        const double toDeg = 180.0 / 2147483648.0;
        EXPECT_NEAR(lat2 * toDeg, 50.1, 0.1);
        EXPECT_NEAR(lon2 * toDeg, -4.9, 0.2);
        const double north = (lat2 - lat1) * toDeg * 111320.0;
        const double east = (lon2 - lon1) * toDeg * 111320.0 * std::cos(lat2 * toDeg * kPi / 180);
        const double speed = Le16(nav + 40);
        const double direction = Le16(nav + 42) * 360.0 / 65536.0 * kPi / 180;
        // Speed and direction made good agree with the two positions, one interval apart.
        EXPECT_NEAR(std::hypot(east, north) / 60.0 * 1000, speed, 0.02 * speed + 1);
        EXPECT_NEAR(speed * std::sin(direction), east / 60.0 * 1000, 2);
        EXPECT_NEAR(speed * std::cos(direction), north / 60.0 * 1000, 2);
        // The bottom appears to move against the platform.
        const auto btEast = static_cast<int16_t>(Le16(bt + 24)),
                   btNorth = static_cast<int16_t>(Le16(bt + 26));
        EXPECT_NEAR(btEast, -speed * std::sin(direction), 12);
        EXPECT_NEAR(btNorth, -speed * std::cos(direction), 12);
        EXPECT_EQ(Le32(nav + 50), LeadersOf(e).Number());
    }
}

// Beam to earth for the simulated convex 20-degree down-looking head, with the attitude the ensemble
// carries: x from beams 1-2, y from beams 3-4, z from all four.
void BeamToEarth(const int16_t beam[4], double heading, double pitch, double roll, double out[3]) {
    const double s = std::sin(20 * kPi / 180), c = std::cos(20 * kPi / 180);
    const double x = (beam[0] - beam[1]) / (2 * s);
    const double y = (beam[3] - beam[2]) / (2 * s);
    const double z = (beam[0] + beam[1] + beam[2] + beam[3]) / (4 * c);
    const double d = kPi / 180;
    const double H = heading * d, R = roll * d;
    double P = pitch * d;
    P = std::asin(std::cos(R) * std::sin(P) / std::sqrt(1 - std::pow(std::sin(R) * std::sin(P), 2)));
    const double sh = std::sin(H), ch = std::cos(H), sp = std::sin(P), cp = std::cos(P), sr = std::sin(R),
                 cr = std::cos(R);
    out[0] = x * (ch * cr + sh * sr * sp) + y * sh * cp + z * (ch * sr - sh * cr * sp);
    out[1] = x * (ch * sr * sp - sh * cr) + y * ch * cp - z * (sh * sr + ch * sp * cr);
    out[2] = -x * sr * cp + y * sp + z * cr * cp;
}

TEST(Simulator, BeamAndEarthFilesOfOneSeedDescribeTheSameWater) {
    SimulationSpec spec = Small(60);
    const auto earthFile = Simulate(spec);
    spec.BeamCoordinates = true;
    const auto beamFile = Simulate(spec);
    const auto earth = SplitFile(earthFile, 0, false), beam = SplitFile(beamFile, 0, false);
    ASSERT_EQ(earth.size(), beam.size());
    double sumError = 0;
    int compared = 0;
    for (size_t i = 0; i < beam.size(); ++i) {
        const Leaders l = LeadersOf(beam[i]);
        EXPECT_EQ(l.Fixed[25] & 0x18, 0);
        const double heading = Le16(l.Variable + 18) / 100.0;
        const double pitch = static_cast<int16_t>(Le16(l.Variable + 20)) / 100.0;
        const double roll = static_cast<int16_t>(Le16(l.Variable + 22)) / 100.0;
        for (int k = 0; k < 15; ++k) {
            int16_t b[4];
            bool bad = false;
            for (int j = 0; j < 4; ++j) {
                b[j] = VelocityWord(beam[i], k, j);
                bad = bad || b[j] == -32768 || VelocityWord(earth[i], k, j) == -32768;
            }
            if (bad) continue;
            double enu[3];
            BeamToEarth(b, heading, pitch, roll, enu);
            for (int j = 0; j < 3; ++j) {
                const double diff = enu[j] - VelocityWord(earth[i], k, j);
                EXPECT_LT(std::fabs(diff), 70) << "ensemble " << i << " cell " << k << " component " << j;
                sumError += std::fabs(diff);
                ++compared;
            }
        }
    }
    ASSERT_GT(compared, 1000);
    EXPECT_LT(sumError / compared, 15);
}

TEST(Simulator, NarrowbandBlocksAddUpAndCarryBcdTimes) {
    SimulationSpec spec = Small(80);
    spec.Narrowband = true;
    const auto file = Simulate(spec);
    const auto ens = SplitFile(file, 0, true);
    ASSERT_EQ(ens.size(), 80u);
    EXPECT_EQ(ens.back().Start + ens.back().Length + 2, file.size());
    int previousSecond = -1;
    for (const RawEnsemble& e : ens) {
        ASSERT_TRUE(e.ChecksumOk);
        EXPECT_EQ(e.Bytes[3], 0x3F);
        size_t sum = 14;
        for (int k = 0; k < 5; ++k) sum += Be16(e.Bytes + 2 + 2 * k);
        EXPECT_EQ(sum, e.Length);
        const uint8_t* p = e.Bytes + 14;
        for (int i = 0; i < 8; ++i) {
            EXPECT_LE(p[i] >> 4, 9) << i;
            EXPECT_LE(p[i] & 15, 9) << i;
        }
        EXPECT_EQ(p[0], 0x06);
        EXPECT_TRUE(p[1] == 0x14 || p[1] == 0x15);
        EXPECT_EQ(p[10], 30);
        EXPECT_EQ(p[18] & 0x80, 0x80);
        EXPECT_EQ(p[18] & 0x04, 0x04); // down-looking
        EXPECT_EQ(Be16(e.Bytes + 4), 6 * 30);
        const int seconds = ((p[2] >> 4) * 10 + (p[2] & 15)) * 3600 + ((p[3] >> 4) * 10 + (p[3] & 15)) * 60 +
                            (p[4] >> 4) * 10 + (p[4] & 15);
        if (previousSecond >= 0) {
            EXPECT_EQ((seconds - previousSecond + 86400) % 86400, 60);
        }
        previousSecond = seconds;
        // Cells beyond the bottom carry the 12-bit bad count.
        double hi = 0;
        for (int b = 0; b < 4; ++b) hi = std::max(hi, Be16(p + 47 + 2 * b) * 153600 / 1475.1 / 100);
        const double bin1 = (p[12] + std::ldexp(1.0, p[11])) / 2 + p[13] + p[14];
        const double cell = std::ldexp(1.0, p[11]);
        const uint8_t* vel = e.Bytes + 14 + Be16(e.Bytes + 2);
        for (int k = 0; k < 30; ++k) {
            const int count0 = vel[6 * k] * 16 + (vel[6 * k + 1] >> 4);
            if (bin1 + k * cell + cell / 2 > hi + 1.1) {
                EXPECT_EQ(count0, 2048) << k;
            }
            if (k < 10) {
                EXPECT_NE(count0, 2048) << k;
            }
        }
    }
}

TEST(Simulator, LengthBytesNeverLookLikeASyncByte) {
    // 113 narrowband cells would make N = 77 + 18 x 113 = 2111 = 0x083F.
    SimulationSpec nb = Small(3);
    nb.Narrowband = true;
    nb.Cells = 113;
    const auto file = Simulate(nb);
    const auto ens = SplitFile(file, 0, true);
    ASSERT_EQ(ens.size(), 3u);
    for (const RawEnsemble& e : ens) {
        EXPECT_TRUE(e.ChecksumOk);
        EXPECT_NE(e.Bytes[1], 0x3F);
        size_t sum = 14;
        for (int k = 0; k < 5; ++k) sum += Be16(e.Bytes + 2 + 2 * k);
        EXPECT_EQ(sum, e.Length);
    }
    for (int cells = 1; cells <= 255; ++cells) {
        for (int variant = 0; variant < 3; ++variant) {
            SimulationSpec spec = Small(1);
            spec.Cells = cells;
            spec.TextBlock = variant == 1;
            spec.Navigation = variant == 2;
            const auto one = Simulate(spec);
            ASSERT_GE(one.size(), 4u);
            EXPECT_NE(one[2], 0x7F) << cells << " " << variant;
            EXPECT_EQ(static_cast<size_t>(Le16(&one[2])) + 2, one.size());
        }
    }
}

TEST(Simulator, NextAppendsOneEnsembleAtATimeAndMatchesTheWrittenFile) {
    SimulationSpec spec = Small(5);
    spec.StrayBytes = 3;
    Simulator sim(spec);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(sim.Index(), 0);
    ASSERT_TRUE(sim.Next(bytes));
    EXPECT_EQ(sim.Index(), 1);
    const size_t one = bytes.size();
    EXPECT_EQ(one, Le16(&bytes[2]) + 2u + 3);
    while (sim.Next(bytes)) {
    }
    EXPECT_EQ(sim.Index(), 5);
    EXPECT_EQ(bytes.size(), 5 * (one - 3) + 4 * 3); // no stray bytes after the last ensemble
    EXPECT_FALSE(sim.Next(bytes));

    const auto path = test::ScratchDir() / "sim.000";
    std::string error;
    ASSERT_TRUE(WriteSimulatedFile(spec, path.string(), &error)) << error;
    EXPECT_EQ(test::ReadAll(path), bytes);
}

TEST(Simulator, WriteRefusesImpossibleSettingsAndReportsWriteFailures) {
    const auto dir = test::ScratchDir();
    std::string error;
    SimulationSpec spec = Small(2);
    spec.Cells = 0;
    EXPECT_FALSE(WriteSimulatedFile(spec, (dir / "a").string(), &error));
    EXPECT_NE(error.find("cells"), std::string::npos);
    spec = Small(2);
    spec.Month = 2;
    spec.Day = 30;
    EXPECT_FALSE(WriteSimulatedFile(spec, (dir / "b").string(), &error));
    EXPECT_NE(error.find("start"), std::string::npos);
    spec = Small(2);
    spec.IntervalSeconds = 0;
    EXPECT_FALSE(WriteSimulatedFile(spec, (dir / "c").string(), &error));
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));

    EXPECT_FALSE(WriteSimulatedFile(Small(2), (dir / "no" / "such" / "folder").string(), &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos);
    if (std::filesystem::exists("/dev/full")) {
        error.clear();
        EXPECT_FALSE(WriteSimulatedFile(Small(2), "/dev/full", &error));
        EXPECT_NE(error.find("cannot write /dev/full"), std::string::npos) << error;
    }
}

} // namespace
} // namespace mvx
