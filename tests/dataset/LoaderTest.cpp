// Loading the whole set and sub sets: decimation, positions, file sets, damaged files.
#include "TestEnsembles.h"
#include "TestSupport.h"

#include "dataset/CoreState.h"
#include "dataset/Loader.h"

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

// The builder marks every ensemble by a heading of its number x 10 (0.01 deg).
int32_t LoadedNumber(const CoreState& s, int slot) {
    return s.Data.AncData(2, slot) / 10;
}
int32_t WholeNumber(const CoreState& s, int slot) {
    return s.Data.WholeAncData(2, slot) / 10;
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
    EXPECT_EQ(s.Set.WholeStepSaved, 3);
    ASSERT_EQ(s.Set.WholeEnsCount, 250);
    EXPECT_EQ(s.Set.WholeFirstEns, 1);
    for (int i = 0; i < 250; ++i) ASSERT_EQ(WholeNumber(s, i), 1 + 4 * i) << "slot " << i;
    // Up-looking ensembles count -1 each.
    EXPECT_EQ(s.Set.OrientationBalance, -250);
    EXPECT_TRUE(s.Set.FileValid);
    EXPECT_EQ(s.Set.SelFirstEns, 1);
    EXPECT_EQ(s.Set.SelLastEns, 1000);
    EXPECT_EQ(s.Set.FirstBinShown, 1);
    EXPECT_EQ(s.Set.LastBinShown, 4);
    // 996 s between ensembles 1 and 997.
    EXPECT_DOUBLE_EQ(s.Set.WholeSetDuration, 996.0);
    EXPECT_DOUBLE_EQ(s.Set.EnsembleInterval, 1.0);
    const std::string tail =
        "Last  Ensemble 00001000 26/06/14 12:16:39.00\r\nAverage Ensemble Interval 00:00:01.00\r\n";
    ASSERT_GE(s.Set.StatsText.size(), tail.size());
    EXPECT_EQ(s.Set.StatsText.substr(s.Set.StatsText.size() - tail.size()), tail);
    // Then the first sub set: ensembles 1..256 in slots 0..255.
    EXPECT_EQ(s.Set.CurrentEnsIndex, 256);
    EXPECT_EQ(s.Set.FirstEnsNumber, 1);
    EXPECT_EQ(s.Set.LastEnsNumber, 256);
    EXPECT_EQ(LoadedNumber(s, 0), 1);
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

TEST(WholeSet, SmallFileIsStoredWhole) {
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(11, 110)));
    EXPECT_EQ(s.Set.WholeSetStep, 0);
    ASSERT_EQ(s.Set.WholeEnsCount, 100);
    EXPECT_EQ(WholeNumber(s, 0), 11);
    EXPECT_EQ(WholeNumber(s, 99), 110);
    EXPECT_EQ(s.Set.FileFirstEnsemble, 11);
    EXPECT_EQ(s.Set.FileLastEnsemble, 110);
    EXPECT_EQ(s.Set.CurrentEnsIndex, 100);
}

TEST(WholeSet, HooksRunOnceEachAndProgressCaptionsFollowTheMenus) {
    const std::string path = WriteRun(1, 300);
    {
        CoreState s;
        ProgressLog log;
        log.Attach(s);
        int whole = 0, sub = 0;
        LoadHooks hooks;
        hooks.WholeSetLoaded = [&](CoreState& st) {
            ++whole;
            EXPECT_TRUE(st.Set.FileValid);
            // 300 \ 256 = 1: every second ensemble, 1..299.
            EXPECT_EQ(st.Set.WholeEnsCount, 150);
        };
        hooks.SubSetLoaded = [&](CoreState& st) {
            ++sub;
            EXPECT_EQ(st.Set.CurrentEnsIndex, 256);
        };
        ASSERT_TRUE(Load_Whole_Set(s, path, hooks));
        EXPECT_EQ(whole, 1);
        EXPECT_EQ(sub, 1);
        EXPECT_EQ(log.captions, (std::vector<std::string>{"Loading Whole Set...", "Loading Sub Set..."}));
        EXPECT_EQ(log.hides, 2);
    }
    {
        CoreState s;
        s.Menus.AnimateProfileGo = true;
        ProgressLog log;
        log.Attach(s);
        ASSERT_TRUE(Load_Whole_Set(s, path));
        EXPECT_EQ(log.captions, std::vector<std::string>{"Loading Whole Set..."});
        log.captions.clear();
        s.Menus.AnimateProfileGo = false;
        ASSERT_TRUE(Read_File_Selection(s, 5, 10, false));
        EXPECT_TRUE(log.captions.empty());
    }
}

