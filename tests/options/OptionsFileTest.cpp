#include "options/OptionsFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
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
    o.ShowLocators = o.ShowGrid = o.ProfileLines = o.ProfileGrid = o.SeriesCombo = o.SeriesLines = false;
    o.SeriesGrid = o.SeriesAverageAll = o.SeriesAverageOn = o.AncLines = o.AncGrid = false;
    o.ShowBTDepth = o.ProfileSymbols = o.SeriesSymbols = o.AncSymbols = o.TrackLeftToRight = true;
    o.ContourDataType = 3000;
    for (std::size_t k = 0; k < o.ProfileDataTypes.size(); ++k) o.ProfileDataTypes[k] = k % 3 == 0;
    for (std::size_t k = 0; k < 7; ++k) {
        o.ProfileScaleMin[k] = -10.5 - static_cast<double>(k);
        o.ProfileScaleMax[k] = 1.0 / 3.0 + static_cast<double>(k);
    }
    for (std::size_t k = 0; k < 36; ++k) o.SeriesDataTypes[k] = k % 4 == 1;
    for (std::size_t k = 0; k < 5; ++k) {
        o.SeriesScaleMin[k] = 0.1 * static_cast<double>(k + 1);
        o.SeriesScaleMax[k] = 2.5e10 + static_cast<double>(k);
    }
    o.SeriesAverageInterval = 3600.25;
    for (std::size_t k = 0; k < 8; ++k) o.AncDataTypes[k] = k % 2 == 0;
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
    o.TrackSpeedUnits = {false, true, false};
    o.TrackDepthUnits = {false, false, true};
    o.TrackProperty = -47.5;
    o.TrackSelectAuto = {false, false, true};
    return o;
}

// Every value the file holds (whole arrays: the entries outside the file keep their defaults here).
auto FileValues(const Options& o) {
    return std::tie(
        o.ContourScaleMode, o.ContourUserScale, o.ShowLocators, o.ShowGrid, o.ContourDataType, o.ShowBTDepth,
        o.ProfileDataTypes, o.ProfileLines, o.ProfileSymbols, o.ProfileGrid, o.ProfileScaleMin,
        o.ProfileScaleMax, o.ProfileEnsNumber, o.SeriesCombo, o.SeriesLines, o.SeriesSymbols, o.SeriesGrid,
        o.SeriesDataTypes, o.SeriesScaleMin, o.SeriesScaleMax, o.SeriesAverageInterval, o.SeriesAverageAll,
        o.SeriesAverageOn, o.SeriesBinSelect, o.AncDataTypes, o.AncLines, o.AncSymbols, o.AncGrid,
        o.AncScaleMin, o.AncScaleMax, o.WaterDensity, o.VelocityReference, o.WaterVelScale, o.BottomVelScale,
        o.EndOfProfile, o.MaxSubEnsembles, o.ContourHeightShare, o.ProfileWidthShare, o.WindowMenuChecks,
        o.TrackLeftToRight, o.TrackSpeedUnits, o.TrackDepthUnits, o.TrackProperty, o.TrackSelectAuto);
}

void ExpectSameFileValues(const Options& a, const Options& b) {
    EXPECT_EQ(FileValues(a), FileValues(b));
    for (std::size_t w = 0; w < 5; ++w) {
        const WindowLayout &x = a.Windows[w], &y = b.Windows[w];
        EXPECT_EQ(std::tie(x.Left, x.Top, x.Width, x.Height, x.State),
                  std::tie(y.Left, y.Top, y.Width, y.Height, y.State))
            << "window " << w;
    }
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
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
    o.Windows[kLayoutSubSet].Left = 4001;
    DisplayTables tables;
    Load_Default_Options(o, &tables);
    EXPECT_EQ(o.ContourDataType, 500);
    EXPECT_EQ(o.MaxSubEnsembles, 256);
    for (std::size_t k = 0; k < 23; ++k) EXPECT_EQ(o.ProfileDataTypes[k], k == 14 || k == 15) << k;
    for (std::size_t k = 0; k < 37; ++k) EXPECT_EQ(o.SeriesDataTypes[k], k == 14 || k == 15) << k;
    EXPECT_EQ(o.AncScaleMax[4], 300);               // depth
    EXPECT_EQ(o.Windows[kLayoutSubSet].Left, 4001); // the window layout is left alone
    ASSERT_EQ(tables.ContourTypeNames.size(), 19u);
    EXPECT_EQ(tables.ContourTypeNames[4], "Amplitude Four Beam Avgerage");
    EXPECT_EQ(tables.ContourTypeNames[18], "Percent Good 4");
    EXPECT_EQ(tables.ReferenceNames, (std::vector<std::string>{"None", "Bottom", "Navigation"}));
}

