#include "options/OptionsFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using namespace mvx;
namespace fs = std::filesystem;

namespace {

// Every value in the file set away from its default, with a different value per index, so a record
// written or read at the wrong place shows up as a wrong value.
Options NonDefaultOptions() {
    Options o;
    o.ContourScaleMode = 2;
    o.ContourUserScale = {-333, 777};
    o.ShowLocators = false;
    o.ShowGrid = false;
    o.ContourDataType = 3000;
    o.ShowBTDepth = true;
    for (std::size_t k = 0; k < o.ProfileDataTypes.size(); ++k) o.ProfileDataTypes[k] = k % 3 == 0;
    o.ProfileLines = false;
    o.ProfileSymbols = true;
    o.ProfileGrid = false;
    for (std::size_t k = 0; k < 7; ++k) {
        o.ProfileScaleMin[k] = -10.5 - static_cast<double>(k);
        o.ProfileScaleMax[k] = 1.0 / 3.0 + static_cast<double>(k);
    }
    o.SeriesCombo = false;
    o.SeriesLines = false;
    o.SeriesSymbols = true;
    o.SeriesGrid = false;
    for (std::size_t k = 0; k < 36; ++k) o.SeriesDataTypes[k] = k % 4 == 1;
    for (std::size_t k = 0; k < 5; ++k) {
        o.SeriesScaleMin[k] = 0.1 * static_cast<double>(k + 1);
        o.SeriesScaleMax[k] = 2.5e10 + static_cast<double>(k);
    }
    o.SeriesAverageInterval = 3600.25;
    o.SeriesAverageAll = false;
    o.SeriesAverageOn = false;
    for (std::size_t k = 0; k < 8; ++k) o.AncDataTypes[k] = k % 2 == 0;
    o.AncLines = false;
    o.AncSymbols = true;
    o.AncGrid = false;
    for (std::size_t k = 0; k < 11; ++k) {
        o.AncScaleMin[k] = -1e-7 * static_cast<double>(k + 1);
        o.AncScaleMax[k] = 1000.125 + static_cast<double>(k);
    }
    o.ProfileEnsNumber = 123456;
    for (std::size_t bin = 1; bin <= 255; ++bin) o.SeriesBinSelect[bin] = bin % 5 == 1;
    o.WaterDensity = 1025.3f;
    o.VelocityReference = 5;
    o.WaterVelScale = 0.987654321;
    o.BottomVelScale = 1.0000001;
    o.EndOfProfile = {true, false, true, true, false};
    o.MaxSubEnsembles = 4096;
    o.ContourHeightShare = 0.6180339887;
    o.ProfileWidthShare = 0.125;
    for (std::size_t w = 0; w < 5; ++w) {
        const auto base = static_cast<int32_t>(w * 1000);
        o.Windows[w] = {base + 1, base + 2, base + 3, base + 4, static_cast<int32_t>(w % 3)};
    }
    o.WindowMenuChecks = {true, false, true, true, false};
    o.TrackLeftToRight = true;
    o.TrackSpeedUnits = {false, true, false};
    o.TrackDepthUnits = {false, false, true};
    o.TrackProperty = -47.5;
    o.TrackSelectAuto = {false, false, true};
    return o;
}

// Field by field, for every value the file holds.
void ExpectSameFileValues(const Options& a, const Options& b) {
    EXPECT_EQ(a.ContourScaleMode, b.ContourScaleMode);
    EXPECT_EQ(a.ContourUserScale, b.ContourUserScale);
    EXPECT_EQ(a.ShowLocators, b.ShowLocators);
    EXPECT_EQ(a.ShowGrid, b.ShowGrid);
    EXPECT_EQ(a.ContourDataType, b.ContourDataType);
    EXPECT_EQ(a.ShowBTDepth, b.ShowBTDepth);
    EXPECT_EQ(a.ProfileDataTypes, b.ProfileDataTypes);
    EXPECT_EQ(a.ProfileLines, b.ProfileLines);
    EXPECT_EQ(a.ProfileSymbols, b.ProfileSymbols);
    EXPECT_EQ(a.ProfileGrid, b.ProfileGrid);
    EXPECT_EQ(a.ProfileScaleMin, b.ProfileScaleMin);
    EXPECT_EQ(a.ProfileScaleMax, b.ProfileScaleMax);
    EXPECT_EQ(a.ProfileEnsNumber, b.ProfileEnsNumber);
    EXPECT_EQ(a.SeriesCombo, b.SeriesCombo);
    EXPECT_EQ(a.SeriesLines, b.SeriesLines);
    EXPECT_EQ(a.SeriesSymbols, b.SeriesSymbols);
    EXPECT_EQ(a.SeriesGrid, b.SeriesGrid);
    for (std::size_t k = 0; k < 36; ++k) EXPECT_EQ(a.SeriesDataTypes[k], b.SeriesDataTypes[k]) << k;
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(a.SeriesScaleMin[k], b.SeriesScaleMin[k]) << k;
        EXPECT_EQ(a.SeriesScaleMax[k], b.SeriesScaleMax[k]) << k;
    }
    EXPECT_EQ(a.SeriesAverageInterval, b.SeriesAverageInterval);
    EXPECT_EQ(a.SeriesAverageAll, b.SeriesAverageAll);
    EXPECT_EQ(a.SeriesAverageOn, b.SeriesAverageOn);
    for (std::size_t bin = 1; bin <= 255; ++bin)
        EXPECT_EQ(a.SeriesBinSelect[bin], b.SeriesBinSelect[bin]) << bin;
    EXPECT_EQ(a.AncDataTypes, b.AncDataTypes);
    EXPECT_EQ(a.AncLines, b.AncLines);
    EXPECT_EQ(a.AncSymbols, b.AncSymbols);
    EXPECT_EQ(a.AncGrid, b.AncGrid);
    EXPECT_EQ(a.AncScaleMin, b.AncScaleMin);
    EXPECT_EQ(a.AncScaleMax, b.AncScaleMax);
    EXPECT_EQ(a.WaterDensity, b.WaterDensity);
    EXPECT_EQ(a.VelocityReference, b.VelocityReference);
    EXPECT_EQ(a.WaterVelScale, b.WaterVelScale);
    EXPECT_EQ(a.BottomVelScale, b.BottomVelScale);
    EXPECT_EQ(a.EndOfProfile, b.EndOfProfile);
    EXPECT_EQ(a.MaxSubEnsembles, b.MaxSubEnsembles);
    EXPECT_EQ(a.ContourHeightShare, b.ContourHeightShare);
    EXPECT_EQ(a.ProfileWidthShare, b.ProfileWidthShare);
    for (std::size_t w = 0; w < 5; ++w) {
        EXPECT_EQ(a.Windows[w].Left, b.Windows[w].Left) << w;
        EXPECT_EQ(a.Windows[w].Top, b.Windows[w].Top) << w;
        EXPECT_EQ(a.Windows[w].Width, b.Windows[w].Width) << w;
        EXPECT_EQ(a.Windows[w].Height, b.Windows[w].Height) << w;
        EXPECT_EQ(a.Windows[w].State, b.Windows[w].State) << w;
    }
    EXPECT_EQ(a.WindowMenuChecks, b.WindowMenuChecks);
    EXPECT_EQ(a.TrackLeftToRight, b.TrackLeftToRight);
    EXPECT_EQ(a.TrackSpeedUnits, b.TrackSpeedUnits);
    EXPECT_EQ(a.TrackDepthUnits, b.TrackDepthUnits);
    EXPECT_EQ(a.TrackProperty, b.TrackProperty);
    EXPECT_EQ(a.TrackSelectAuto, b.TrackSelectAuto);
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

std::string SavedText(const Options& o) {
    std::ostringstream out;
    Write_Options(o, out);
    return out.str();
}

Options LoadedFrom(const std::string& text, bool* accepted = nullptr) {
    Options o;
    Load_Default_Options(o);
    std::istringstream in(text);
    const bool ok = Read_Options(o, in);
    if (accepted) *accepted = ok;
    return o;
}

// Records 1..32 and their line counts, counted by hand: version 1, scale mode 1, user scale 2, locators,
// grid, data type, BT depth 4 (8 so far); profile types 23 (31), profile style 3 (34), profile scales 14
// (48); series style 4 (52), series types 36 (88), series scales 10 (98), interval, all, on 3 (101); anc
// types 8 (109), anc style 3 (112), anc scales 22 (134); profile ensemble 1 (135); bins 255 (390);
// density, reference, two scale factors 4 (394); end of profile 5 (399); capacity and two shares 3 (402);
// window layout 5 x 5 (427); Window-menu checks 5 (432); track vector 1 + 3 + 3 + 1 + 3 (443).
constexpr std::size_t kFileLines = 443;

} // namespace

