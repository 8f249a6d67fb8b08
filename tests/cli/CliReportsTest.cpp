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
    ASSERT_EQ(test::RunCli("view " + test::DataFile("up600_beam_9ens.000") + " --ensemble 5 --bin 84", &out),
              0);
    EXPECT_EQ(out.rfind("Ensemble         5         Date 08/06/25\r\n", 0), 0u) << out;
    // Up-looking, 84 cells: bin 84 is the top one, which the viewer labels 83, at 0.50 x 83 + 2.23 m.
    EXPECT_NE(out.find("Bin             83"), std::string::npos);
    EXPECT_NE(out.find("Range(m)     43.73 "), std::string::npos);
}

// view --bin B and export --bins B name the same bin, whichever way the instrument looks.
TEST(CliReports, ViewAndExportNumberBinsAlike) {
    for (const std::string look : {"", " --up"}) {
        const auto dir = test::ScratchDir();
        const std::string file = (dir / "run.000").string(), out = (dir / "p.txt").string();
        ASSERT_EQ(test::RunCli("simulate --out " + file + " --ensembles 6 --cells 8" + look, nullptr), 0);
        std::string view;
        ASSERT_EQ(test::RunCli("view " + file + " --ensemble 3 --bin 2", &view), 0) << look;
        ASSERT_EQ(test::RunCli("export profile " + file + " --out " + out +
                                   " --ensemble 3 --types vel:East --bins 2",
                               nullptr),
                  0);
        const std::string text = test::ReadText(out);
        const std::string label = "\"E mm/s  \"\t";
        const auto row = text.find(label);
        ASSERT_NE(row, std::string::npos) << text;
        const auto from = row + label.size();
        const std::string east = text.substr(from, text.find("\r\n", from) - from);
        const auto v = view.find("V mm/s");
        ASSERT_NE(v, std::string::npos) << view;
        EXPECT_EQ(view.substr(v + 6, 6), std::string(6 - east.size(), ' ') + east) << look << "\n" << view;
        EXPECT_NE(view.find("Bin              1"), std::string::npos) << view; // the viewer counts from 0
    }
}
