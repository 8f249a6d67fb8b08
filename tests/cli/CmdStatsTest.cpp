// marevox-cli stats: the information window's text of a file.
#include "TestEnsembles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace mvx::test;

TEST(CliStats, PrintsStatisticsAndTheAverageInterval) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    std::string out;
    ASSERT_EQ(RunCli("stats " + DataFile("up600_beam_9ens.000"), &out), 0);
    EXPECT_EQ(out.rfind(DataFile("up600_beam_9ens.000") + "\r\nFile Size 16,506 bytes\r\n", 0), 0u);
    // Nine ensembles 10 s apart.
    const std::string tail = "Average Ensemble Interval 00:00:10.00\r\n";
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

TEST(CliStats, FileThatDoesNotLoadFails) {
    const fs::path path = ScratchDir() / "junk.bin";
    WriteAll(path, std::vector<uint8_t>(2000, 0x01));
    std::string out;
    EXPECT_EQ(RunCli("stats " + path.string(), &out), 1);
    EXPECT_NE(out.find("Not enough VALID ensembles"), std::string::npos);
    EXPECT_EQ(RunCli("stats", &out), 2);
}

TEST(CliStats, MultiFileSwitch) {
    const fs::path dir = ScratchDir();
    BroadbandSpec spec;
    WriteAll(dir / "RUN.000", BuildBroadbandRun(spec, 1, 10));
    WriteAll(dir / "RUN.001", BuildBroadbandRun(spec, 11, 20));
    std::string out;
    ASSERT_EQ(RunCli("stats " + (dir / "RUN.000").string() + " --multifile", &out), 0);
    EXPECT_EQ(out.rfind((dir / "RUN.000").string() + " to " + (dir / "RUN.001").string() + "\r\n", 0), 0u);
    ASSERT_EQ(RunCli("stats " + (dir / "RUN.000").string(), &out), 0);
    EXPECT_EQ(out.rfind((dir / "RUN.000").string() + "\r\n", 0), 0u);
}
