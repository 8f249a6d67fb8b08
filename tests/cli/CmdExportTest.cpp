// marevox-cli export: the dialog's "Write File" from the command line.
#include "../export/ExportFixture.h"
#include "SmallDisk.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace mvx::test;

TEST(CliExport, ContourFileMatchesTheGolden) {
    const fs::path tiny = TinyFilePath();
    const fs::path out = ScratchDir() / "contour.txt";
    std::string stdoutText, err;
    ASSERT_EQ(RunCli("export contour " + tiny.string() + " --out " + out.string() +
                         " --types vel:Direction --bins 1-2 --first 1 --last 3",
                     &stdoutText, &err),
              0)
        << err;
    EXPECT_EQ(ReadText(out), Golden("contour_direction.txt", tiny.string()));
}

TEST(CliExport, NetCdfFormat) {
    const fs::path out = ScratchDir() / "series.nc";
    ASSERT_EQ(RunCli("export series " + TinyFilePath().string() + " --format nc --types vel:East --out " +
                         out.string(),
                     nullptr),
              0);
    EXPECT_TRUE(ReadText(out).starts_with(std::string("CDF\x02", 4))); // the 64-bit offset format
}

TEST(CliExport, ExistingFileIsRefusedAndLeftAlone) {
    const fs::path tiny = TinyFilePath();
    const fs::path out = ScratchDir() / "taken.txt";
    WriteAll(out, {'1', '2', '3'});
    for (const std::string format : {"txt", "mat", "nc"}) {
        std::string err;
        EXPECT_NE(RunCli("export profile " + tiny.string() + " --out " + out.string() + " --format " + format,
                         nullptr, &err),
                  0);
        EXPECT_NE(err.find("Over-Write of File Not Allowed"), std::string::npos) << err;
        EXPECT_EQ(ReadText(out), "123");
    }
}

// A NetCDF file is made whole in memory and then written: a disk that fills up part way leaves no
// file that looks finished.
TEST(CliExport, NetCdfCutShortByAFullDiskIsRemoved) {
    const fs::path input = ScratchDir() / "long.000";
    ASSERT_EQ(RunCli("simulate --out " + input.string() + " --ensembles 300 --cells 20", nullptr), 0);
    SmallDisk disk(4);
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    std::string err;
    EXPECT_EQ(
        RunCli("export contour " + input.string() + " --format nc --out " + disk.Path("cut.nc").string(),
               nullptr, &err),
        1);
    EXPECT_NE(err.find("No space left on device; the unfinished file was removed"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(disk.Path("cut.nc")));
}

TEST(CliExport, FailuresGiveAMessageAndNonZeroExit) {
    const fs::path tiny = TinyFilePath();
    std::string err;
    if (fs::exists("/dev/full"))
        for (const std::string format : {"txt", "nc"}) {
            EXPECT_EQ(RunCli("export series " + tiny.string() +
                                 " --out /dev/full --types vel:East --format " + format,
                             nullptr, &err),
                      1);
            EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
        }
    // Ambiguous captions and unknown words are refused before anything is written.
    const fs::path out = ScratchDir() / "never.txt";
    EXPECT_EQ(
        RunCli("export contour " + tiny.string() + " --out " + out.string() + " --types Bm1", nullptr, &err),
        2);
    EXPECT_NE(err.find("echo:bm1 or corr:bm1"), std::string::npos) << err;
    EXPECT_EQ(RunCli("export wave " + tiny.string() + " --out " + out.string(), nullptr, &err), 2);
    EXPECT_FALSE(fs::exists(out));
}