TEST(OptionsDefaults, FreshStartShowsMagnitudeWithThreeSigmaScaleAndCapacity256) {
    Options o;
    o.ContourDataType = 1;
    o.ProfileDataTypes[0] = true;
    o.SeriesDataTypes[15] = false;
    o.MaxSubEnsembles = 8192;
    DisplayTables tables;
    Load_Default_Options(o, &tables);
    EXPECT_EQ(o.ContourDataType, 500);
    EXPECT_EQ(o.ContourScaleMode, 4);
    EXPECT_EQ(o.MaxSubEnsembles, 256);
    EXPECT_EQ(o.MaxWholeEnsembles, 256);
    for (std::size_t k = 0; k < 23; ++k) EXPECT_EQ(o.ProfileDataTypes[k], k == 14 || k == 15) << k;
    for (std::size_t k = 0; k < 37; ++k) EXPECT_EQ(o.SeriesDataTypes[k], k == 14 || k == 15) << k;
    // A few table values: depth and battery of the ancillary chart, statistics of the profile.
    EXPECT_EQ(o.AncScaleMin[4], 100);
    EXPECT_EQ(o.AncScaleMax[4], 300);
    EXPECT_EQ(o.AncScaleMin[7], 64);
    EXPECT_EQ(o.AncScaleMax[7], 192);
    EXPECT_EQ(o.ProfileScaleMin[5], -100);
    EXPECT_EQ(o.SeriesAverageInterval, 12 * 3600);
    EXPECT_EQ(OptionsVersion(), "1.13.0");

    ASSERT_EQ(tables.ContourTypeNames.size(), 19u);
    EXPECT_EQ(tables.ContourTypeNames[3], "Amplitude Beam 4");
    EXPECT_EQ(tables.ContourTypeNames[4], "Amplitude Four Beam Avgerage");
    EXPECT_EQ(tables.ContourTypeNames[9], "Correlation Four Beam Avgerage");
    EXPECT_EQ(tables.ContourTypeNames[14], "Magnitude");
    EXPECT_EQ(tables.ContourTypeNames[18], "Percent Good 4");
    EXPECT_EQ(tables.ReferenceNames, (std::vector<std::string>{"None", "Bottom", "Navigation"}));
    EXPECT_EQ(tables.AncUnits.back(), "m");
    ASSERT_EQ(tables.SeriesLabels.size(), 16u);
    EXPECT_EQ(tables.SeriesLabels[14], "Bm4");
    ASSERT_EQ(tables.ProfileLabels.size(), 20u);
    EXPECT_EQ(tables.ProfileLabels[16], "PG4");
    EXPECT_EQ(tables.ProfileLabels[19], "% Good");
    EXPECT_EQ(tables.ProfileUnits[4], "degrees");
}

