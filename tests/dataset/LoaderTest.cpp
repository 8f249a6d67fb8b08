// Loading the whole set and sub sets: decimation, positions, numbered and acquisition file sets,
// damaged files.
#include "TestEnsembles.h"
#include "TestSupport.h"

#include "dataset/Loader.h"
#include "model/CoreState.h"
#include "simulator/Simulator.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace mvx;
using namespace mvx::test;

namespace {

BroadbandSpec Spec1002() {
    BroadbandSpec spec;
    spec.TargetBytes = 1000;
    return spec;
}

std::string WriteRun(int32_t first, int32_t last, const std::string& name = "RUN.000",
                     const fs::path& dir = ScratchDir()) {
    const fs::path path = dir / name;
    WriteAll(path, BuildBroadbandRun(Spec1002(), first, last));
    return path.string();
}

// Ensembles 1..before, the gap's bytes, ensembles before + 1..last.
std::string WriteRunWithGap(int32_t before, const std::vector<uint8_t>& gap, int32_t last) {
    std::vector<uint8_t> bytes = BuildBroadbandRun(Spec1002(), 1, before);
    const auto rest = BuildBroadbandRun(Spec1002(), before + 1, last);
    bytes.insert(bytes.end(), gap.begin(), gap.end());
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    const fs::path path = ScratchDir() / "GAP.000";
    WriteAll(path, bytes);
    return path.string();
}

// Members named RUN.000, RUN.001, ... holding the given ranges of ensemble numbers.
fs::path MakeNumberedSet(const std::vector<std::pair<int32_t, int32_t>>& ranges) {
    const fs::path dir = ScratchDir();
    for (size_t m = 0; m < ranges.size(); ++m)
        WriteRun(ranges[m].first, ranges[m].second, "RUN.00" + std::to_string(m), dir);
    return dir;
}

// The builder marks every ensemble by a heading of its number x 10 (0.01 deg).
int32_t LoadedNumber(const CoreState& s, int slot) {
    return s.Data.AncData(2, slot) / 10;
}
int32_t WholeNumber(const CoreState& s, int slot) {
    return s.Data.Whole.AncData(2, slot) / 10;
}

struct ProgressLog {
    std::vector<std::string> captions;
    int hides = 0;
    void Attach(CoreState& s) {
        s.Progress.Show = [this](const std::string& c) { captions.push_back(c); };
        s.Progress.Hide = [this] { ++hides; };
    }
};

} // namespace

TEST(WholeSet, ThousandEnsemblesAreDecimatedToEveryFourth) {
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 1000)));
    // (1000 - 1 + 1) \ 256 = 3 skipped after each stored one; the load stops once 997 + 3 reaches 1000.
    EXPECT_EQ(s.Set.WholeSetStep, 3);
    ASSERT_EQ(s.Set.WholeEnsCount, 250);
    for (int i = 0; i < 250; ++i) ASSERT_EQ(WholeNumber(s, i), 1 + 4 * i) << "slot " << i;
    EXPECT_EQ(s.Set.OrientationBalance, -250);       // up-looking ensembles count -1 each
    EXPECT_DOUBLE_EQ(s.Set.WholeSetDuration, 996.0); // between ensembles 1 and 997
    // Then the first sub set: ensembles 1..256 in slots 0..255.
    EXPECT_EQ(s.Set.CurrentEnsIndex, 256);
    EXPECT_EQ(LoadedNumber(s, 255), 256);
    EXPECT_DOUBLE_EQ(s.Set.SetDuration, 255.0);
}

TEST(WholeSet, SkipLengthIsSetByTheFirstStoredEnsemble) {
    // Ensembles 1..1000 of 1002 bytes, except ensemble 5 of 3002 bytes (1,004,000 bytes in all).
    // The statistics take 1000 as the last and, finding extra data, estimate round(1004000 / 1002) =
    // 1002, so the step is 1002 \ 256 = 3. The skip after each stored ensemble is 3 x 1002 bytes, fixed
    // by ensemble 1: after the long ensemble 5 it lands on ensemble 9 (3 x 3002 bytes would reach 15).
    BroadbandSpec longOne = Spec1002();
    longOne.TargetBytes = 3000;
    std::vector<uint8_t> bytes = BuildBroadbandRun(Spec1002(), 1, 4);
    const auto five = BuildBroadbandRun(longOne, 5, 5);
    const auto rest = BuildBroadbandRun(Spec1002(), 6, 1000);
    bytes.insert(bytes.end(), five.begin(), five.end());
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    ASSERT_EQ(bytes.size(), 1004000u);
    const fs::path path = ScratchDir() / "LONG.000";
    WriteAll(path, bytes);

    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    EXPECT_EQ(s.Set.WholeSetStep, 3);
    ASSERT_GE(s.Set.WholeEnsCount, 5);
    const int32_t expected[] = {1, 5, 9, 13, 17};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(WholeNumber(s, i), expected[i]) << "slot " << i;
}

