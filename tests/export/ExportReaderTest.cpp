// The export reader keeps its file open between loads: whatever order the ensembles are asked for, and
// whatever happens to the file meanwhile, each load gives what a load of that ensemble alone gives.
#include "ExportFixture.h"

#include "simulator/Simulator.h"

#include <gtest/gtest.h>

using namespace mvx;
using namespace mvx::test;
namespace fs = std::filesystem;

namespace {

fs::path SimulatedFile(uint32_t seed, int ensembles) {
    const fs::path path = ScratchDir() / "SIM.000";
    SimulationSpec spec;
    spec.Ensembles = ensembles;
    spec.Cells = 6;
    spec.StrayBytes = 3;
    spec.Seed = seed;
    std::string error;
    EXPECT_TRUE(WriteSimulatedFile(spec, path.string(), &error)) << error;
    return path;
}

// Ensemble number and east velocities of slot 0 after loading e alone into the state.
std::vector<int32_t> Fresh(CoreState& state, int32_t e) {
    EXPECT_TRUE(Read_File_Selection(state, e, e, false));
    std::vector<int32_t> v{state.Data.EnsNumbers[0]};
    for (int b = 0; b < 6; ++b) v.push_back(state.Data.VelData(0, b, 0));
    return v;
}

std::vector<int32_t> Loaded(const ExportReader& reader) {
    std::vector<int32_t> v{reader.Data().EnsNumbers[0]};
    for (int b = 0; b < 6; ++b) v.push_back(reader.Data().VelData(0, b, 0));
    return v;
}

} // namespace

TEST(ExportReader, AnyOrderOfLoadsGivesWhatASingleLoadGives) {
    LoadedFile f;
    f.Path = SimulatedFile(3, 400);
    OpenFile(f);
    const std::vector<std::vector<int32_t>> orders = {
        {1, 2, 3, 4}, {400, 1, 399}, {200, 150, 250, 150}, {5, 5, 300, 6}};
    for (const auto& order : orders) {
        ExportReader reader(f.State);
        OutputFile unused;
        for (int32_t e : order) {
            SCOPED_TRACE(e);
            ASSERT_TRUE(reader.Load(e, unused)) << unused.Error();
            EXPECT_EQ(Loaded(reader), Fresh(f.State, e));
        }
    }
}

TEST(ExportReader, AFileReplacedBetweenLoadsIsReadAnew) {
    LoadedFile f;
    f.Path = SimulatedFile(3, 20);
    OpenFile(f);
    ExportReader reader(f.State);
    OutputFile unused;
    ASSERT_TRUE(reader.Load(1, unused));
    const std::vector<int32_t> before = Fresh(f.State, 2);

    // Another file of the same shape but other values takes the name.
    fs::rename(SimulatedFile(99, 20), f.Path);
    LoadedFile other;
    other.Path = f.Path;
    OpenFile(other);
    ASSERT_TRUE(reader.Load(2, unused)) << unused.Error();
    EXPECT_EQ(Loaded(reader), Fresh(other.State, 2));
    EXPECT_NE(Loaded(reader), before);
}