TEST(OptionsDefaults, DefaultsLeaveTheWindowLayoutAlone) {
    Options o = NonDefaultOptions();
    Load_Default_Options(o);
    EXPECT_EQ(o.ContourScaleMode, 4);
    EXPECT_TRUE(o.ShowLocators);
    EXPECT_EQ(o.Windows[kLayoutSubSet].Left, 4001);
    EXPECT_TRUE(o.WindowMenuChecks[kMenuTrackVector]);
    EXPECT_EQ(o.TrackProperty, -47.5);
}

TEST(OptionsFile, DefaultFileHasEveryRecordOnItsOwnCrLfLine) {
    Options o;
    Load_Default_Options(o);
    const std::string text = SavedText(o);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    std::size_t bareLf = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ++bareLf;
    EXPECT_EQ(bareLf, 0u);
    const auto lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), kFileLines);
    EXPECT_EQ(lines[0], "\"1.13.0\"");
    EXPECT_EQ(lines[1], "4");
    EXPECT_EQ(lines[2], "-1000");
    EXPECT_EQ(lines[3], "1000");
    EXPECT_EQ(lines[4], "#TRUE#");
    EXPECT_EQ(lines[6], "500");
    EXPECT_EQ(lines[7], "#FALSE#");
    EXPECT_EQ(lines[98], "43200");
    EXPECT_EQ(lines[399], "256");
    EXPECT_EQ(std::stod(lines[400]), 0.5); // the exact spelling of a fraction is ours to choose
}