TEST(WholeSet, HooksRunOnceEachAndProgressCaptionsFollowTheMenus) {
    const std::string path = WriteRun(1, 300);
    CoreState s;
    ProgressLog log;
    log.Attach(s);
    int whole = 0, sub = 0;
    LoadHooks hooks;
    hooks.WholeSetLoaded = [&](CoreState& st) {
        ++whole;
        EXPECT_EQ(st.Set.WholeEnsCount, 150); // 300 \ 256 = 1: every second ensemble
    };
    hooks.SubSetLoaded = [&](CoreState&) { ++sub; };
    ASSERT_TRUE(Load_Whole_Set(s, path, hooks));
    EXPECT_EQ(whole, 1);
    EXPECT_EQ(sub, 1);
    EXPECT_EQ(log.captions, (std::vector<std::string>{"Loading Whole Set...", "Loading Sub Set..."}));
    EXPECT_EQ(log.hides, 2);
    // While the profile animates, a sub set loads without a progress window.
    log.captions.clear();
    s.Menus.AnimateProfileGo = true;
    ASSERT_TRUE(Read_File_Selection(s, 5, 10, true));
    EXPECT_TRUE(log.captions.empty());
}

TEST(WholeSet, MonitorModeLoadsTheNewestEnsemblesWithoutProgress) {
    CoreState s;
    s.Menus.MonitorOn = true;
    ProgressLog log;
    log.Attach(s);
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 1000)));
    EXPECT_TRUE(log.captions.empty());
    EXPECT_EQ(s.Set.FirstEnsNumber, 745); // max(1000 - 256 + 1, 1)
    EXPECT_EQ(s.Set.ProfileEnsNumber, 1000);
    EXPECT_EQ(LoadedNumber(s, 0), 745);
}

TEST(WholeSet, FilesWithoutEnoughEnsemblesAreNotLoaded) {
    const fs::path junk = ScratchDir() / "junk.000";
    WriteAll(junk, std::vector<uint8_t>(5000, 0x42));
    CoreState s;
    int hooksRun = 0;
    LoadHooks hooks;
    hooks.WholeSetLoaded = [&](CoreState&) { ++hooksRun; };
    const OpenReport junkReport = Load_Whole_Set(s, junk.string(), hooks);
    EXPECT_FALSE(junkReport.Loaded());
    EXPECT_EQ(junkReport.WholeSet.Refusal, LoadRefusal::NotEnoughValid);
    EXPECT_EQ(hooksRun, 0);
    EXPECT_NE(s.Set.StatsText.find("Not enough VALID ensembles"), std::string::npos);
    // Reopening onto a one-ensemble file: the arrays were sized for it, so the old load is gone too.
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 50)));
    const OpenReport one = Load_Whole_Set(s, WriteRun(1, 1, "ONE.000"));
    EXPECT_EQ(one.WholeSet.Refusal, LoadRefusal::TooFewStored);
    EXPECT_EQ(one.WholeSet.Stored, 1);
    EXPECT_FALSE(s.Set.FileValid);
    EXPECT_EQ(s.Set.CurrentEnsIndex, 1);
    EXPECT_EQ(Load_Whole_Set(s, (ScratchDir() / "none.000").string()).WholeSet.Refusal,
              LoadRefusal::Unreadable);
}

