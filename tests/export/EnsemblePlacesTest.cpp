// Files whose ensembles do not sit where the first one's length puts them (varying lengths, records
// between them, a longer first one, junk after the last): loads, exports, saved sets and statistics
// must find each ensemble at its own place. The reference is the simulated instrument's own bytes of
// each ensemble, decoded on their own.
#include "ExportFixture.h"

#include "common/NumberFormat.h"
#include "dataset/SaveSet.h"
#include "ensemble/Decoder.h"
#include "ensemble/FileDetails.h"
#include "export/ExportData.h"
#include "export/TextExport.h"
#include "simulator/Simulator.h"

#include <random>

namespace mvx::test {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kEnsembles = 150;

// The file's bytes in pieces: piece k is ensemble k + 1 followed by whatever the instrument wrote
// after it.
struct Recording {
    std::vector<std::vector<uint8_t>> Pieces;
    std::vector<uint8_t> Ensemble(int32_t number) const {
        const std::vector<uint8_t>& p = Pieces[static_cast<size_t>(number - 1)];
        const size_t n = static_cast<size_t>(p[2] | p[3] << 8);
        return std::vector<uint8_t>(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(n + 2));
    }
};

Recording Record(const SimulationSpec& spec) {
    Recording r;
    Simulator sim(spec);
    for (std::vector<uint8_t> piece; sim.Next(piece); piece.clear()) r.Pieces.push_back(piece);
    return r;
}

// Writes the pieces but ensembles dropFrom..dropTo into a scratch file, or over `over`.
fs::path WritePieces(const Recording& r, const std::string& name, int32_t dropFrom = 0, int32_t dropTo = -1,
                     size_t junk = 0, const fs::path& over = {}) {
    std::vector<uint8_t> bytes;
    for (int32_t e = 1; e <= static_cast<int32_t>(r.Pieces.size()); ++e)
        if (e < dropFrom || e > dropTo)
            bytes.insert(bytes.end(), r.Pieces[e - 1].begin(), r.Pieces[e - 1].end());
    std::mt19937 random(7);
    for (size_t k = 0; k < junk; ++k) bytes.push_back(static_cast<uint8_t>(random()));
    const fs::path path = over.empty() ? ScratchDir() / name : over;
    WriteAll(path, bytes);
    return path;
}

// The ensemble decoded from its own bytes.
struct Decoded {
    InstrumentSetup Setup;
    EnsembleSet Data;
};
Decoded Decode(const Recording& r, int32_t number) {
    EnsembleFrame frame;
    frame.EnsembleBuffer = r.Ensemble(number);
    frame.EnsembleBytes = static_cast<int32_t>(frame.EnsembleBuffer.size()) - 2;
    Decoded d;
    Allocate_Ensemble_Set(d.Data, 1);
    bool valid = true;
    Decode_Ensemble(kBroadband, frame, d.Setup, d.Data, 0, DecodeSettings{}, valid);
    return d;
}

struct Kind {
    const char* name;
    int32_t textVary, cellsVary, firstExtra, between;
    size_t junk; // random bytes after the last ensemble
};

SimulationSpec SpecOf(const Kind& k) {
    SimulationSpec spec;
    spec.Ensembles = kEnsembles;
    spec.Cells = 24;
    spec.IntervalSeconds = 1.37;
    spec.TextVary = k.textVary;
    spec.CellsVary = k.cellsVary;
    spec.FirstExtraBytes = k.firstExtra;
    spec.RecordsBetween = k.between;
    return spec;
}

const Kind kKinds[] = {
    {"varying text and cell counts", 700, 9, 0, 0, 0},
    {"other records between", 0, 0, 0, 612, 0},
    {"longer first ensemble", 0, 0, 1200, 0, 0},
    {"4 MiB of junk after the last", 0, 0, 0, 0, 4u << 20},
};

TEST(EnsemblePlaces, ExportsSavedSetsAndSubSetsFindEachEnsembleAtItsPlace) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const Recording r = Record(SpecOf(kind));
        ASSERT_EQ(r.Pieces.size(), static_cast<size_t>(kEnsembles));
        LoadedFile f;
        f.Path = WritePieces(r, "PLACES.000", 0, -1, kind.junk);
        OpenFile(f);
        if (HasFatalFailure()) return;
        CoreState& s = f.State;
        EXPECT_FALSE(s.Set.Index.Empty());
        EXPECT_EQ(s.Set.FileLastEnsemble, kEnsembles);
        EXPECT_EQ(s.Set.StatsText.find("Missing"), std::string::npos);

