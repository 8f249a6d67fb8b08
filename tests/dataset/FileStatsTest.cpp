// File statistics: structure detection, the statistics text and the first/last ensemble search.
#include "TestEnsembles.h"
#include "TestSupport.h"

#include "dataset/FileStats.h"
#include "ensemble/Framing.h"
#include "model/CoreState.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace mvx;
using namespace mvx::test;

namespace {

struct Stats {
    bool ok = false;
    CoreState state;
    FileStatsReport report;
};

// Runs the statistics over a set of files (one entry for a single file); the text goes where the
// information window reads it.
std::unique_ptr<Stats> RunStats(const std::vector<std::string>& paths) {
    auto s = std::make_unique<Stats>();
    int64_t size = 0;
    for (const auto& p : paths) size += static_cast<int64_t>(fs::file_size(p));
    CoreState& st = s->state;
    s->report = Show_File_Stats(paths, size, {st.Frame, st.Setup, st.Data}, {}, st.Set, {});
    s->ok = s->report.Valid();
    st.Set.StatsText = Stats_Text(s->report);
    return s;
}

std::string WriteFile(const std::vector<uint8_t>& bytes, const std::string& name = "f.000") {
    const fs::path path = ScratchDir() / name;
    WriteAll(path, bytes);
    return path.string();
}

// The line of the text that starts with prefix (without its line break), or "".
std::string LineStarting(const std::string& text, const std::string& prefix) {
    size_t at = text.find(prefix);
    if (at == std::string::npos) return "";
    return text.substr(at, text.find("\r\n", at) - at);
}

std::vector<uint8_t> HundredEnsembles() {
    BroadbandSpec spec;
    spec.TargetBytes = 1000;
    return BuildBroadbandRun(spec, 1, 100);
}

} // namespace

TEST(FileStats, HundredEnsemblesOfOneLengthGiveTheWholeTextWithoutRemark) {
    const auto bytes = HundredEnsembles();
    ASSERT_EQ(bytes.size(), 100200u);
    const std::string path = WriteFile(bytes);
    auto s = RunStats({path});
    ASSERT_TRUE(s->ok);
    // Ensemble 100 is 99 s after 12:00:00.
    const std::string expected = path + "\r\n" +
                                 "File Size 100,200 bytes\r\n"
                                 "BB/LX Ensemble Length 1002 bytes\r\n"
                                 "System Frequency: 614.4 kHz\r\n"
                                 "1st Bin 2.00 m, Bin Size 0.50 m\r\n"
                                 "No. Bins 4, Pings/Ens 50, Time/Ping 00:01.20\r\n"
                                 "First Ensemble 00000001 26/06/14 12:00:00.00\r\n"
                                 "Last  Ensemble 00000100 26/06/14 12:01:39.00\r\n";
    EXPECT_EQ(s->state.Set.StatsText, expected);
    EXPECT_EQ(s->state.Set.DataStructure, kBroadband);
    EXPECT_EQ(s->state.Set.NumEnsembles, 100);
    EXPECT_EQ(s->state.Set.FileLastEnsemble, 100);
    // Slot 0 holds the first ensemble, slot 1 the last.
    EXPECT_EQ(s->state.Data.EnsNumbers[0], 1);
    EXPECT_EQ(s->state.Data.EnsNumbers[1], 100);
}