TEST(WholeSet, EveryWholeSetArrayHoldsWhatTheLoadedSetHolds) {
    // 40 ensembles fit the whole set without thinning, and the first sub set loads the same 40: every
    // array of the copy must read back equal to the loaded set, row by row and bin by bin.
    SimulationSpec spec;
    spec.Ensembles = 40;
    spec.Cells = 12;
    spec.Navigation = true;
    spec.TextBlock = true;
    const fs::path path = ScratchDir() / "ALL.000";
    std::string error;
    ASSERT_TRUE(WriteSimulatedFile(spec, path.string(), &error)) << error;
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    ASSERT_EQ(s.Set.WholeEnsCount, 40);
    ASSERT_EQ(s.Set.CurrentEnsIndex, 40);
    const EnsembleSet& whole = s.Data.Whole;
    const EnsembleSet& loaded = s.Data;
    // The simulated file fills every one of these arrays, so a copy that leaves out a row shows.
    auto same = [](const char* name, const auto& w, const auto& l) {
        using T = std::decay_t<decltype(*l.SlotData(0))>;
        ASSERT_EQ(w.SlotSize(), l.SlotSize()) << name;
        ASSERT_GE(w.Slots(), 40) << name;
        bool anyValue = false;
        for (int slot = 0; slot < 40; ++slot)
            for (size_t i = 0; i < l.SlotSize(); ++i) {
                ASSERT_EQ(w.SlotData(slot)[i], l.SlotData(slot)[i])
                    << name << " slot " << slot << " at " << i;
                anyValue = anyValue || l.SlotData(slot)[i] != T{};
            }
        EXPECT_TRUE(anyValue) << name;
    };
    same("EnsTimes", whole.EnsTimes, loaded.EnsTimes);
    same("AncData", whole.AncData, loaded.AncData);
    same("VelData", whole.VelData, loaded.VelData);
    same("CorrData", whole.CorrData, loaded.CorrData);
    same("IntensityData", whole.IntensityData, loaded.IntensityData);
    same("PGoodData", whole.PGoodData, loaded.PGoodData);
    same("BTRangeData", whole.BTRangeData, loaded.BTRangeData);
    same("BTVelData", whole.BTVelData, loaded.BTVelData);
    same("RefVelData", whole.RefVelData, loaded.RefVelData);
    same("RefVelWork", whole.RefVelWork, loaded.RefVelWork);
    same("NavData", whole.NavData, loaded.NavData);
    same("EnsNumbers", whole.EnsNumbers, loaded.EnsNumbers);
    same("NavFirstLat", whole.NavFirstLat, loaded.NavFirstLat);
    same("NavLastLon", whole.NavLastLon, loaded.NavLastLon);
    same("TextData", whole.TextData, loaded.TextData);
    // Magnitude and direction (rows 4 and 5) are part of the copy.
    EXPECT_NE(whole.VelData(4, 0, 39), 0);
    EXPECT_NE(whole.VelData(5, 0, 39), 0);
}

TEST(LoadReport, SetUpBlocksOfMoreThan8000BytesArePassedOver) {
    // Ensembles 1..5, a two-data-type block, ensembles 6..10: a block of 8000 bytes is an ensemble of
    // its own and stored; one of 8001 is a set-up block and passed over.
    struct Case {
        int bytes;
        int32_t stored, nvram;
    };
    for (const Case c : {Case{8000, 11, 0}, Case{8001, 10, 1}}) {
        SCOPED_TRACE(c.bytes);
        CoreState s;
        const OpenReport report = Load_Whole_Set(s, WriteRunWithGap(5, BuildNvramBlock(c.bytes), 10));
        ASSERT_TRUE(report.Loaded());
        EXPECT_EQ(report.WholeSet.Stored, c.stored);
        EXPECT_EQ(report.WholeSet.NvramBlocks, c.nvram);
        EXPECT_EQ(report.FirstSubSet.Stored, c.stored);
        // A stored block carries no ensemble's values: slot 5 then holds zeros and ensemble 6 moves on.
        EXPECT_EQ(WholeNumber(s, 5), c.nvram ? 6 : 0);
        EXPECT_EQ(WholeNumber(s, 6), c.nvram ? 7 : 6);
    }
}

TEST(LoadReport, ProgressCanStopASubSetOrTheOpen) {
    const std::string path = WriteRun(1, 300);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path));
    // A sub set of 100 stopped when half is loaded keeps those 50 on display.
    s.Progress.Value = [](double value) { return value < 50; };
    const LoadReport sub = Read_File_Selection(s, 101, 200, true);
    EXPECT_TRUE(sub.Loaded);
    EXPECT_TRUE(sub.Stopped);
    EXPECT_EQ(sub.Stored, 50);
    EXPECT_EQ(s.Set.LastEnsNumber, 150);
    // An Open stopped part-way loads no file.
    const OpenReport open = Load_Whole_Set(s, path);
    EXPECT_FALSE(open.Loaded());
    EXPECT_EQ(open.WholeSet.Refusal, LoadRefusal::Stopped);
    EXPECT_FALSE(s.Set.FileValid);
    EXPECT_EQ(s.Set.StatsText.find("Average Ensemble Interval"), std::string::npos);
}

