// Loading a set of numbered files as one stream.
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

// Members named RUN.000, RUN.001, ... holding the given ranges of ensemble numbers.
fs::path MakeNumberedSet(const std::vector<std::pair<int32_t, int32_t>>& ranges) {
    const fs::path dir = ScratchDir();
    for (size_t m = 0; m < ranges.size(); ++m)
        WriteAll(dir / ("RUN.00" + std::to_string(m)),
                 BuildBroadbandRun(Spec1002(), ranges[m].first, ranges[m].second));
    return dir;
}

int32_t LoadedNumber(const CoreState& s, int slot) {
    return s.Data.AncData(2, slot) / 10;
}
int32_t WholeNumber(const CoreState& s, int slot) {
    return s.Data.WholeAncData(2, slot) / 10;
}

} // namespace

TEST(NumberedSetLoad, DecimationSkipsExactlyAcrossTheMemberBoundary) {
    // Ensemble 501 is the last but one of the first file: the skip after it (3 ensembles) runs 2004
    // bytes into the second file, where 505 must be the next one stored.
    const fs::path dir = MakeNumberedSet({{1, 502}, {503, 1000}});
    CoreState s;
    s.Menus.MultiFileChecked = true;
    ASSERT_TRUE(Load_Whole_Set(s, (dir / "RUN.000").string()));
    EXPECT_EQ(s.Set.MultiFileCount, 1);
    EXPECT_EQ(s.Set.FileSize, 1002000);
    EXPECT_EQ(s.Set.FileLastEnsemble, 1000);
    EXPECT_EQ(s.Set.WholeSetStep, 3);
    ASSERT_EQ(s.Set.WholeEnsCount, 250);
    for (int i = 0; i < 250; ++i) ASSERT_EQ(WholeNumber(s, i), 1 + 4 * i) << "slot " << i;
}

TEST(NumberedSetLoad, SelectionsStartInTheRightMemberAndRunOn) {
    const fs::path dir = MakeNumberedSet({{1, 502}, {503, 1000}});
    CoreState s;
    s.Menus.MultiFileChecked = true;
    ASSERT_TRUE(Load_Whole_Set(s, (dir / "RUN.000").string()));
    // Starts in the first file and continues at the beginning of the second.
    ASSERT_TRUE(Read_File_Selection(s, 500, 510, false));
    ASSERT_EQ(s.Set.CurrentEnsIndex, 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(LoadedNumber(s, i), 500 + i);
    // 599 x 1002 + 1 = 600199 lies 97195 bytes into the second file (first file 503004 bytes): 97 x 1002 + 1.
    ASSERT_TRUE(Read_File_Selection(s, 600, 605, false));
    EXPECT_EQ(s.Set.FirstEnsNumber, 600);
    EXPECT_EQ(LoadedNumber(s, 5), 605);
}

TEST(NumberedSetLoad, UncheckedMultiFileLoadsTheOpenedFileOnly) {
    const fs::path dir = MakeNumberedSet({{1, 502}, {503, 1000}});
    CoreState s;
    ASSERT_TRUE(Load_Whole_Set(s, (dir / "RUN.000").string()));
    EXPECT_EQ(s.Set.MultiFileCount, 0);
    EXPECT_EQ(s.Set.FileSize, 503004);
    EXPECT_EQ(s.Set.FileLastEnsemble, 502);
    EXPECT_FALSE(Read_File_Selection(s, 600, 605, false));
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

TEST(NumberedSetLoad, GapInTheNumbersEndsTheSetAtOpening) {
    const fs::path dir = ScratchDir();
    WriteAll(dir / "RUN.000", BuildBroadbandRun(Spec1002(), 1, 300));
    WriteAll(dir / "RUN.002", BuildBroadbandRun(Spec1002(), 601, 900));
    CoreState s;
    s.Menus.MultiFileChecked = true;
    ASSERT_TRUE(Load_Whole_Set(s, (dir / "RUN.000").string()));
    EXPECT_EQ(s.Set.MultiFileCount, 0);
    EXPECT_EQ(s.Set.FileLastEnsemble, 300);
}

TEST(AcquisitionSetLoad, ThreeCopiesOfARecordingLoadAsOneSet) {
    if (!HaveDataFile("SHIP300_000001.ENX")) GTEST_SKIP();
    const fs::path dir = ScratchDir();
    for (int m = 1; m <= 3; ++m)
        fs::create_symlink(DataFile("SHIP300_000001.ENX"),
                           dir / ("SHIP300_00000" + std::to_string(m) + ".ENX"));
    const std::string first = (dir / "SHIP300_000001.ENX").string();

    CoreState single;
    ASSERT_TRUE(Load_Whole_Set(single, first));
    EXPECT_EQ(single.Set.QUARNFileCount, 0);
    EXPECT_EQ(single.Set.FileSize, 3000320);
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
    // The last ensemble found is 3713 of the third copy; 3713 x 808 is far below 9000960, so the last
    // number becomes round(9000960 / 808) = round(11139.8) = 11140.
    EXPECT_NE(text.find("Last  Ensemble 00003713 20/08/19 07:58:58.02 Extra Data in File"),
              std::string::npos);
    EXPECT_EQ(set.Set.FileLastEnsemble, 11140);
    EXPECT_EQ(set.Set.WholeSetStep, 43);
    // 3 x 3713 ensembles at every 44th is about 253 stored; one copy alone gives at most 85.
    EXPECT_GE(set.Set.WholeEnsCount, 250);
    EXPECT_LE(set.Set.WholeEnsCount, 256);
    // The first sub set comes from the first copy.
    EXPECT_EQ(set.Set.CurrentEnsIndex, 256);
    EXPECT_EQ(set.Set.FirstEnsNumber, 1);
}
