#include "ensemble/FileDetails.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/EnsembleLayout.h"
#include "ensemble/LayoutCheck.h"
#include "simulator/EnsembleEncoder.h"
#include "simulator/Simulator.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace mvx;

namespace {

EnsembleContents SmallEnsemble(uint32_t number, int cells = 4) {
    EnsembleContents c;
    c.Fixed.NumCells = static_cast<uint8_t>(cells);
    c.Variable.EnsembleNumber = number;
    c.Variable.Year = 21;
    c.Variable.Month = 3;
    c.Variable.Day = 4;
    c.Variable.Hour = 5;
    c.Variable.Minute = number % 60;
    c.Velocity.assign(cells, {10, 20, 30, 40});
    c.Correlation.assign(cells, {100, 100, 100, 100});
    c.Echo.assign(cells, {80, 80, 80, 80});
    c.PercentGood.assign(cells, {0, 0, 0, 100});
    return c;
}

std::string WriteEnsembles(const std::vector<std::vector<uint8_t>>& ensembles) {
    std::vector<uint8_t> bytes;
    for (const auto& e : ensembles) bytes.insert(bytes.end(), e.begin(), e.end());
    auto path = test::ScratchDir() / "details.000";
    test::WriteAll(path, bytes);
    return path.string();
}

std::string WriteNumbered(const std::vector<uint32_t>& numbers) {
    std::vector<std::vector<uint8_t>> ensembles;
    for (uint32_t n : numbers) ensembles.push_back(EncodeBroadband(SmallEnsemble(n)));
    return WriteEnsembles(ensembles);
}

bool HasLine(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos || text.rfind(line + "\r\n", 0) == 0;
}

} // namespace

TEST(FileDetails, ScanCountsRepeatsMissingAndResets) {
    FileDetailsResult r;
    ASSERT_TRUE(Show_File_Details(WriteNumbered({1, 2, 2, 3, 7, 1, 2}), InstrumentSetup{}, r));
    EXPECT_EQ(r.Stats.First, 1);
    EXPECT_EQ(r.Stats.Repeats, 1);
    EXPECT_EQ(r.Stats.Missing, 3);
    EXPECT_EQ(r.Stats.Resets, 1);
    EXPECT_EQ(r.Stats.Last, 2);
    EXPECT_EQ(r.Stats.WrongSize, 0);
}

TEST(FileDetails, AnEnsembleOf8258BytesIsNotWrongSizeButSetsThePrevious) {
    // 8258 bytes in all: N = 8256. Cells of 8 + 4 + 4 + 4 bytes = 20 bytes each, plus padding.
    EnsembleContents big = SmallEnsemble(10, 4);
    const size_t plain = EncodeBroadband(big).size();
    big.PadBytes = 8258 - plain;
    std::vector<uint8_t> bigBytes = EncodeBroadband(big);
    ASSERT_EQ(bigBytes.size(), 8258u);
    // Shorter than the others, and too short for the eight cells its own fixed leader announces.
    EnsembleContents odd = SmallEnsemble(20, 3);
    odd.Fixed.NumCells = 8;
    const std::string path =
        WriteEnsembles({EncodeBroadband(SmallEnsemble(1)), EncodeBroadband(SmallEnsemble(2)), bigBytes,
                        EncodeBroadband(SmallEnsemble(11)), EncodeBroadband(odd),
                        EncodeBroadband(SmallEnsemble(3)), EncodeBroadband(SmallEnsemble(4))});
    FileDetailsResult r;
    ASSERT_TRUE(Show_File_Details(path, InstrumentSetup{}, r));
    // Ensemble 10 (8258 bytes) is skipped silently, yet 11 follows it in sequence; the cut-short 20
    // counts as wrong size and makes 3 a reset.
    EXPECT_EQ(r.Stats.WrongSize, 1);
    EXPECT_EQ(r.Stats.Missing, 0);
    EXPECT_EQ(r.Stats.Resets, 1);
    EXPECT_EQ(r.Stats.Last, 4);
}