TEST(LoadReport, StrayBytesBeyondTheSearchLimitDoNotHideEnsembles) {
    // 25000 stray bytes between ensembles 10 and 11 are more than one search passes through (10000 bad
    // bytes); the index reads each ensemble at its place, so no search fails and none is lost.
    CoreState s;
    const OpenReport report = Load_Whole_Set(s, WriteRunWithGap(10, std::vector<uint8_t>(25000, 0x33), 20));
    ASSERT_TRUE(report.Loaded());
    EXPECT_EQ(report.WholeSet.Stored, 20);
    EXPECT_EQ(report.WholeSet.FailedSearches, 0);
    EXPECT_EQ(report.FirstSubSet.Stored, 20);
}

TEST(SubSet, MidnightCrossingAddsTheShortStep) {
    BroadbandSpec spec = Spec1002();
    std::vector<uint8_t> bytes;
    const uint8_t times[3][4] = {{23, 59, 59, 50}, {0, 0, 0, 50}, {0, 0, 2, 0}};
    for (int k = 0; k < 3; ++k) {
        spec.Number = k + 1;
        spec.Time[3] = times[k][0];
        spec.Time[4] = times[k][1];
        spec.Time[5] = times[k][2];
        spec.Time[6] = times[k][3];
        auto e = BuildBroadband(spec);
        bytes.insert(bytes.end(), e.begin(), e.end());
    }
    const fs::path path = ScratchDir() / "NIGHT.000";
    WriteAll(path, bytes);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    // 1 s across midnight, then 1.5 s.
    EXPECT_DOUBLE_EQ(s.Set.WholeSetDuration, 2.5);
    ASSERT_TRUE(Read_File_Selection(s, 1, 2, false));
    EXPECT_DOUBLE_EQ(s.Set.SetDuration, 1.0);
    EXPECT_DOUBLE_EQ(Convert_Time(s.Data, 1), 0.5);
}

TEST(SubSet, FirstEqualToLastAndSelectionsBeyondTheLastEnsemble) {
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 100)));
    ASSERT_TRUE(Read_File_Selection(s, 33, 33, false));
    EXPECT_EQ(s.Set.CurrentEnsIndex, 1);
    EXPECT_EQ(s.Set.FirstEnsNumber, 33);
    EXPECT_EQ(LoadedNumber(s, 0), 33);
    EXPECT_EQ(s.Set.ProfileEnsNumber, 33);
    // A last ensemble beyond the file is cut to it.
    s.Set.ProfileEnsNumber = 40;
    ASSERT_TRUE(Read_File_Selection(s, 95, 500, false));
    EXPECT_EQ(s.Set.CurrentEnsIndex, 6);
    EXPECT_EQ(s.Set.LastEnsNumber, 100);
    EXPECT_EQ(LoadedNumber(s, 5), 100);
    EXPECT_EQ(s.Set.ProfileEnsNumber, 95);
}

TEST(SubSet, StrayBytesBetweenEnsemblesDoNotMoveTheSelection) {
    std::vector<uint8_t> bytes;
    for (int k = 1; k <= 100; ++k) {
        const auto e = BuildBroadbandRun(Spec1002(), k, k);
        bytes.insert(bytes.end(), e.begin(), e.end());
        bytes.insert(bytes.end(), 7, 0x33);
    }
    const fs::path path = ScratchDir() / "STRAY.000";
    WriteAll(path, bytes);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    // The arithmetic would guess round(100900 / 1002) = 101 and look for 50 inside ensemble 49.
    EXPECT_EQ(s.Set.FileLastEnsemble, 100);
    ASSERT_TRUE(Read_File_Selection(s, 50, 55, false));
    EXPECT_EQ(s.Set.FirstEnsNumber, 50);
    EXPECT_EQ(LoadedNumber(s, 5), 55);
}