        // A contour export of 100..110: each ensemble once, in order, with its own values.
        ExportSelection sel;
        sel.ContourType = 0; // beam 1 echo
        sel.Bins[0].Select(1);
        sel.ContourEnsembles = {"100", "110", "1"};
        const std::vector<std::string> lines = CrLfLines(WriteToString(s, sel, Write_Contour_Text));
        ASSERT_GE(lines.size(), 11u);
        for (int32_t e = 100; e <= 110; ++e) {
            const std::vector<std::string> cells =
                Cells(lines[lines.size() - 11 + static_cast<size_t>(e - 100)]);
            ASSERT_EQ(cells.size(), 10u); // number, seven time fields, an empty one, the value
            // Bin 1 is the cell the export maps it to with the cell count of the range's first ensemble;
            // beam 1 echo is a value no processing changes.
            const int cell = exportdata::BinIndex(s.Set.OrientationBalance, Decode(r, 100).Setup.NumCells, 1);
            const Decoded own = Decode(r, e);
            const int time = own.Data.EnsTimes(5, 0) * 100 + own.Data.EnsTimes(6, 0);
            const int echo = own.Data.IntensityData(0, cell, 0);
            EXPECT_EQ(cells[0], std::to_string(e));
            EXPECT_EQ(std::stoi(cells[6]) * 100 + std::stoi(cells[7]), time) << e;
            EXPECT_EQ(std::stoi(cells[9]), echo) << e;
        }

        // A sub set by number starts at it; saving it copies exactly its ensembles, each whole.
        ASSERT_TRUE(Read_File_Selection(s, 77, 90, false));
        EXPECT_EQ(s.Set.FirstEnsNumber, 77);
        EXPECT_EQ(s.Set.LastEnsNumber, 90);
        ASSERT_EQ(s.Set.CurrentEnsIndex, 14);
        EXPECT_EQ(s.Data.EnsNumbers[13], 90);
        const fs::path saved = ScratchDir() / "SAVED.000";
        ASSERT_EQ(Save_Ensemble_Range(s.Set, s.Frame.EnsembleBytes, 77, 90, saved.string()),
                  SaveSetResult::Saved);
        std::vector<uint8_t> expected;
        for (int32_t e = 77; e <= 90; ++e) {
            const std::vector<uint8_t> own = r.Ensemble(e);
            expected.insert(expected.end(), own.begin(), own.end());
        }
        const std::string copy = ReadText(saved);
        EXPECT_TRUE(copy == std::string(expected.begin(), expected.end()));
        fs::remove(saved);
    }
}

TEST(EnsemblePlaces, MissingEnsemblesAreCountedFromTheNumbers) {
    struct Case {
        int32_t dropFrom, dropTo;
        const char* remark;
    };
    const Recording r = Record(SpecOf(kKinds[0]));
    for (const Case c :
         {Case{0, -1, ""}, Case{41, 50, " Missing Ensembles  10"}, Case{7, 7, " Missing Ensembles  1"}}) {
        SCOPED_TRACE(c.dropFrom);
        LoadedFile f;
        f.Path = WritePieces(r, "MISSING.000", c.dropFrom, c.dropTo);
        OpenFile(f);
        const std::string& text = f.State.Set.StatsText;
        const size_t at = text.find("Last  Ensemble 00000150");
        ASSERT_NE(at, std::string::npos);
        const size_t end = text.find("\r\n", at);
        EXPECT_EQ(text.substr(at + 44, end - at - 44), c.remark);
        // A range over the gap takes the ensembles that are there.
        ASSERT_TRUE(Read_File_Selection(f.State, 38, 53, false));
        EXPECT_EQ(f.State.Set.CurrentEnsIndex, c.dropFrom == 41 ? 6 : 16);
        EXPECT_EQ(f.State.Set.LastEnsNumber, 53);
        // Saving that range copies those, and no ensemble past it.
        uintmax_t bytes = 0;
        for (int32_t e = 38; e <= 53; ++e)
            if (e < c.dropFrom || e > c.dropTo) bytes += r.Ensemble(e).size();
        const fs::path saved = ScratchDir() / "GAPSAVED.000";
        fs::remove(saved);
        ASSERT_EQ(Save_Ensemble_Range(f.State.Set, f.State.Frame.EnsembleBytes, 38, 53, saved.string()),
                  SaveSetResult::Saved);
        EXPECT_EQ(fs::file_size(saved), bytes);
    }
}

