#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace mvx;

TEST(CliReports, DetailsPrintsTheReportThenTheSixStatistics) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_truncated.000");
    std::string out;
    ASSERT_EQ(test::RunCli("details " + test::DataFile("up600_beam_truncated.000"), &out), 0);
    EXPECT_EQ(out.rfind("File Size 20,000 bytes\r\n", 0), 0u);
    const auto stats =
        out.find("\r\nFirst 1\r\nLast 22\r\nMissing 0\r\nRepeats 0\r\nResets 0\r\nWrong Size 0\r\n");
    ASSERT_NE(stats, std::string::npos);
    EXPECT_GT(stats, out.find("Last  Ensemble 00000022"));
}

TEST(CliReports, ViewPrintsOneEnsembleOfTheLoadedSet) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    std::string out;
    ASSERT_EQ(test::RunCli("view " + test::DataFile("up600_beam_9ens.000") + " --ensemble 5 --bin 0", &out),
              0);
    EXPECT_EQ(out.rfind("Ensemble         5         Date 08/06/25\r\n", 0), 0u) << out;
    // Up-looking, 84 cells: display bin 0 is the top bin, number 83, at 0.50 x 83 + 2.23 m.
    EXPECT_NE(out.find("Bin             83"), std::string::npos);
    EXPECT_NE(out.find("Range(m)     43.73 "), std::string::npos);
}

TEST(CliReports, RefusesMissingFilesAndBadArguments) {
    std::string out, err;
    EXPECT_NE(test::RunCli("details /nonexistent/file.000", &out, &err), 0);
    EXPECT_NE(test::RunCli("view /nonexistent/file.000 --ensemble 1 --bin 0", &out, &err), 0);
    EXPECT_EQ(test::RunCli("view", &out, &err), 2);
}
