// marevox-cli dump --track, report and render --window track|report: the analysis windows headless.
#include "TestSupport.h"

#include "analysis/ReportFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;
using namespace mvx::test;

namespace {

// The VelData rows of the dump line of one ensemble: rows[row][bin]; empty when the ensemble is not there.
std::vector<std::vector<int>> VelRows(const std::string& dump, int ensemble) {
    std::istringstream lines(dump);
    const std::string start = "{\"EnsNumbers\":" + std::to_string(ensemble) + ",";
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(start, 0) != 0) continue;
        const size_t from = line.find("\"VelData\":[[") + 12, to = line.find("]]", from);
        std::vector<std::vector<int>> rows(1);
        std::istringstream cells(line.substr(from, to - from));
        for (std::string cell; std::getline(cells, cell, ',');) {
            const size_t close = cell.find(']');
            rows.back().push_back(std::stoi(cell.substr(cell[0] == '[' ? 1 : 0)));
            if (close != std::string::npos) rows.emplace_back();
        }
        return rows;
    }
    return {};
}

std::string Dump(const std::string& file, const std::string& args) {
    std::string out;
    EXPECT_EQ(RunCli("dump " + file + " " + args, &out), 0) << args;
    return out;
}

} // namespace

// Worked by hand from the printed east, north and reference direction: ensemble 511 of the bottom-track
// file, bin 0: east -58, north 169, bottom direction 340.8 degrees gives long 178.7 and cross 0.8;
// ensemble 2 of the ship file, bin 1: east 582, north -313, navigation 76.8 degrees gives 495.2, 437.6.
TEST(CliTrack, RotatesOntoTheBottomAndTheNavigationTrack) {
    SKIP_WITHOUT_DATA_FILE("SHIP300_000001.ENX");
    const struct {
        const char *File, *Args;
        int Ensemble, Bin, East, North, Long, Cross;
    } cases[] = {{"down600_earth_bt.000", "--track bottom --first 511 --last 511", 511, 0, -58, 169, 179, 1},
                 {"SHIP300_000001.ENX", "--track navigation --last 2", 2, 1, 582, -313, 495, 438},
                 {"SHIP300_000001.ENX", "--track 90 --last 2", 2, 1, 582, -313, 582, 313}};
    for (const auto& c : cases) {
        const auto rows = VelRows(Dump(DataFile(c.File), c.Args), c.Ensemble);
        ASSERT_GE(rows.size(), 8u) << c.Args;
        ASSERT_GT(rows[7].size(), size_t(c.Bin));
        EXPECT_EQ(rows[0][size_t(c.Bin)], c.East);
        EXPECT_EQ(rows[1][size_t(c.Bin)], c.North);
        EXPECT_EQ(rows[6][size_t(c.Bin)], c.Long) << c.Args;
        EXPECT_EQ(rows[7][size_t(c.Bin)], c.Cross) << c.Args;
    }
}

TEST(CliTrack, WithoutTheTrackEveryRotatedValueIsBadAndBadChoicesAreRefused) {
    const fs::path file = ScratchDir() / "nobt.000";
    ASSERT_EQ(
        RunCli("simulate --out " + file.string() + " --ensembles 5 --cells 6 --no-bottom-track", nullptr), 0);
    for (const char* track : {"bottom", "navigation"}) {
        const std::string dump = Dump(file.string(), std::string("--track ") + track);
        for (int e = 1; e <= 5; ++e) {
            const auto rows = VelRows(dump, e);
            ASSERT_GE(rows.size(), 8u);
            for (int row : {6, 7})
                for (int v : rows[size_t(row)]) EXPECT_EQ(v, -32768) << track << " " << e;
        }
    }
    for (const char* bad : {"", "north", "270", "-180", "nan"}) {
        std::string err;
        EXPECT_EQ(RunCli("dump " + file.string() + " --track '" + bad + "'", nullptr, &err), 2) << bad;
        EXPECT_NE(err.find("--track"), std::string::npos) << err;
    }
}

TEST(CliReport, WritesTheSnapshotOnceAndRendersIt) {
    const fs::path dir = ScratchDir(), input = dir / "sim.000", report = dir / "snap.mvr";
    ASSERT_EQ(RunCli("simulate --out " + input.string() + " --ensembles 12 --cells 7", nullptr), 0);
    std::string out;
    ASSERT_EQ(RunCli("report " + input.string() + " --out " + report.string() + " --type 100", &out), 0);
    mvx::ReportSnapshot s;
    std::string error;
    ASSERT_TRUE(mvx::Load_Data(report.string(), s, error)) << error;
    EXPECT_EQ(s.Bins, 7);
    EXPECT_EQ(s.Ensembles, 12);
    EXPECT_EQ(s.Titles[0], "Data Type = East Velocity Contour");
    // A second report onto the same file is refused and the file stays as it was.
    const std::string before = ReadText(report);
    EXPECT_EQ(RunCli("report " + input.string() + " --out " + report.string(), nullptr), 1);
    EXPECT_EQ(ReadText(report), before);
#ifdef MARVOX_HAVE_QT
    const fs::path cut = dir / "cut.mvr";
    WriteAll(cut, std::vector<uint8_t>(before.begin(), before.begin() + 40));
    const struct {
        std::string Input, Window, Caption;
        int Status;
    } cases[] = {{report.string(), "report", "MAREVOX Data Editor", 0},
                 {input.string(), "track", "MAREVOX Track Vector Time Series", 0},
                 {cut.string(), "report", "", 1}}; // a report cut short is refused
    int k = 0;
    for (const auto& c : cases) {
        const fs::path png = dir / ("w" + std::to_string(k++) + ".png");
        std::string caption;
        EXPECT_EQ(
            RunCli("render " + c.Input + " --window " + c.Window + " --size 640x400 --out " + png.string(),
                   &caption),
            c.Status)
            << c.Window;
        EXPECT_EQ(fs::exists(png), c.Status == 0);
        if (c.Status == 0) {
            EXPECT_EQ(caption, c.Caption + "\n");
            EXPECT_GT(fs::file_size(png), 1000u);
        }
    }
#endif
}

TEST(CliTrend, UnsmoothedSeriesHasNoResidualAndTheChoicesAreHeldToTheTable) {
    const fs::path input = ScratchDir() / "trend.000";
    ASSERT_EQ(RunCli("simulate --out " + input.string() + " --ensembles 30 --cells 5", nullptr), 0);
    const struct {
        std::string Args;
        int Status;
        std::vector<std::string> Lines; // expected among the printed lines
    } cases[] = {
        {"--candle 0", 0, {"Triangular Width 1", "Selected Candle   1", "Number of Candles 1"}},
        {"--candle 9 --passes 3 --line 2", 0, {"Triangular Width 7", "Selected Candle   1"}},
        {"--line 99", 2, {}},
        {"--passes 51", 2, {}},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(RunCli("trend " + input.string() + " " + c.Args, &out), c.Status) << c.Args;
        for (const std::string& line : c.Lines)
            EXPECT_NE(out.find(line + "\n"), std::string::npos) << line << out;
        if (c.Args == "--candle 0") {
            EXPECT_NE(out.find("Mean 0.00 \xC2\xB1 0.00  Max 0.00  Min 0.00"), std::string::npos) << out;
            EXPECT_EQ(out.find("Count 0 "), std::string::npos) << out;
        }
    }
}