TEST(OptionsFile, EachRecordSitsOnItsLine) {
    Options o;
    o.ContourDataType = 3000;
    o.ProfileDataTypes[22] = true;
    o.ProfileScaleMax[6] = 77;
    o.SeriesDataTypes[35] = true;
    o.SeriesScaleMax[4] = 271;
    o.SeriesAverageInterval = 3600;
    o.AncScaleMax[10] = 33;
    o.ProfileEnsNumber = 123;
    o.SeriesBinSelect[1] = o.SeriesBinSelect[255] = true;
    o.WaterDensity = 1025;
    o.MaxSubEnsembles = 512;
    o.ProfileWidthShare = 0.25;
    o.Windows[kLayoutMain].Left = 11;
    o.Windows[kLayoutWholeSet].Left = 22;
    o.Windows[kLayoutSubSet].State = 2;
    o.WindowMenuChecks[kMenuViewer] = true;
    o.TrackLeftToRight = true;
    o.TrackProperty = 12.5;
    o.TrackSelectAuto[2] = true;
    const auto lines = SplitCrLf(SavedText(o));
    ASSERT_EQ(lines.size(), kFileLines);
    // Line numbers from the hand count above (1-based in the comments, 0-based below).
    EXPECT_EQ(lines[6], "3000");      // 7: data type
    EXPECT_EQ(lines[29], "#FALSE#");  // 30: profile type 21
    EXPECT_EQ(lines[30], "#TRUE#");   // 31: profile type 22
    EXPECT_EQ(lines[47], "77");       // 48: percent-good maximum
    EXPECT_EQ(lines[86], "#FALSE#");  // 87: series type 34
    EXPECT_EQ(lines[87], "#TRUE#");   // 88: series type 35
    EXPECT_EQ(lines[97], "271");      // 98: direction maximum
    EXPECT_EQ(lines[98], "3600");     // 99: averaging interval
    EXPECT_EQ(lines[133], "33");      // 134: anc direction maximum
    EXPECT_EQ(lines[134], "123");     // 135: profile ensemble
    EXPECT_EQ(lines[135], "#TRUE#");  // 136: bin 1
    EXPECT_EQ(lines[136], "#FALSE#"); // 137: bin 2
    EXPECT_EQ(lines[389], "#TRUE#");  // 390: bin 255
    EXPECT_EQ(lines[390], "1025");    // 391: density
    EXPECT_EQ(lines[399], "512");     // 400: capacity
    EXPECT_EQ(lines[401], "0.25");    // 402: profile share
    EXPECT_EQ(lines[402], "11");      // 403: main window left
    EXPECT_EQ(lines[407], "22");      // 408: whole-set window left
    EXPECT_EQ(lines[426], "2");       // 427: sub-set window state
    EXPECT_EQ(lines[431], "#TRUE#");  // 432: "&Viewer" check
    EXPECT_EQ(lines[432], "#TRUE#");  // 433: time origin on the left
    EXPECT_EQ(lines[439], "12.5");    // 440: the track vector double
    EXPECT_EQ(lines[441], "#FALSE#"); // 442
    EXPECT_EQ(lines[442], "#TRUE#");  // 443: last projection item
}

TEST(OptionsFile, SaveThenLoadReproducesEveryValue) {
    const fs::path path = test::ScratchDir() / "MRVXOps.Txt";
    const Options saved = NonDefaultOptions();
    ASSERT_TRUE(Save_Options(saved, path.string()));
    Options loaded;
    Load_Default_Options(loaded);
    ASSERT_TRUE(Load_Options(loaded, path.string()));
    ExpectSameFileValues(saved, loaded);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1);
}

TEST(OptionsFile, ValuesOutsideTheFileStayAsTheyWere) {
    Options saved = NonDefaultOptions();
    saved.MaxWholeEnsembles = 999;
    saved.MonitorInterval = 77;
    saved.SeriesScaleMin[5] = -5; // percent good of the series is not kept
    saved.SeriesScaleMax[5] = 55;
    saved.SeriesDataTypes[36] = true;
    saved.SeriesBinSelect[0] = true;
    const Options loaded = LoadedFrom(SavedText(saved));
    const Options defaults;
    EXPECT_EQ(loaded.MaxWholeEnsembles, defaults.MaxWholeEnsembles);
    EXPECT_EQ(loaded.MonitorInterval, defaults.MonitorInterval);
    EXPECT_EQ(loaded.SeriesScaleMin[5], 0);
    EXPECT_EQ(loaded.SeriesScaleMax[5], 100);
    EXPECT_FALSE(loaded.SeriesDataTypes[36]);
    EXPECT_FALSE(loaded.SeriesBinSelect[0]);
}