TEST(FileDetails, BroadbandSetUpLinesAndSignAlignment) {
    EnsembleContents first = SmallEnsemble(1);
    first.Fixed.HeadingAlignment = -150;
    first.Fixed.HeadingBias = 150;
    first.Fixed.SensorSource = 0x7D;
    first.Fixed.CoordTransform = 0x1F;
    first.Fixed.FirmwareVersion = 16;
    first.Fixed.FirmwareRevision = 105;
    first.Fixed.SystemConfig = 0x4201 | 0x80; // 153.6 kHz, up, 30 degrees
    const std::string path = WriteEnsembles({EncodeBroadband(first), EncodeBroadband(SmallEnsemble(2))});
    FileDetailsResult r;
    ASSERT_TRUE(Show_File_Details(path, InstrumentSetup{}, r));
    const std::string& t = r.Text;
    EXPECT_TRUE(HasLine(t, "Head Align  (EA) -1.50 degrees")) << t;
    EXPECT_TRUE(HasLine(t, "Head Bias   (EB)  1.50 degrees"));
    EXPECT_TRUE(HasLine(t, "Sens Source (EZ) 1111101 cdhprst"));
    EXPECT_TRUE(HasLine(
        t, "Coord Xform (EX) 11111 Earth Coordinates Using Tilts, 3 Beam Solutions, and Bin Mapping"));
    EXPECT_TRUE(HasLine(t, "Firmware Version 16.05"));
    EXPECT_TRUE(HasLine(t, "System Frequency 153.6 kHz"));
    EXPECT_TRUE(HasLine(t, "Orientation UP"));
    EXPECT_TRUE(HasLine(t, "Data Types 0000 0080 0100 0200 0300 0400"));
    EXPECT_TRUE(HasLine(t, "Last  Ensemble 00000002 21/03/04 05:02:00.00"));
    EXPECT_TRUE(HasLine(t, "Extra Data in File 0 bytes"));
}

TEST(FileDetails, NarrowbandReportOmitsTheYear) {
    std::vector<std::vector<uint8_t>> ensembles;
    for (uint32_t n = 7; n <= 9; ++n) {
        EnsembleContents c = SmallEnsemble(n);
        c.Narrowband.ConfigByte = 0x9E; // frequency code 1, concave, down, earth, low range
        c.Fixed.PingsPerEnsemble = 100;
        c.Variable.Month = 0x0C; // encoded as BCD by the encoder from plain values
        for (auto& cell : c.Velocity) cell = {100, 200, 300, 400};
        ensembles.push_back(EncodeNarrowband(c));
    }
    FileDetailsResult r;
    ASSERT_TRUE(Show_File_Details(WriteEnsembles(ensembles), InstrumentSetup{}, r));
    const std::string& t = r.Text;
    EXPECT_TRUE(HasLine(t, "Data Structure NarrowBand")) << t;
    EXPECT_TRUE(HasLine(t, "System Frequency 153.6 kHz"));
    EXPECT_TRUE(HasLine(t, "Orientation Down"));
    EXPECT_TRUE(HasLine(t, "First Ensemble 00000007 12/04 05:07:00.00"));
    EXPECT_EQ(t.find("NVRAM"), std::string::npos);
    EXPECT_EQ(r.Stats.Last, 9);
}

TEST(FileDetails, UnknownFileAndMissingFile) {
    auto path = test::ScratchDir() / "noise.bin";
    test::WriteAll(path, std::vector<uint8_t>(3000, 0x11));
    FileDetailsResult r;
    ASSERT_TRUE(Show_File_Details(path.string(), InstrumentSetup{}, r));
    EXPECT_EQ(r.Text, "File Size 3,000 bytes\r\nData Structure Unknown \r\n");
    EXPECT_FALSE(Show_File_Details((test::ScratchDir() / "absent.000").string(), InstrumentSetup{}, r));
    EXPECT_EQ(r.Text, "Invalid File");
}

// The six statistics of the real files, against the ensemble facts recorded with them.
TEST(FileDetails, RealFilesStatistics) {
    struct Case {
        const char* name;
        int32_t last;
        int64_t extra;
    };
    const Case cases[] = {{"up600_beam_9ens.000", 9, 0},
                          {"up600_beam_truncated.000", 22, 772},
                          {"down600_earth_bt.000", 1721, 99},
                          {"SHIP300_000001.ENX", 3713, 216}};
    for (const auto& c : cases) {
        SKIP_WITHOUT_DATA_FILE(c.name);
        FileDetailsResult r;
        ASSERT_TRUE(Show_File_Details(test::DataFile(c.name), InstrumentSetup{}, r)) << c.name;
        EXPECT_EQ(r.Stats.First, 1) << c.name;
        EXPECT_EQ(r.Stats.Last, c.last) << c.name;
        EXPECT_EQ(r.Stats.Missing + r.Stats.Repeats + r.Stats.Resets + r.Stats.WrongSize, 0) << c.name;
        EXPECT_NE(r.Text.find("Extra Data in File " + std::to_string(c.extra) + " bytes"), std::string::npos)
            << c.name;
    }
}