// The file-details report sees the ensembles the statistics see: its first, last and missing counts
// are theirs, its last line is theirs, and no whole ensemble of another length is wrong size.
TEST(EnsemblePlaces, FileDetailsAgreeWithTheStatistics) {
    struct Case {
        int kind;
        int32_t dropFrom, dropTo;
        uintmax_t cut; // bytes cut off the file's end
        int64_t extra; // "Extra Data in File": bytes outside the ensembles (-1: the cut-off one's)
        int32_t last, missing;
    };
    const int64_t between = 612 * (kEnsembles - 1), kUnchecked = INT64_MIN;
    for (const Case c :
         {Case{0, 0, -1, 0, 0, kEnsembles, 0}, Case{1, 0, -1, 0, between, kEnsembles, 0},
          Case{2, 0, -1, 0, 0, kEnsembles, 0}, Case{3, 0, -1, 0, 4 << 20, kEnsembles, 0},
          Case{0, 41, 50, 0, kUnchecked, kEnsembles, 10}, Case{0, 0, -1, 100, -1, kEnsembles - 1, 0}}) {
        SCOPED_TRACE(std::string(kKinds[c.kind].name) + " " + std::to_string(c.dropFrom) + " cut " +
                     std::to_string(c.cut));
        const Recording r = Record(SpecOf(kKinds[c.kind]));
        LoadedFile f;
        f.Path = WritePieces(r, "DETAILS.000", c.dropFrom, c.dropTo, kKinds[c.kind].junk);
        const uintmax_t size = fs::file_size(f.Path);
        fs::resize_file(f.Path, size - c.cut);
        OpenFile(f);
        if (HasFatalFailure()) return;
        const SetDescriptors& set = f.State.Set;
        FileDetailsResult d;
        ASSERT_TRUE(Show_File_Details(f.Path.string(), InstrumentSetup{}, d));
        const EnsembleStatistics& st = d.Stats;
        EXPECT_EQ(st.First, set.FileFirstEnsemble);
        EXPECT_EQ(st.Last, set.FileLastEnsemble);
        EXPECT_EQ(st.Last, c.last);
        EXPECT_EQ(st.Missing, Missing_Ensembles(set.Index));
        EXPECT_EQ(st.Missing, c.missing);
        EXPECT_EQ(st.Repeats + st.Resets + st.WrongSize, 0);
        const size_t at = set.StatsText.find("Last  Ensemble "), line = 15 + 8 + 1 + 20;
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(d.Text.find(set.StatsText.substr(at, line) + "\r\n"), std::string::npos) << d.Text;
        if (c.extra == kUnchecked) continue;
        // A cut-off last ensemble is extra data: the bytes of it that are left.
        const int64_t extra = c.extra >= 0 ? c.extra : static_cast<int64_t>(r.Pieces.back().size() - c.cut);
        EXPECT_NE(d.Text.find("Extra Data in File " +
                              FormatNumber(static_cast<double>(extra), "###,###,###,##0") + " bytes"),
                  std::string::npos);
    }
}

TEST(EnsemblePlaces, ACutOffLastEnsembleEndsTheRanges) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_truncated.000");
    LoadedFile f;
    f.Path = DataFile("up600_beam_truncated.000");
    OpenFile(f);
    EXPECT_EQ(f.State.Set.FileLastEnsemble, 22);
    ExportSelection sel;
    sel.SeriesTypes[0] = true;
    sel.Bins[2].Select(1);
    sel.SeriesEnsembles = {"1", "99", "1"};
    const std::vector<std::string> lines = CrLfLines(WriteToString(f.State, sel, Write_Series_Text));
    EXPECT_EQ(sel.SeriesEnsembles[1], "22");
    ASSERT_GE(lines.size(), 23u);
    EXPECT_EQ(Cells(lines[lines.size() - 2])[0], "22");
    EXPECT_EQ(Cells(lines[lines.size() - 23])[0], "1");
}

TEST(EnsemblePlaces, FilesOfOneLengthKeepTheArithmetic) {
    for (const char* name : {"up600_beam_9ens.000", "down600_earth_bt.000", "SHIP300_000001.ENX"}) {
        SCOPED_TRACE(name);
        if (!HaveDataFile(name)) continue;
        LoadedFile f;
        f.Path = DataFile(name);
        OpenFile(f);
        EXPECT_TRUE(f.State.Set.Index.Empty());
    }
    SimulationSpec spec;
    spec.Ensembles = 300;
    spec.DamageEvery = 17;
    LoadedFile f;
    f.Path = ScratchDir() / "ONELENGTH.000";
    std::string error;
    ASSERT_TRUE(WriteSimulatedFile(spec, f.Path.string(), &error)) << error;
    OpenFile(f);
    EXPECT_TRUE(f.State.Set.Index.Empty());
}

TEST(EnsemblePlaces, MonitorModeExtendsTheIndexAndAStoppedPassRefusesTheFile) {
    const Recording r = Record(SpecOf(kKinds[0]));
    const fs::path path = WritePieces(r, "GROWING.000", 101, kEnsembles);
    CoreState s;
    s.Menus.MonitorOn = true;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    ASSERT_EQ(s.Set.Index.Count(), 100u);
    const int64_t before = static_cast<int64_t>(fs::file_size(path));
    WritePieces(r, "", 0, -1, 0, path);
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    EXPECT_EQ(s.Set.Index.Count(), static_cast<size_t>(kEnsembles));
    EXPECT_EQ(s.Set.FileLastEnsemble, kEnsembles);
    // Only the bytes added since were read.
    EXPECT_EQ(s.Set.Index.ScannedBytes, static_cast<int64_t>(fs::file_size(path)) - before);
    EXPECT_EQ(s.Set.LastEnsNumber, kEnsembles);

    CoreState stopped;
    stopped.Progress.Value = [](double) { return false; };
    const OpenReport report = Load_Whole_Set(stopped, path.string());
    EXPECT_FALSE(report.Loaded());
    EXPECT_EQ(report.Stats.Refusal, LoadRefusal::Stopped);
}

} // namespace
} // namespace mvx::test