TEST(OptionsFile, AnotherVersionIsIgnoredCompletely) {
    auto lines = SplitCrLf(SavedText(NonDefaultOptions()));
    const Options defaults;
    for (const char* version : {"\"1.12.0\"", "\"1.12.7\"", "\"1.13.1\"", "\"1.13\"", "", "1.12.0"}) {
        lines[0] = version;
        bool accepted = true;
        const Options o = LoadedFrom(JoinCrLf(lines), &accepted);
        EXPECT_FALSE(accepted) << version;
        ExpectSameFileValues(defaults, o);
    }
    lines[0] = "1.13.0"; // the version without its quotes still reads
    bool accepted = false;
    ExpectSameFileValues(NonDefaultOptions(), LoadedFrom(JoinCrLf(lines), &accepted));
    EXPECT_TRUE(accepted);
}

TEST(OptionsFile, MissingFileKeepsDefaults) {
    Options o;
    EXPECT_FALSE(Load_Options(o, (test::ScratchDir() / "none.txt").string()));
    EXPECT_FALSE(Load_Options(o, test::ScratchDir().string())); // a folder
    ExpectSameFileValues(Options{}, o);
}

TEST(OptionsFile, TruncatedFileKeepsWhatWasReadAndDefaultsForTheRest) {
    const Options full = NonDefaultOptions();
    auto lines = SplitCrLf(SavedText(full));
    lines.resize(100); // through line 100, "All" of the averaging
    bool accepted = false;
    const Options o = LoadedFrom(JoinCrLf(lines), &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(o.ContourDataType, 3000);
    EXPECT_EQ(o.SeriesScaleMax, full.SeriesScaleMax);
    EXPECT_EQ(o.SeriesAverageInterval, 3600.25);
    EXPECT_FALSE(o.SeriesAverageAll);
    EXPECT_TRUE(o.SeriesAverageOn); // line 101 was cut
    EXPECT_EQ(o.AncDataTypes, Options{}.AncDataTypes);
    EXPECT_EQ(o.MaxSubEnsembles, 256);
    EXPECT_EQ(o.Windows[kLayoutMain].Left, -1);

    // Cut in the middle of the last record, without a line end.
    std::string text = JoinCrLf(std::vector<std::string>(lines.begin(), lines.begin() + 5));
    text += "#TR";
    const Options cut = LoadedFrom(text);
    EXPECT_EQ(cut.ContourUserScale, (std::array<int32_t, 2>{-333, 777}));
    EXPECT_TRUE(cut.ShowGrid); // "#TR" is no Boolean
}

TEST(OptionsFile, UnreadableValueKeepsItsVariableAndReadingGoesOn) {
    auto lines = SplitCrLf(SavedText(NonDefaultOptions()));
    lines[1] = "abc";                      // scale mode: garbage
    lines[4] = "-1";                       // locators: a number is no Boolean
    lines[6] = "7";                        // data type: no such code
    lines[34] = "#TRUE#";                  // profile scale: a Boolean is no number
    lines[36] = "\"5\"";                   // profile scale: a string is no number
    lines[98] = "1e999";                   // interval: not finite
    lines[134] = std::string(100000, '9'); // profile ensemble: an overlong line
    lines[390] = "-4";                     // density: not positive
    lines[391] = "6";                      // reference: no such reference
    lines[399] = "100000000";              // capacity: would size a huge data set
    lines[400] = "1.5";                    // contour share above 1
    lines[402] = "99999999999";            // main window left: beyond 32 bits
    lines[403] = std::string("1\0 2", 4);
    lines[404] = "";
    const Options o = LoadedFrom(JoinCrLf(lines));
    const Options defaults;
    const Options full = NonDefaultOptions();
    EXPECT_EQ(o.ContourScaleMode, defaults.ContourScaleMode);
    EXPECT_EQ(o.ShowLocators, defaults.ShowLocators);
    EXPECT_EQ(o.ContourDataType, defaults.ContourDataType);
    EXPECT_EQ(o.ProfileScaleMin[0], defaults.ProfileScaleMin[0]);
    EXPECT_EQ(o.ProfileScaleMin[1], defaults.ProfileScaleMin[1]);
    EXPECT_EQ(o.SeriesAverageInterval, defaults.SeriesAverageInterval);
    EXPECT_EQ(o.ProfileEnsNumber, defaults.ProfileEnsNumber);
    EXPECT_EQ(o.WaterDensity, defaults.WaterDensity);
    EXPECT_EQ(o.VelocityReference, defaults.VelocityReference);
    EXPECT_EQ(o.MaxSubEnsembles, defaults.MaxSubEnsembles);
    EXPECT_EQ(o.ContourHeightShare, defaults.ContourHeightShare);
    EXPECT_EQ(o.Windows[kLayoutMain].Left, -1);
    EXPECT_EQ(o.Windows[kLayoutMain].Top, -1);
    EXPECT_EQ(o.Windows[kLayoutMain].Width, -1);
    // The neighbours of every bad line were read.
    EXPECT_EQ(o.ContourUserScale, full.ContourUserScale);
    EXPECT_EQ(o.ShowGrid, full.ShowGrid);
    EXPECT_EQ(o.ShowBTDepth, full.ShowBTDepth);
    EXPECT_EQ(o.ProfileScaleMax[0], full.ProfileScaleMax[0]);
    EXPECT_EQ(o.SeriesAverageAll, full.SeriesAverageAll);
    EXPECT_EQ(o.SeriesBinSelect, full.SeriesBinSelect);
    EXPECT_EQ(o.WaterVelScale, full.WaterVelScale);
    EXPECT_EQ(o.ProfileWidthShare, full.ProfileWidthShare);
    EXPECT_EQ(o.Windows[kLayoutMain].Height, full.Windows[kLayoutMain].Height);
    EXPECT_EQ(o.TrackSelectAuto, full.TrackSelectAuto);
}

TEST(OptionsFile, WindowLayoutIsKeptAsReadForTheDesktopToCheck) {
    auto lines = SplitCrLf(SavedText(Options{}));
    lines[424] = "-1"; // sub-set window width
    lines[426] = "5";  // sub-set window state
    lines[422] = "2880";
    const Options o = LoadedFrom(JoinCrLf(lines));
    EXPECT_EQ(o.Windows[kLayoutSubSet].Left, 2880);
    EXPECT_EQ(o.Windows[kLayoutSubSet].Width, -1);
    EXPECT_EQ(o.Windows[kLayoutSubSet].State, 5);
}

TEST(OptionsFile, ReadsOtherLineEndsAndBlanks) {
    const Options full = NonDefaultOptions();
    std::string lf, cr;
    for (const auto& l : SplitCrLf(SavedText(full))) {
        lf += "  " + l + "\t\n";
        cr += l + "\r";
    }
    ExpectSameFileValues(full, LoadedFrom(lf));
    ExpectSameFileValues(full, LoadedFrom(cr));
}

TEST(OptionsFile, FailedSaveLeavesTheOldFileWhole) {
    const fs::path dir = test::ScratchDir();
    const fs::path path = dir / "MRVXOps.Txt";
    ASSERT_TRUE(Save_Options(Options{}, path.string()));
    const std::string before = test::ReadText(path);

    // A file-size limit far below the record makes every write past it fail, like a full disk.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = Save_Options(NonDefaultOptions(), path.string());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(test::ReadText(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_FALSE(Save_Options(Options{}, (dir / "no-such-folder" / "MRVXOps.Txt").string()));
}

TEST(OptionsFile, ConfigFolderFollowsXdgAndFallsBackToHome) {
    const fs::path xdg = test::ScratchDir();
    const fs::path home = test::ScratchDir();
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";

    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    EXPECT_EQ(ConfigFolder(), (xdg / "marevox").string());
    EXPECT_TRUE(fs::is_directory(xdg / "marevox"));
    EXPECT_EQ(StandardOptionsPath(), (xdg / "marevox" / "MRVXOps.Txt").string());
    EXPECT_EQ(StandardRecentPath(), (xdg / "marevox" / "MRVXFile.txt").string());

    setenv("XDG_CONFIG_HOME", "relative/path", 1); // not absolute: ignored
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(ConfigFolder(), (home / ".config" / "marevox").string());
    EXPECT_TRUE(fs::is_directory(home / ".config" / "marevox"));

    if (oldXdg)
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}