TEST(WholeSet, MonitorModeLoadsTheNewestEnsemblesWithoutProgress) {
    CoreState s;
    s.Menus.MonitorOn = true;
    ProgressLog log;
    log.Attach(s);
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 1000)));
    EXPECT_TRUE(log.captions.empty());
    // max(1000 - 256 + 1, 1) = 745
    EXPECT_EQ(s.Set.FirstEnsNumber, 745);
    EXPECT_EQ(s.Set.LastEnsNumber, 1000);
    EXPECT_EQ(s.Set.ProfileEnsNumber, 1000);
    EXPECT_EQ(LoadedNumber(s, 0), 745);
}

TEST(WholeSet, FileWithoutEnsemblesIsNotLoaded) {
    const fs::path path = ScratchDir() / "junk.000";
    WriteAll(path, std::vector<uint8_t>(5000, 0x42));
    CoreState s;
    int hooksRun = 0;
    LoadHooks hooks;
    hooks.WholeSetLoaded = [&](CoreState&) { ++hooksRun; };
    EXPECT_FALSE(Load_Whole_Set(s, path.string(), hooks));
    EXPECT_FALSE(s.Set.FileValid);
    EXPECT_EQ(hooksRun, 0);
    EXPECT_NE(s.Set.StatsText.find("Not enough VALID ensembles"), std::string::npos);
}

TEST(WholeSet, ReopeningOntoAFileWithOneEnsembleLeavesNothingLoaded) {
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 50)));
    const std::string single = WriteRun(1, 1, "ONE.000");
    EXPECT_FALSE(Load_Whole_Set(s, single));
    // The arrays were dimensioned for the new file, so the old load must not count as loaded.
    EXPECT_FALSE(s.Set.FileValid);
    EXPECT_EQ(s.Set.FileName, single);
}

TEST(WholeSet, PressureDepthCounterStartsAgainOnOpen) {
    CoreState s;
    s.Setup.PressureDepthCount = -500;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 20)));
    // Depth 0 and pressure 0 agree, so every decode after the reset counts +1: 20 for the whole set
    // and 20 for the first sub set.
    EXPECT_EQ(s.Setup.PressureDepthCount, 40);
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
    s.Set.CurrentEnsIndex = 1;
    EXPECT_DOUBLE_EQ(Convert_Time(s), 0.5);
}

TEST(SubSet, FirstEqualToLastLoadsOneEnsembleIntoSlotZero) {
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 400)));
    ASSERT_TRUE(Read_File_Selection(s, 333, 333, false));
    EXPECT_EQ(s.Set.CurrentEnsIndex, 1);
    EXPECT_EQ(s.Set.FirstEnsNumber, 333);
    EXPECT_EQ(s.Set.LastEnsNumber, 333);
    EXPECT_EQ(LoadedNumber(s, 0), 333);
    EXPECT_EQ(s.Data.EnsNumbers[0], 333);
    EXPECT_EQ(s.Set.ProfileEnsNumber, 333);
}

TEST(SubSet, SelectionBeyondTheLastEnsembleIsCut) {
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, WriteRun(1, 100)));
    s.Set.ProfileEnsNumber = 40;
    ASSERT_TRUE(Read_File_Selection(s, 95, 500, false));
    EXPECT_EQ(s.Set.CurrentEnsIndex, 6);
    EXPECT_EQ(s.Set.FirstEnsNumber, 95);
    EXPECT_EQ(s.Set.LastEnsNumber, 100);
    EXPECT_EQ(LoadedNumber(s, 5), 100);
    EXPECT_EQ(s.Set.ProfileEnsNumber, 95);
}

TEST(SubSet, StrayBytesBetweenEnsemblesAreSkippedAfterTheComputedPosition) {
    std::vector<uint8_t> bytes;
    BroadbandSpec spec = Spec1002();
    for (int k = 1; k <= 100; ++k) {
        auto e = BuildBroadbandRun(spec, k, k);
        bytes.insert(bytes.end(), e.begin(), e.end());
        bytes.insert(bytes.end(), 7, 0x33);
    }
    const fs::path path = ScratchDir() / "STRAY.000";
    WriteAll(path, bytes);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    EXPECT_EQ(s.Set.WholeEnsCount, 100);
    // 100 x 1009 bytes against 100 x 1002 expected: round(100900 / 1002) = 101.
    EXPECT_EQ(s.Set.FileLastEnsemble, 101);
    // Ensemble 50 is expected at 49 x 1002 + 1 = 49099, which lies inside ensemble 49 (from 48433).
    ASSERT_TRUE(Read_File_Selection(s, 50, 55, false));
    EXPECT_EQ(s.Set.FirstEnsNumber, 50);
    EXPECT_EQ(LoadedNumber(s, 5), 55);
}