TEST(SubSet, FileCutAfterOpeningKeepsTheLoadedSet) {
    const std::string path = WriteRun(1, 100);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path));
    ASSERT_TRUE(Read_File_Selection(s, 1, 30, false));
    fs::resize_file(path, 50 * 1002 + 300);
    EXPECT_FALSE(Read_File_Selection(s, 60, 70, true));
    EXPECT_EQ(s.Set.CurrentEnsIndex, 30);
    EXPECT_EQ(s.Set.LastEnsNumber, 30);
    // A selection running into the cut stops at the last whole ensemble.
    ASSERT_TRUE(Read_File_Selection(s, 45, 60, false));
    EXPECT_EQ(s.Set.LastEnsNumber, 50);
}

TEST(MaxEnsembles, RequestIsLimitedAndTheSetReloaded) {
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 300)));
    EXPECT_TRUE(Maximum_Ens(s, 50));
    EXPECT_EQ(s.Opts.MaxSubEnsembles, 128);
    EXPECT_EQ(s.Data.Capacity, 257); // max(128, 256) + 1
    EXPECT_EQ(s.Set.LastEnsNumber, 128);
    EXPECT_TRUE(Maximum_Ens(s, 100000));
    EXPECT_EQ(s.Opts.MaxSubEnsembles, 8192);
    EXPECT_EQ(s.Set.CurrentEnsIndex, 300);
    EXPECT_EQ(LoadedNumber(s, 299), 300);
    // The whole-set copy (every second ensemble) is untouched.
    EXPECT_EQ(s.Set.WholeEnsCount, 150);
    EXPECT_EQ(WholeNumber(s, 149), 299);
}

TEST(ErrorVelocityStats, MeanSpreadAndShareOfValidEnsembles) {
    CoreState s;
    Allocate_Data_Set(s.Data, 256, 256, true);
    const int16_t bin0[4] = {10, kBadValue, 20, 30};
    const int16_t bin1[4] = {kBadValue, -7, kBadValue, kBadValue};
    const int16_t bin3[4] = {1, kBadValue, kBadValue, 2};
    for (int slot = 0; slot < 4; ++slot) {
        s.Data.VelData(3, 0, slot) = bin0[slot];
        s.Data.VelData(3, 1, slot) = bin1[slot];
        s.Data.VelData(3, 2, slot) = kBadValue;
        s.Data.VelData(3, 3, slot) = bin3[slot];
        s.Data.VelData(2, 1, slot) = 999; // other rows do not count
    }
    // A bin past NumCells is left alone.
    s.Data.ErrVelStats(0, 4, 0) = 12345;
    Compute_ErrVel_Stats(s.Data, 4, 4);
    // Mean, spread, share per bin; one valid value (bin 1) or none (bin 2) leaves the bin unreported.
    // Bin 3: mean 1.5 rounds to 2 (halves to even), spread sqrt(0.5) to 1, share 2 of 4.
    const int want[4][3] = {{20, 10, 75}, {-32768, -32768, 0}, {-32768, -32768, 0}, {2, 1, 50}};
    for (int bin = 0; bin < 4; ++bin)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(s.Data.ErrVelStats(k, bin, 0), want[bin][k]) << bin << " " << k;
    EXPECT_EQ(s.Data.ErrVelStats(0, 4, 0), 12345);
}