TEST(FileDetails, ProgressFalseStopsTheScanWhereItIs) {
    const std::string path = WriteNumbered({1, 2, 3, 4, 5, 6});
    for (int allowed : {0, 3, 100}) {
        std::vector<double> seen;
        ProgressSink progress;
        progress.Value = [&](double value) {
            seen.push_back(value);
            return static_cast<int>(seen.size()) <= allowed;
        };
        FileDetailsResult r;
        ASSERT_TRUE(Show_File_Details(path, InstrumentSetup{}, r, {}, {}, progress));
        EXPECT_EQ(r.Stopped, allowed < 6) << allowed;
        // Each ensemble let through is counted; the first is at the start of the file.
        EXPECT_EQ(r.Stats.Last, std::min(allowed, 6)) << allowed;
        ASSERT_FALSE(seen.empty());
        EXPECT_LT(seen.front(), 1.0);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_LE(seen.back(), 100.0);
    }
}

// An ensemble is wrong size only when it is too short for what its own header describes.
TEST(FileDetails, AnEnsembleHoldsItsLayoutUnlessCutShort) {
    auto frameOf = [](std::vector<uint8_t> bytes) {
        EnsembleFrame f;
        f.EnsembleBytes = static_cast<int32_t>(bytes.size()) - 2;
        f.EnsembleBuffer = std::move(bytes);
        return f;
    };
    EnsembleContents padded = SmallEnsemble(1), announced = SmallEnsemble(1, 3);
    padded.PadBytes = 40;
    announced.Fixed.NumCells = 8; // arrays of three cells
    std::vector<uint8_t> pastEnd = EncodeBroadband(SmallEnsemble(1));
    pastEnd[broadband::kOffsetTable + 2] = 0xF0; // the second data type past the end
    pastEnd[broadband::kOffsetTable + 3] = 0xFF;
    std::vector<uint8_t> narrow = EncodeNarrowband(SmallEnsemble(1)), narrowOver = narrow;
    narrowOver[narrowband::kBlockLengths + 2] += 1; // the velocity block 256 bytes longer
    const struct {
        const char* name;
        int32_t structure;
        std::vector<uint8_t> bytes;
        bool holds;
    } cases[] = {
        {"whole", kBroadband, EncodeBroadband(SmallEnsemble(1)), true},
        {"spare bytes at the end", kBroadband, EncodeBroadband(padded), true},
        {"fewer cells than announced", kBroadband, EncodeBroadband(announced), false},
        {"a data type past the end", kBroadband, pastEnd, false},
        {"narrowband whole", kNarrowband, narrow, true},
        {"narrowband blocks past the end", kNarrowband, narrowOver, false},
    };
    for (const auto& c : cases) EXPECT_EQ(Holds_Its_Layout(c.structure, frameOf(c.bytes)), c.holds) << c.name;
}

// A file of varying ensembles is indexed before the scan: the pass takes the first half of the progress,
// and a pass stopped at once ends the report after the first ensemble.
TEST(FileDetails, TheIndexPassOfAVaryingFileReportsProgressAndCanBeStopped) {
    SimulationSpec spec;
    spec.Ensembles = 30;
    spec.CellsVary = 5;
    const std::string path = (test::ScratchDir() / "varying-details.000").string();
    std::filesystem::remove(path);
    ASSERT_TRUE(WriteSimulatedFile(spec, path, nullptr));
    for (const bool stop : {true, false}) {
        std::vector<double> seen;
        ProgressSink progress;
        progress.Value = [&](double value) {
            seen.push_back(value);
            return !stop;
        };
        FileDetailsResult r;
        ASSERT_TRUE(Show_File_Details(path, InstrumentSetup{}, r, {}, {}, progress));
        EXPECT_EQ(r.Stopped, stop);
        EXPECT_EQ(r.Text.find("Last  Ensemble") == std::string::npos, stop);
        EXPECT_EQ(r.Stats.Last, stop ? 0 : 30);
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_LE(seen.back(), stop ? 0.0 : 100.0);
        if (!stop) EXPECT_GE(seen.back(), 50.0);
    }
}
