// The dialog's choices as data: the contour data-type mapping, ensemble box reading and clamping, bin
// lists, the dialog's start-up choices and the words of the command line.
#include "export/ExportSelection.h"
#include "export/ExportChoices.h"
#include "model/CoreState.h"

#include <gtest/gtest.h>

using namespace mvx;

TEST(ContourTypeOption, EachCodeRangeMapsOntoItsButtons) {
    EXPECT_EQ(ContourTypeOption(1), 0);
    EXPECT_EQ(ContourTypeOption(5), 4);     // echo average
    EXPECT_EQ(ContourTypeOption(10), 5);    // correlation beam 1
    EXPECT_EQ(ContourTypeOption(600), 15);  // direction
    EXPECT_EQ(ContourTypeOption(3000), 18); // a chart showing percent good 3 opens with "PG3"
    for (int code : {0, 6, 51, 601, 4001}) EXPECT_FALSE(ContourTypeOption(code).has_value()) << code;
}

TEST(EnsembleEntry, NumberAtTheStartOfTheFirstEightCharacters) {
    const std::pair<const char*, int32_t> cases[] = {
        {"  42", 42}, {"17abc", 17},           {"abc17", 0},
        {"-12", -12}, {"123456789", 12345678}, // the ninth character is not read
        {"2.5", 2},                            // rounded, halves to even
        {"3.5", 4},   {"9e99", INT32_MAX}};
    for (const auto& [text, value] : cases) EXPECT_EQ(EnsembleEntryValue(text), value) << text;
}

TEST(EnsembleEntry, ClampedIntoTheFileAndWrittenBack) {
    SetDescriptors set;
    set.FileFirstEnsemble = 101;
    set.FileLastEnsemble = 200;
    std::array<std::string, 3> boxes{"5", "9999", "0"};
    EnsembleRange r = Clamp_Ensemble_Entries(boxes, set);
    EXPECT_EQ(r.Count(), 200 - 101 + 1);
    EXPECT_EQ(boxes, (std::array<std::string, 3>{"101", "200", "1"}));

    boxes = {"150x", "120.4", "500"};
    r = Clamp_Ensemble_Entries(boxes, set);
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
    state.Opts.AncDataTypes[7] = true;
    state.Set.FirstEnsNumber = 40;
    state.Set.LastEnsNumber = 295;
    state.Set.ProfileEnsNumber = 77;
    ExportSelection sel;
    sel.Bins[2].Select(9);
    Load_Folders(state.Opts, state.Set, sel);
    EXPECT_EQ(sel.ContourType, 18);
    EXPECT_EQ(sel.ProfileEnsemble, "77");
    std::array<bool, 20> profile{};
    profile[1] = profile[18] = true; // PG3 moves from entry 21 to box 18
    EXPECT_EQ(sel.ProfileTypes, profile);
    std::array<bool, 40> series{};
    series[25] = true;
    EXPECT_EQ(sel.SeriesTypes, series);
    EXPECT_TRUE(sel.AncTypes[7]);
    EXPECT_EQ(sel.ContourEnsembles, (std::array<std::string, 3>{"40", "295", "1"}));
    EXPECT_EQ(sel.SeriesEnsembles, (std::array<std::string, 3>{"40", "295", "1"}));
    EXPECT_EQ(sel.Bins[2].Exported(255), std::vector<int>{9}); // bin lists are not touched
}

TEST(ExportChoices, CaptionsBoxesAndBinLists) {
    ExportSelection sel;
    std::string error;
    ASSERT_TRUE(ParseExportTypes(ExportKind::Contour, "pg:PG3", sel, error)) << error;
    EXPECT_EQ(sel.ContourType, 18);
    EXPECT_FALSE(ParseExportTypes(ExportKind::Contour, "bt:East", sel, error)); // not on the contour panel
    ASSERT_TRUE(ParseExportTypes(ExportKind::Profile, "echo:Bm4, Vertical (w) ,PG1", sel, error)) << error;
    std::array<bool, 20> profile{};
    profile[3] = profile[12] = profile[16] = true;
    EXPECT_EQ(sel.ProfileTypes, profile);

    EXPECT_FALSE(ParseExportTypes(ExportKind::Series, "East", sel, error)); // four boxes on the series panel
    EXPECT_FALSE(ParseExportTypes(ExportKind::Series, "nv:Vert", sel, error)); // navigation has no vertical
    ASSERT_TRUE(
        ParseExportTypes(ExportKind::Series, "vel:Mag,bt:Dir,bt:Depth,wm:Vert,nv:strandex", sel, error))
        << error;
    std::array<bool, 40> series{};
    for (int k : {14, 25, 39, 28, 38}) series[static_cast<size_t>(k)] = true;
    EXPECT_EQ(sel.SeriesTypes, series);
    ASSERT_TRUE(ParseAncTypes("Pitch,battery,BIT", sel, error)) << error;
    EXPECT_EQ(sel.AncTypes, (std::array<bool, 8>{true, false, false, false, false, false, true, true}));

    BinList bins;
    ASSERT_TRUE(ParseBinList("1-3,8", 30, bins, error)) << error;
    EXPECT_EQ(bins.Exported(255), (std::vector<int>{1, 2, 3, 8}));
    for (const char* bad : {"0", "256", "5-3", "x"}) {
        EXPECT_FALSE(ParseBinList(bad, 30, bins, error)) << bad;
        EXPECT_EQ(bins.Exported(255), (std::vector<int>{1, 2, 3, 8})) << "a bad list leaves the old choice";
    }
}