TEST(OptionsFile, EveryRecordSitsOnItsOwnCrLfLine) {
    Options o;
    o.ProfileDataTypes[22] = true;
    o.SeriesDataTypes[35] = true;
    o.SeriesAverageInterval = 3600;
    o.SeriesBinSelect[1] = o.SeriesBinSelect[255] = true;
    o.MaxSubEnsembles = 512;
    o.ProfileWidthShare = 0.25;
    o.Windows[kLayoutSubSet].State = 2;
    o.TrackSelectAuto[2] = true;
    const std::string text = SavedText(o);
    const auto lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), kFileLines);
    // As many line feeds as lines: every line, the last one too, ends with CR LF.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<std::ptrdiff_t>(kFileLines));
    // Line numbers from the hand count above (1-based in the comments, 0-based below).
    EXPECT_EQ(lines[0], "\"1.13.0\"");
    EXPECT_EQ(lines[2], "-1000");    // 3: user scale minimum
    EXPECT_EQ(lines[30], "#TRUE#");  // 31: profile type 22
    EXPECT_EQ(lines[87], "#TRUE#");  // 88: series type 35
    EXPECT_EQ(lines[98], "3600");    // 99: averaging interval
    EXPECT_EQ(lines[135], "#TRUE#"); // 136: bin 1
    EXPECT_EQ(lines[389], "#TRUE#"); // 390: bin 255
    EXPECT_EQ(lines[399], "512");    // 400: capacity
    EXPECT_EQ(lines[401], "0.25");   // 402: profile share
    EXPECT_EQ(lines[426], "2");      // 427: sub-set window state
    EXPECT_EQ(lines[442], "#TRUE#"); // 443: last projection item
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

TEST(OptionsFile, AnotherVersionIsIgnoredCompletely) {
    auto lines = SplitCrLf(SavedText(NonDefaultOptions()));
    const Options defaults;
    for (const char* version : {"\"1.12.0\"", "\"1.13.1\"", ""}) {
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

TEST(OptionsFile, TruncatedFileKeepsWhatWasReadAndDefaultsForTheRest) {
    const Options full = NonDefaultOptions();
    auto lines = SplitCrLf(SavedText(full));
    lines.resize(100); // through line 100, "All" of the averaging
    bool accepted = false;
    const Options o = LoadedFrom(JoinCrLf(lines), &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(o.SeriesScaleMax, full.SeriesScaleMax);
    EXPECT_FALSE(o.SeriesAverageAll);
    EXPECT_TRUE(o.SeriesAverageOn); // line 101 was cut
    EXPECT_EQ(o.MaxSubEnsembles, 256);
    EXPECT_EQ(o.Windows[kLayoutMain].Left, -1);

    // Cut in the middle of the last record, without a line end.
    const Options cut =
        LoadedFrom(JoinCrLf(std::vector<std::string>(lines.begin(), lines.begin() + 5)) + "#TR");
    EXPECT_EQ(cut.ContourUserScale, (std::array<int32_t, 2>{-333, 777}));
    EXPECT_TRUE(cut.ShowGrid); // "#TR" is no Boolean
}

TEST(OptionsFile, UnreadableValueKeepsItsVariableAndReadingGoesOn) {
    auto lines = SplitCrLf(SavedText(NonDefaultOptions()));
    lines[1] = "abc";                      // scale mode: garbage
    lines[34] = "#TRUE#";                  // profile scale: a Boolean is no number
    lines[98] = "1e999";                   // interval: not finite
    lines[134] = std::string(100000, '9'); // profile ensemble: an overlong line
    lines[399] = "100000000";              // capacity: would size a huge data set
    lines[402] = "99999999999";            // main window left: beyond 32 bits
    const Options o = LoadedFrom(JoinCrLf(lines));
    const Options defaults;
    const Options full = NonDefaultOptions();
    EXPECT_EQ(o.ContourScaleMode, defaults.ContourScaleMode);
    EXPECT_EQ(o.ProfileScaleMin[0], defaults.ProfileScaleMin[0]);
    EXPECT_EQ(o.SeriesAverageInterval, defaults.SeriesAverageInterval);
    EXPECT_EQ(o.ProfileEnsNumber, defaults.ProfileEnsNumber);
    EXPECT_EQ(o.MaxSubEnsembles, defaults.MaxSubEnsembles);
    EXPECT_EQ(o.Windows[kLayoutMain].Left, -1);
    // The neighbours of every bad line were read.
    EXPECT_EQ(o.ContourUserScale, full.ContourUserScale);
    EXPECT_EQ(o.ProfileScaleMin[1], full.ProfileScaleMin[1]);
    EXPECT_EQ(o.SeriesBinSelect, full.SeriesBinSelect); // after the overlong line
    EXPECT_EQ(o.Windows[kLayoutMain].Top, full.Windows[kLayoutMain].Top);
    EXPECT_EQ(o.TrackSelectAuto, full.TrackSelectAuto);
}

TEST(OptionsFile, ReadsOtherLineEndsAndBlanksButNoMissingFile) {
    const Options full = NonDefaultOptions();
    std::string lf;
    for (const auto& l : SplitCrLf(SavedText(full))) lf += "  " + l + "\t\n";
    ExpectSameFileValues(full, LoadedFrom(lf));
    Options o;
    EXPECT_FALSE(Load_Options(o, (test::ScratchDir() / "none.txt").string()));
    EXPECT_FALSE(Load_Options(o, test::ScratchDir().string())); // a folder
    ExpectSameFileValues(Options{}, o);
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
    const fs::path xdg = test::ScratchDir(), home = test::ScratchDir();
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";

    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    EXPECT_EQ(StandardOptionsPath(), (xdg / "marevox" / "MRVXOps.Txt").string());
    EXPECT_EQ(StandardRecentPath(), (xdg / "marevox" / "MRVXFile.txt").string());
    EXPECT_TRUE(fs::is_directory(xdg / "marevox"));
    setenv("XDG_CONFIG_HOME", "relative/path", 1); // not absolute: ignored
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(ConfigFolder(), (home / ".config" / "marevox").string());

    oldXdg ? setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}