TEST(FileStats, TheLastEnsembleLineNamesWhatTheEndOfTheFileHolds) {
    BroadbandSpec spec;
    spec.TargetBytes = 1000;
    const auto nvram = BuildNvramBlock(9000);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::string lastLine; // after "Last  Ensemble "
        int32_t last, count;
    };
    auto hundred = HundredEnsembles();
    auto removed = hundred, appended = hundred, withNvram = hundred;
    // Ensembles 41..50 occupy bytes 40 x 1002 .. 50 x 1002.
    removed.erase(removed.begin() + 40 * 1002, removed.begin() + 50 * 1002);
    appended.insert(appended.end(), 5000, 0x55);
    withNvram.insert(withNvram.end(), nvram.begin(), nvram.end());
    auto later = BuildBroadbandRun(spec, 201, 300);
    later.insert(later.end(), 5000, 0x55);
    const Case cases[] = {
        {"41 to 50 removed", removed, "00000100 26/06/14 12:01:39.00 Missing Ensembles  10", 100, 100},
        // The index ends the file at its last whole ensemble (the arithmetic guessed round(105200 / 1002)
        // = 105).
        {"5000 bytes appended", appended, "00000100 26/06/14 12:01:39.00 Extra Data in File", 100, 100},
        {"set-up block appended", withNvram, "00000100 26/06/14 12:01:39.00 NVRAM Data in File", 100, 100},
        {"numbers from 201", later, "00000300 26/06/14 12:01:39.00 Extra Data in File", 300, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = RunStats({WriteFile(c.bytes)});
        ASSERT_TRUE(s->ok);
        EXPECT_EQ(LineStarting(s->state.Set.StatsText, "Last  Ensemble"), "Last  Ensemble " + c.lastLine);
        EXPECT_EQ(s->state.Set.LastEnsNumber, c.last);
        EXPECT_EQ(s->state.Set.NumEnsembles, c.count);
        EXPECT_EQ(s->report.Nvram, c.lastLine.find("NVRAM") != std::string::npos);
    }
}

TEST(FileStats, ALoneEnsembleBeforeBytesWithoutEnsemblesIsFound) {
    // One ensemble, then 1598 bytes without any ensemble: 2600 bytes in all. The arithmetic's backward
    // search would start before the file (2600 - 3 x 1002 + 1 < 1) and give up; the index finds the
    // ensemble, and it is the first and the last.
    BroadbandSpec spec;
    spec.TargetBytes = 1000;
    auto bytes = BuildBroadband(spec);
    ASSERT_EQ(bytes.size(), 1002u);
    bytes.insert(bytes.end(), 1598, 0x55);
    auto s = RunStats({WriteFile(bytes)});
    EXPECT_TRUE(s->ok);
    EXPECT_EQ(s->state.Set.NumEnsembles, 1);
    const std::string& text = s->state.Set.StatsText;
    const std::string tail = " Extra Data in File\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(FileStats, FileWithoutEnsemblesIsUnknown) {
    const std::string path = WriteFile(std::vector<uint8_t>(3000, 0));
    auto s = RunStats({path});
    EXPECT_FALSE(s->ok);
    EXPECT_EQ(s->state.Set.DataStructure, kStructureUnknown);
    EXPECT_EQ(s->state.Set.StatsText, path + "\r\nFile Size 3,000 bytes\r\n\r\nNot enough VALID ensembles");
}

TEST(FileStats, DownLookingFirstBinIsNegativeAndFrequencyFollowsTheCode) {
    BroadbandSpec spec;
    spec.UpLooking = false;
    spec.FirstBinCm = 125;
    spec.CellSizeCm = 25;
    spec.FrequencyCode = 5;
    auto s = RunStats({WriteFile(BuildBroadbandRun(spec, 7, 9))});
    ASSERT_TRUE(s->ok);
    const std::string& text = s->state.Set.StatsText;
    EXPECT_EQ(LineStarting(text, "1st Bin"), "1st Bin -1.25 m, Bin Size 0.25 m");
    EXPECT_EQ(LineStarting(text, "System Frequency"), "System Frequency: 2457.6 kHz");
    EXPECT_EQ(LineStarting(text, "First Ensemble"), "First Ensemble 00000007 26/06/14 12:00:00.00");
    EXPECT_EQ(s->state.Set.NumEnsembles, 3);
}