TEST(NumberedSetLoad, DecimationAndSelectionsRunAcrossTheMemberBoundary) {
    // Ensemble 501 is the last but one of the first file: the skip after it (3 ensembles) runs 2004
    // bytes into the second file, where 505 must be the next one stored.
    const fs::path dir = MakeNumberedSet({{1, 502}, {503, 1000}});
    CoreState s;
    s.Menus.MultiFileChecked = true;
    ASSERT_TRUE(Load_Whole_Set(s, (dir / "RUN.000").string()));
    EXPECT_EQ(s.Set.MultiFileCount, 1);
    EXPECT_EQ(s.Set.FileSize, 1002000);
    EXPECT_EQ(s.Set.FileLastEnsemble, 1000);
    ASSERT_EQ(s.Set.WholeEnsCount, 250);
    for (int i = 0; i < 250; ++i) ASSERT_EQ(WholeNumber(s, i), 1 + 4 * i) << "slot " << i;
    // Starts in the first file and continues at the beginning of the second.
    ASSERT_TRUE(Read_File_Selection(s, 500, 510, false));
    ASSERT_EQ(s.Set.CurrentEnsIndex, 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(LoadedNumber(s, i), 500 + i);
    // 599 x 1002 + 1 = 600199 lies 97195 bytes into the second file (first file 503004 bytes): 97 x 1002 + 1.
    ASSERT_TRUE(Read_File_Selection(s, 600, 605, false));
    EXPECT_EQ(s.Set.FirstEnsNumber, 600);
    EXPECT_EQ(LoadedNumber(s, 5), 605);

    CoreState single; // the menu item unchecked: the opened file only
    ASSERT_TRUE(Load_Whole_Set(single, (dir / "RUN.000").string()));
    EXPECT_EQ(single.Set.MultiFileCount, 0);
    EXPECT_EQ(single.Set.FileSize, 503004);
    EXPECT_EQ(single.Set.FileLastEnsemble, 502);
    EXPECT_FALSE(Read_File_Selection(single, 600, 605, false));
}

TEST(NumberedSetLoad, MemberThatDisappearsEndsTheStream) {
    const fs::path dir = MakeNumberedSet({{1, 300}, {301, 600}, {601, 900}});
    CoreState s;
    s.Menus.MultiFileChecked = true;
    ASSERT_TRUE(Load_Whole_Set(s, (dir / "RUN.000").string()));
    ASSERT_EQ(s.Set.MultiFileCount, 2);
    ASSERT_EQ(s.Set.FileLastEnsemble, 900);
    fs::remove(dir / "RUN.001");
    ASSERT_TRUE(Read_File_Selection(s, 10, 20, false));
    // A selection behind the missing member loads nothing and keeps the loaded set.
    EXPECT_FALSE(Read_File_Selection(s, 650, 660, false));
    EXPECT_EQ(s.Set.CurrentEnsIndex, 11);
    EXPECT_EQ(s.Set.FirstEnsNumber, 10);
    EXPECT_EQ(s.Set.LastEnsNumber, 20);
    // One running into it stops at the end of the first file.
    ASSERT_TRUE(Read_File_Selection(s, 295, 310, false));
    EXPECT_EQ(s.Set.LastEnsNumber, 300);
}

TEST(AcquisitionSetLoad, ThreeCopiesOfARecordingLoadAsOneSet) {
    SKIP_WITHOUT_DATA_FILE("SHIP300_000001.ENX");
    const fs::path dir = ScratchDir();
    for (int m = 1; m <= 3; ++m)
        fs::create_symlink(DataFile("SHIP300_000001.ENX"),
                           dir / ("SHIP300_00000" + std::to_string(m) + ".ENX"));
    const std::string first = (dir / "SHIP300_000001.ENX").string();

    CoreState single;
    ASSERT_TRUE(Load_Whole_Set(single, first));
    EXPECT_EQ(single.Set.QUARNFileCount, 0);
    EXPECT_EQ(single.Set.FileLastEnsemble, 3713);
    // 3713 \ 256 = 14: ensembles 1, 16, ... 3706 (3706 + 14 reaches 3713).
    EXPECT_EQ(single.Set.WholeSetStep, 14);
    EXPECT_EQ(single.Set.WholeEnsCount, 248);

    CoreState set;
    set.Menus.MultiFileChecked = true;
    ASSERT_TRUE(Load_Whole_Set(set, first));
    EXPECT_EQ(set.Set.QUARNFileCount, 3);
    EXPECT_EQ(set.Set.FileSize, 3 * 3000320);
    const std::string& text = set.Set.StatsText;
    EXPECT_EQ(text.substr(0, text.find("\r\n")), first + " to " + (dir / "SHIP300_000003.ENX").string());
    // The stray bytes after each copy move the later copies off the arithmetic's places, so the set is
    // indexed: 3 x 3713 ensembles whose numbers start again in each copy. The last is 3713 of the third
    // copy (the arithmetic would have guessed round(9000960 / 808) = 11140), and a request by number
    // finds the first copy's ensemble.
    EXPECT_NE(text.find("Last  Ensemble 00003713 20/08/19 07:58:58.02 Extra Data in File"),
              std::string::npos);
    EXPECT_EQ(set.Set.Index.Count(), 3u * 3713u);
    EXPECT_EQ(set.Set.FileLastEnsemble, 3713);
    // 11139 \ 256 = 43: every 44th entry over all three copies.
    EXPECT_EQ(set.Set.WholeSetStep, 43);
    // 3 x 3713 ensembles at every 44th is about 253 stored; one copy alone gives at most 85.
    EXPECT_GE(set.Set.WholeEnsCount, 250);
    EXPECT_LE(set.Set.WholeEnsCount, 256);
}