TEST(SubSet, EnsemblesOfAnotherLengthMisplaceTheComputedPositionWithoutHarm) {
    // 50 ensembles of 1002 bytes, then 50 of 802.
    BroadbandSpec small = Spec1002();
    small.TargetBytes = 800;
    auto bytes = BuildBroadbandRun(Spec1002(), 1, 50);
    auto tail = BuildBroadbandRun(small, 51, 100);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    const fs::path path = ScratchDir() / "MIXED.000";
    WriteAll(path, bytes);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    // The last ensemble read was 802 bytes long, so ensemble 90 is looked for at 89 x 802 + 1 = 71379,
    // inside ensemble 77 (from 50100 + 26 x 802 + 1 = 70953); the load resumes at ensemble 78.
    ASSERT_TRUE(Read_File_Selection(s, 90, 95, false));
    EXPECT_EQ(s.Set.FirstEnsNumber, 78);
    EXPECT_EQ(s.Set.LastEnsNumber, 83);
    EXPECT_EQ(LoadedNumber(s, 0), 78);
}

TEST(SubSet, SetUpBlocksAreNotStored) {
    auto bytes = BuildBroadbandRun(Spec1002(), 1, 10);
    auto block = BuildNvramBlock(9000);
    auto tail = BuildBroadbandRun(Spec1002(), 11, 20);
    bytes.insert(bytes.end(), block.begin(), block.end());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    const fs::path path = ScratchDir() / "NVRAM.000";
    WriteAll(path, bytes);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path.string()));
    EXPECT_EQ(s.Set.WholeEnsCount, 20);
    EXPECT_TRUE(s.Set.NvramFlag);
    ASSERT_TRUE(Read_File_Selection(s, 8, 14, false));
    ASSERT_EQ(s.Set.CurrentEnsIndex, 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(LoadedNumber(s, i), 8 + i);
}

TEST(SubSet, FileCutAfterOpeningKeepsTheLoadedSet) {
    const std::string path = WriteRun(1, 100);
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, path));
    ASSERT_TRUE(Read_File_Selection(s, 1, 30, false));
    fs::resize_file(path, 50 * 1002 + 300);
    EXPECT_FALSE(Read_File_Selection(s, 60, 70, true));
    EXPECT_EQ(s.Set.CurrentEnsIndex, 30);
    EXPECT_EQ(s.Set.FirstEnsNumber, 1);
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
    EXPECT_EQ(s.Set.CurrentEnsIndex, 128);
    EXPECT_EQ(s.Set.LastEnsNumber, 128);
    EXPECT_TRUE(Maximum_Ens(s, 100000));
    EXPECT_EQ(s.Opts.MaxSubEnsembles, 8192);
    EXPECT_EQ(s.Data.Capacity, 8193);
    EXPECT_EQ(s.Set.CurrentEnsIndex, 300);
    EXPECT_EQ(LoadedNumber(s, 299), 300);
    // The whole-set copy (every second ensemble) is untouched.
    EXPECT_EQ(s.Set.WholeEnsCount, 150);
    EXPECT_EQ(WholeNumber(s, 149), 299);
}

TEST(ErrorVelocityStats, MeanSpreadAndShareOfValidEnsembles) {
    CoreState s;
    Allocate_Data_Set(s.Data, 256, 256, true);
    s.Setup.NumCells = 4;
    s.Set.CurrentEnsIndex = 4;
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
    Compute_ErrVel_Stats(s);
    EXPECT_EQ(s.Data.ErrVelStats(0, 0, 0), 20);
    EXPECT_EQ(s.Data.ErrVelStats(1, 0, 0), 10);
    EXPECT_EQ(s.Data.ErrVelStats(2, 0, 0), 75);
    for (int b : {1, 2}) {
        EXPECT_EQ(s.Data.ErrVelStats(0, b, 0), -32768) << b;
        EXPECT_EQ(s.Data.ErrVelStats(1, b, 0), -32768) << b;
        EXPECT_EQ(s.Data.ErrVelStats(2, b, 0), 0) << b;
    }
    // 1 and 2: mean 1.5 rounds to 2 (halves to even), spread sqrt(0.5) to 1, share 2 of 4.
    EXPECT_EQ(s.Data.ErrVelStats(0, 3, 0), 2);
    EXPECT_EQ(s.Data.ErrVelStats(1, 3, 0), 1);
    EXPECT_EQ(s.Data.ErrVelStats(2, 3, 0), 50);
    EXPECT_EQ(s.Data.ErrVelStats(0, 4, 0), 12345);
}