TEST(FileStats, NarrowbandFileOmitsTheYear) {
    std::vector<uint8_t> bytes;
    for (int k = 1; k <= 5; ++k) {
        NarrowbandSpec spec;
        spec.Number = k;
        spec.TimeBcd[4] = static_cast<uint8_t>(0x10 * k); // seconds 10, 20, ... 50 in BCD
        auto e = BuildNarrowband(spec);
        bytes.insert(bytes.end(), e.begin(), e.end());
    }
    const size_t ensembleLength = bytes.size() / 5;
    auto s = RunStats({WriteFile(bytes)});
    ASSERT_TRUE(s->ok);
    const std::string& text = s->state.Set.StatsText;
    EXPECT_EQ(s->state.Set.DataStructure, kNarrowband);
    EXPECT_EQ(LineStarting(text, "NB "), "NB Ensemble Length " + std::to_string(ensembleLength) + " bytes");
    // Narrowband code 5 is not the broadband one.
    EXPECT_EQ(LineStarting(text, "System Frequency"), "System Frequency: 115.0 kHz");
    // (transmit 3 + cell 1 m) / 2 + blank 1 + delay 0
    EXPECT_EQ(LineStarting(text, "1st Bin"), "1st Bin 3.00 m, Bin Size 1.00 m");
    EXPECT_EQ(LineStarting(text, "First Ensemble"), "First Ensemble 00000001 06/25 10:00:10.00");
    EXPECT_EQ(LineStarting(text, "Last  Ensemble"), "Last  Ensemble 00000005 06/25 10:00:50.00");
}

TEST(FileStats, BroadbandIsTriedFirstAndTheFileIsLeftAtItsStart) {
    auto nb = BuildNarrowband(NarrowbandSpec{});
    auto bb = BuildBroadband(BroadbandSpec{});
    std::vector<uint8_t> both = nb;
    both.insert(both.end(), bb.begin(), bb.end());
    EnsembleFrame frame;
    EnsembleFile file;
    ASSERT_TRUE(file.Open(WriteFile(both)));
    file.Seek(500);
    EXPECT_EQ(Determine_File_Data_Structure(file, frame, {}), kBroadband);
    EXPECT_EQ(file.NextPosition(), 1);
    ASSERT_TRUE(file.Open(WriteFile(nb, "nb.000")));
    EXPECT_EQ(Determine_File_Data_Structure(file, frame, {}), kNarrowband);
    EXPECT_EQ(file.NextPosition(), 1);
}

// The real recordings; the facts are those listed with the files. Ensemble lengths are
// (file size - trailing bytes) / ensembles, e.g. (1000000 - 99) / 1721 = 581.
TEST(FileStatsRealFiles, LengthsFirstBinsAndLastEnsembles) {
    struct Case {
        const char* file;
        const char* length;
        const char* bin;
        const char* last;
        int32_t lastNumber;
    };
    const Case cases[] = {
        {"up600_beam_9ens.000", "1834", "2.23 m, Bin Size 0.50", "00000009 08/06/25 10:01:20.00", 9},
        // 22 x 874 = 19228 < 20000: extra data; the cut-off 23rd ensemble is not counted (the
        // arithmetic's round(20000 / 874) = 23 would be).
        {"up600_beam_truncated.000", "874", "2.00 m, Bin Size 0.50",
         "00000022 11/02/10 18:00:10.50 Extra Data in File", 22},
        // round(1000000 / 581) = round(1721.17) keeps 1721.
        {"down600_earth_bt.000", "581", "-2.09 m, Bin Size 1.00",
         "00001721 17/05/24 12:33:13.40 Extra Data in File", 1721},
        {"SHIP300_000001.ENX", "808", "-2.42 m, Bin Size 0.50",
         "00003713 20/08/19 07:58:58.02 Extra Data in File", 3713},
    };
    for (const Case& c : cases) {
        SKIP_WITHOUT_DATA_FILE(c.file);
        SCOPED_TRACE(c.file);
        auto s = RunStats({DataFile(c.file)});
        ASSERT_TRUE(s->ok);
        const std::string& text = s->state.Set.StatsText;
        EXPECT_EQ(LineStarting(text, "BB/LX"), std::string("BB/LX Ensemble Length ") + c.length + " bytes");
        EXPECT_EQ(LineStarting(text, "1st Bin"), std::string("1st Bin ") + c.bin + " m");
        EXPECT_EQ(LineStarting(text, "Last  Ensemble"), std::string("Last  Ensemble ") + c.last);
        EXPECT_EQ(s->state.Set.LastEnsNumber, c.lastNumber);
    }
}
