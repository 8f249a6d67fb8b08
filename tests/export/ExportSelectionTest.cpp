// The dialog's choices as data: the contour data-type mapping, ensemble box reading and clamping, bin
// lists, the dialog's start-up choices and the words of the command line.
#include "export/ExportSelection.h"
#include "dataset/CoreState.h"
#include "export/ExportChoices.h"

#include <gtest/gtest.h>

using namespace mvx;

TEST(ContourTypeOption, EachCodeRangeMapsOntoItsButtons) {
    EXPECT_EQ(ContourTypeOption(1), 0);
    EXPECT_EQ(ContourTypeOption(5), 4);  // echo average
    EXPECT_EQ(ContourTypeOption(10), 5); // correlation beam 1
    EXPECT_EQ(ContourTypeOption(50), 9);
    EXPECT_EQ(ContourTypeOption(100), 10);  // east
    EXPECT_EQ(ContourTypeOption(600), 15);  // direction
    EXPECT_EQ(ContourTypeOption(1000), 16); // PG1
    EXPECT_EQ(ContourTypeOption(3000), 18); // a chart showing percent good 3 opens with "PG3"
    EXPECT_EQ(ContourTypeOption(4000), 19);
    for (int code : {0, 6, 9, 51, 99, 601, 999, 4001, -100})
        EXPECT_FALSE(ContourTypeOption(code).has_value()) << code;
}

TEST(EnsembleEntry, NumberAtTheStartOfTheFirstEightCharacters) {
    EXPECT_EQ(EnsembleEntryValue("123"), 123);
    EXPECT_EQ(EnsembleEntryValue("  42"), 42);
    EXPECT_EQ(EnsembleEntryValue("17abc"), 17);
    EXPECT_EQ(EnsembleEntryValue("abc17"), 0);
    EXPECT_EQ(EnsembleEntryValue(""), 0);
    EXPECT_EQ(EnsembleEntryValue("-"), 0);
    EXPECT_EQ(EnsembleEntryValue("-12"), -12);
    EXPECT_EQ(EnsembleEntryValue("123456789"), 12345678); // the ninth character is not read
    EXPECT_EQ(EnsembleEntryValue("1234567 9"), 1234567);
    EXPECT_EQ(EnsembleEntryValue("2.5"), 2); // rounded, halves to even
    EXPECT_EQ(EnsembleEntryValue("3.5"), 4);
    EXPECT_EQ(EnsembleEntryValue("2.51"), 3);
    EXPECT_EQ(EnsembleEntryValue("1e3"), 1000);
    EXPECT_EQ(EnsembleEntryValue("9e99"), INT32_MAX);
}

TEST(EnsembleEntry, ClampedIntoTheFileAndWrittenBack) {
    SetDescriptors set;
    set.FileFirstEnsemble = 101;
    set.FileLastEnsemble = 200;
    std::array<std::string, 3> boxes{"5", "9999", "0"};
    EnsembleRange r = Clamp_Ensemble_Entries(boxes, set);
    EXPECT_EQ(r.First, 101);
    EXPECT_EQ(r.Last, 200);
    EXPECT_EQ(r.Step, 1);
    EXPECT_EQ(boxes, (std::array<std::string, 3>{"101", "200", "1"}));

    boxes = {"150x", "120.4", "500"};
    r = Clamp_Ensemble_Entries(boxes, set);
    EXPECT_EQ(r.First, 150);
    EXPECT_EQ(r.Last, 120);
    EXPECT_EQ(r.Step, 100); // at most the file's ensemble count
    EXPECT_EQ(boxes, (std::array<std::string, 3>{"150", "120", "100"}));
    EXPECT_EQ(r.Count(), 0);

    std::string profile = "nothing";
    EXPECT_EQ(Clamp_Ensemble_Entry(profile, set), 101);
    EXPECT_EQ(profile, "101");
}

TEST(EnsembleRange, CountStopsAtTheLastEnsembleNotAbove) {
    EXPECT_EQ((EnsembleRange{1, 10, 3}.Count()), 4); // 1, 4, 7, 10
    EXPECT_EQ((EnsembleRange{1, 9, 3}.Count()), 3);  // 1, 4, 7
    EXPECT_EQ((EnsembleRange{5, 5, 7}.Count()), 1);
    EXPECT_EQ((EnsembleRange{6, 5, 1}.Count()), 0);
    const EnsembleRange wide{-2147483647, 2147483647, 2147483647};
    EXPECT_EQ(wide.Count(), 3);
    EXPECT_EQ(wide.At(1), 0);
    EXPECT_EQ(wide.At(2), INT32_MAX);
}

