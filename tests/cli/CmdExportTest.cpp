// marevox-cli export: the dialog's "Write File" from the command line.
#include "../export/ExportFixture.h"

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

TEST(CliExport, SeriesDefaultsToTheLoadedSetAndAllBins) {
    const fs::path tiny = TinyFilePath();
    const fs::path out = ScratchDir() / "series.txt";
    std::string err;
    ASSERT_EQ(
        RunCli("export series " + tiny.string() + " --out " + out.string() + " --types vel:Mag --anc Battery",
               nullptr, &err),
        0)
        << err;
    const auto lines = CrLfLines(ReadText(out));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[14], std::string(9, '\t') + "\t1\t2");
    EXPECT_EQ(lines[16], "1\t26\t06\t14\t12\t00\t00\t00\t\t150\t500\t100");
    EXPECT_EQ(lines[18], "3\t26\t06\t14\t12\t01\t01\t00\t\t255\t130\t25");
}

TEST(CliExport, MatFormatStartsWithTheTitle) {
    const fs::path tiny = TinyFilePath();
    const fs::path out = ScratchDir() / "contour.mat";
    std::string err;
    ASSERT_EQ(RunCli("export contour " + tiny.string() + " --out " + out.string() +
                         " --format mat --types echo:Bm2",
                     nullptr, &err),
              0)
        << err;
    const std::string bytes = ReadText(out);
    ASSERT_GT(bytes.size(), 29u);
    // Type 11 (text), one row; the name follows the 20-byte header.
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x0B\0\0\0\x01\0\0\0", 8));
    EXPECT_EQ(bytes.substr(20, 9), std::string("ConTitle\0", 9));
}

TEST(CliExport, ExistingFileIsRefusedAndLeftAlone) {
    const fs::path tiny = TinyFilePath();
    const fs::path out = ScratchDir() / "taken.txt";
    WriteAll(out, {'1', '2', '3'});
    std::string err;
    EXPECT_NE(RunCli("export profile " + tiny.string() + " --out " + out.string(), nullptr, &err), 0);
    EXPECT_NE(err.find("Over-Write of File Not Allowed"), std::string::npos) << err;
    EXPECT_EQ(ReadText(out), "123");
}

TEST(CliExport, FailuresGiveAMessageAndNonZeroExit) {
    const fs::path tiny = TinyFilePath();
    std::string err;
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(
            RunCli("export series " + tiny.string() + " --out /dev/full --types vel:East", nullptr, &err), 1);
        EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
    }
    EXPECT_EQ(
        RunCli("export contour " + tiny.string() + " --out " + (ScratchDir() / "no" / "such.txt").string(),
               nullptr, &err),
        1);
    EXPECT_NE(err.find("such.txt"), std::string::npos) << err;
    // Ambiguous captions and unknown words are refused before anything is written.
    const fs::path out = ScratchDir() / "never.txt";
    EXPECT_EQ(
        RunCli("export contour " + tiny.string() + " --out " + out.string() + " --types Bm1", nullptr, &err),
        2);
    EXPECT_NE(err.find("echo:bm1 or corr:bm1"), std::string::npos) << err;
    EXPECT_EQ(
        RunCli("export profile " + tiny.string() + " --out " + out.string() + " --first 2", nullptr, &err),
        2);
    EXPECT_EQ(RunCli("export wave " + tiny.string() + " --out " + out.string(), nullptr, &err), 2);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(RunCli("export contour " + (ScratchDir() / "missing.000").string() + " --out " + out.string(),
                     nullptr, &err),
              1);
    EXPECT_FALSE(fs::exists(out));
}
