// The simulated instrument's files, read back byte by byte with the plain walker of RawEnsembles.h.
#include "simulator/Simulator.h"
#include "RawEnsembles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace mvx {
namespace {

using test::Be16;
using test::Le16;
using test::RawEnsemble;
using test::SplitFile;

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
    uint32_t Number() const { return Le16(Variable + 2) | static_cast<uint32_t>(Variable[11]) << 16; }
    int SecondsOfDay() const { return (Variable[7] * 60 + Variable[8]) * 60 + Variable[9]; }
};

Leaders LeadersOf(const RawEnsemble& e) {
    return {e.Bytes + Le16(e.Bytes + 6), e.Bytes + Le16(e.Bytes + 8)};
}

// (Framing, optional blocks, and that stray bytes and damaged ensembles hide no false start, are
// proved by the round trips through the readers.)
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
        }
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
            EXPECT_EQ(b.Variable[6], a.Variable[6] + 1); // the day advances
        }
    }
    EXPECT_EQ(crossings, 1);

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
        EXPECT_EQ(p[18] & 0x84, 0x84); // new format, down-looking
        const int seconds = ((p[2] >> 4) * 10 + (p[2] & 15)) * 3600 + ((p[3] >> 4) * 10 + (p[3] & 15)) * 60 +
                            (p[4] >> 4) * 10 + (p[4] & 15);
        if (previousSecond >= 0) {
            EXPECT_EQ((seconds - previousSecond + 86400) % 86400, 60);
        }
        previousSecond = seconds;
    }
}

TEST(Simulator, LengthBytesNeverLookLikeASyncByte) {
    // 113 narrowband cells would make N = 77 + 18 x 113 = 2111 = 0x083F.
    SimulationSpec nb = Small(3);
    nb.Narrowband = true;
    nb.Cells = 113;
    const std::vector<uint8_t> bytes = Simulate(nb); // the split ensembles point into it
    const auto ens = SplitFile(bytes, 0, true);
    ASSERT_EQ(ens.size(), 3u);
    for (const RawEnsemble& e : ens) EXPECT_TRUE(e.ChecksumOk && e.Bytes[1] != 0x3F);
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
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

} // namespace
} // namespace mvx