TEST(BinList, AllAndNoneReachOnlyTheCellsAndExportStaysWithinThem) {
    BinList list;
    list.Select(200);
    list.SelectAll(3);
    EXPECT_EQ(list.Exported(3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.Exported(255), (std::vector<int>{1, 2, 3, 200}));
    list.SelectNone(3);
    EXPECT_EQ(list.Exported(255), std::vector<int>{200}); // "None" leaves items beyond the cells alone
    list.Select(0);
    list.Select(256);
    EXPECT_EQ(list.Exported(300), std::vector<int>{200});
}

TEST(LoadFolders, StartsFromTheChartsChoices) {
    CoreState state;
    state.Opts.ContourDataType = 3000;
    state.Opts.ProfileDataTypes.fill(false);
    state.Opts.ProfileDataTypes[1] = true;  // echo beam 2
    state.Opts.ProfileDataTypes[16] = true; // average error: no box
    state.Opts.ProfileDataTypes[21] = true; // PG3
    state.Opts.SeriesDataTypes.fill(false);
    state.Opts.SeriesDataTypes[25] = true; // bottom-track direction
    state.Opts.SeriesDataTypes[36] = true; // the record's unused 37th entry
    state.Opts.AncDataTypes[7] = true;
    state.Set.FirstEnsNumber = 40;
    state.Set.LastEnsNumber = 295;
    state.Set.ProfileEnsNumber = 77;
    ExportSelection sel;
    sel.Bins[2].Select(9);
    int progress = -1;
    sel.Progress = [&](int v) { progress = v; };
    Load_Folders(state, sel);
    EXPECT_EQ(sel.ContourType, 18);
    EXPECT_EQ(sel.ProfileEnsemble, "77");
    std::array<bool, 20> profile{};
    profile[1] = profile[18] = true;
    EXPECT_EQ(sel.ProfileTypes, profile);
    std::array<bool, 40> series{};
    series[25] = true;
    EXPECT_EQ(sel.SeriesTypes, series);
    EXPECT_TRUE(sel.AncTypes[7]);
    EXPECT_EQ(sel.ContourEnsembles, (std::array<std::string, 3>{"40", "295", "1"}));
    EXPECT_EQ(sel.SeriesEnsembles, (std::array<std::string, 3>{"40", "295", "1"}));
    EXPECT_EQ(sel.Bins[2].Exported(255), std::vector<int>{9}); // bin lists are not touched
    EXPECT_EQ(progress, 0);
}

TEST(ExportChoices, QualifiedAndBareCaptions) {
    ExportSelection sel;
    std::string error;
    ASSERT_TRUE(ParseExportTypes(ExportKind::Contour, "pg:PG3", sel, error)) << error;
    EXPECT_EQ(sel.ContourType, 18);
    ASSERT_TRUE(ParseExportTypes(ExportKind::Contour, "Direction", sel, error)) << error;
    EXPECT_EQ(sel.ContourType, 15);
    ASSERT_TRUE(ParseExportTypes(ExportKind::Contour, "corr:Avg", sel, error)) << error;
    EXPECT_EQ(sel.ContourType, 9);

    EXPECT_FALSE(ParseExportTypes(ExportKind::Contour, "Bm1", sel, error));
    EXPECT_NE(error.find("echo:bm1"), std::string::npos) << error;
    EXPECT_NE(error.find("corr:bm1"), std::string::npos) << error;
    EXPECT_FALSE(ParseExportTypes(ExportKind::Contour, "vel:East,vel:North", sel, error));
    EXPECT_FALSE(ParseExportTypes(ExportKind::Contour, "bt:East", sel, error)); // not on the contour panel

    ASSERT_TRUE(ParseExportTypes(ExportKind::Profile, "echo:Bm4, Vertical (w) ,PG1", sel, error)) << error;
    std::array<bool, 20> profile{};
    profile[3] = profile[12] = profile[16] = true;
    EXPECT_EQ(sel.ProfileTypes, profile);
}

TEST(ExportChoices, SeriesBoxesAndAncillary) {
    ExportSelection sel;
    std::string error;
    // "East" alone names four boxes on the series panel.
    EXPECT_FALSE(ParseExportTypes(ExportKind::Series, "East", sel, error));
    ASSERT_TRUE(ParseExportTypes(
        ExportKind::Series, "vel:Mag,bt:Dir,bt:Depth,wm:Vert,nv:East,nv:Mag,nv:LatLon,MicroCAT,nv:strandex",
        sel, error))
        << error;
    std::array<bool, 40> series{};
    for (int k : {14, 25, 39, 28, 32, 34, 36, 37, 38}) series[static_cast<size_t>(k)] = true;
    EXPECT_EQ(sel.SeriesTypes, series);
    EXPECT_FALSE(ParseExportTypes(ExportKind::Series, "nv:Vert", sel, error)); // navigation has no vertical

    ASSERT_TRUE(ParseAncTypes("Pitch,battery,BIT", sel, error)) << error;
    EXPECT_EQ(sel.AncTypes, (std::array<bool, 8>{true, false, false, false, false, false, true, true}));
    EXPECT_FALSE(ParseAncTypes("Pitch,Yaw", sel, error));
    EXPECT_NE(error.find("Yaw"), std::string::npos);
}

TEST(ExportChoices, BinLists) {
    BinList bins;
    std::string error;
    ASSERT_TRUE(ParseBinList("1-5,8", 30, bins, error)) << error;
    EXPECT_EQ(bins.Exported(255), (std::vector<int>{1, 2, 3, 4, 5, 8}));
    ASSERT_TRUE(ParseBinList("all", 4, bins, error));
    EXPECT_EQ(bins.Exported(255), (std::vector<int>{1, 2, 3, 4}));
    ASSERT_TRUE(ParseBinList("255", 4, bins, error));
    EXPECT_EQ(bins.Exported(255), std::vector<int>{255});
    for (const char* bad : {"0", "256", "5-3", "x", "1-", "1000"}) {
        EXPECT_FALSE(ParseBinList(bad, 30, bins, error)) << bad;
        EXPECT_EQ(bins.Exported(255), std::vector<int>{255}) << "a bad list leaves the old choice";
    }
}
