// Start-up and shut-down of the main window: order, options file, window layout, command line.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/InformationWindow.h"
#include "app/WindowLayouts.h"
#include "platform/Twips.h"

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>

#include <fstream>
#include <vector>

namespace mvx::test {
namespace {

using StartUp = AppTest;

TEST_F(StartUp, FreshInstallationStartsWithDefaultsAndAnEmptyInformationWindow) {
    form_->Form_Load("");
    EXPECT_EQ(form_->windowTitle(), "Marevox");
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    if (avail.width() >= 1024 && avail.height() >= 768) {
        EXPECT_EQ(form_->size(), QSize(1024, 768));
        EXPECT_FALSE(form_->isMaximized());
    } else {
        EXPECT_TRUE(form_->isMaximized());
    }
    const Options& o = app_->Core.Opts;
    EXPECT_EQ(o.ContourDataType, 500);
    EXPECT_EQ(o.ContourScaleMode, 4);
    EXPECT_EQ(o.MaxSubEnsembles, 256);
    EXPECT_TRUE(o.ProfileDataTypes[14] && o.ProfileDataTypes[15]);
    EXPECT_FALSE(app_->Core.Set.FileValid);
    EXPECT_EQ(form_->RecentIndex, 0);
    for (int k = 1; k <= 8; ++k) EXPECT_FALSE(form_->Menu().Old_File(k)->isVisible());
    EXPECT_TRUE(form_->Menu().Show_Info->isChecked());
    EXPECT_TRUE(form_->Info().isVisible());
    EXPECT_EQ(form_->Info().Text(), "");
    EXPECT_EQ(form_->Info().windowTitle(), "Marevox Information");
    EXPECT_FALSE(form_->Timer1().isActive());
    // No file asked for, no dialog shown.
    EXPECT_TRUE(dialogs_.Asked.empty());
    // The recent-files list is created (empty) in the settings folder.
    EXPECT_TRUE(std::filesystem::exists(config_ / "marevox" / "MRVXFile.txt"));
}

TEST_F(StartUp, RunsColourTableAndRecentMenuBeforeOpeningTheCommandLineFile) {
    const std::string file = SimulatedFile(9);
    {
        std::filesystem::create_directories(config_ / "marevox");
        std::ofstream recent(config_ / "marevox" / "MRVXFile.txt", std::ios::binary);
        recent << "\"/somewhere/else.000\"\r\n";
    }
    std::vector<std::string> order;
    form_->Hooks().Init_Color_Table = [&] { order.push_back("colour"); };
    form_->Hooks().Stop_Animate = [&] {
        // The Open command runs last: the recent-files menu is already filled.
        order.push_back("open");
        EXPECT_TRUE(form_->Menu().Old_File(1)->isVisible());
        EXPECT_EQ(form_->Menu().Old_File(1)->text(), "/somewhere/else.000");
        EXPECT_EQ(form_->CommandLine, file);
    };
    EXPECT_EQ(app_->ColorTable[AboveScaleColor], 0u);
    form_->Form_Load("\"" + file + "\"");
    ASSERT_EQ(order, (std::vector<std::string>{"colour", "open"}));
    // The palette is built: above-scale white, bad-data black.
    EXPECT_EQ(app_->ColorTable[AboveScaleColor], Rgb(255, 255, 255));
    EXPECT_EQ(app_->ColorTable[BadDataColor], Rgb(0, 0, 0));
    // The quotes were taken off the name that was opened.
    EXPECT_EQ(form_->Recent_Captions()[0], file);
    EXPECT_EQ(form_->Recent_Captions()[1], "/somewhere/else.000");
    EXPECT_TRUE(form_->CommandLine.empty());
}

TEST_F(StartUp, OptionsFileOverridesTheDefaultsAndPlacesTheWindows) {
    Options saved;
    saved.MaxSubEnsembles = 512;
    saved.ContourDataType = 300;
    saved.Windows[kLayoutInformation] = WindowLayout{300, 150, 4500, 3000, 0};
    saved.WindowMenuChecks[kMenuInformation] = true;
    std::filesystem::create_directories(config_ / "marevox");
    ASSERT_TRUE(Save_Options(saved, (config_ / "marevox" / "MRVXOps.Txt").string()));

    form_->Form_Load("");
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 512);
    EXPECT_EQ(app_->Core.Opts.ContourDataType, 300);
    const double tpp = TwipsPerPixel(form_.get());
    const QRect g = form_->Info().geometry();
    EXPECT_EQ(g.x(), TwipsToPixels(300, tpp));
    EXPECT_EQ(g.y(), TwipsToPixels(150, tpp));
    EXPECT_EQ(g.width(), TwipsToPixels(4500, tpp));
    EXPECT_EQ(g.height(), TwipsToPixels(3000, tpp));
    EXPECT_TRUE(form_->Info().isVisible());
}

TEST_F(StartUp, UncheckedInformationItemHidesItsWindow) {
    Options saved;
    saved.WindowMenuChecks[kMenuInformation] = false;
    saved.WindowMenuChecks[kMenuViewer] = true;
    std::filesystem::create_directories(config_ / "marevox");
    ASSERT_TRUE(Save_Options(saved, (config_ / "marevox" / "MRVXOps.Txt").string()));
    form_->Form_Load("");
    EXPECT_FALSE(form_->Menu().Show_Info->isChecked());
    EXPECT_FALSE(form_->Info().isVisible());
    // The viewer is wanted but does not exist yet: its item shows no mark.
    EXPECT_TRUE(form_->Window_Wanted(ChildWindow::Viewer));
    EXPECT_FALSE(form_->Menu().Show_Data_Viewer->isChecked());
}

TEST_F(StartUp, OptionsOfAnotherVersionAreIgnored) {
    Options saved;
    saved.MaxSubEnsembles = 1024;
    const auto path = config_ / "marevox" / "MRVXOps.Txt";
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(Save_Options(saved, path.string()));
    std::string text = ReadText(path);
    const size_t eol = text.find('\n');
    ASSERT_NE(eol, std::string::npos);
    text = "\"1.12.0\"\r" + text.substr(eol);
    WriteAll(path, std::vector<uint8_t>(text.begin(), text.end()));
    form_->Form_Load("");
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 256);
}

TEST_F(StartUp, ShutDownSavesOptionsWithLayoutAndMenuChecks) {
    form_->Form_Load("");
    form_->Info().setGeometry(40, 20, 300, 200);
    form_->Show_Info_Click(); // unchecks and hides the information window
    app_->Core.Opts.MaxSubEnsembles = 1000;
    form_->close();

    Options back;
    ASSERT_TRUE(Load_Options(back, form_->Options_Path()));
    EXPECT_EQ(back.MaxSubEnsembles, 1000);
    EXPECT_FALSE(back.WindowMenuChecks[kMenuInformation]);
    const double tpp = TwipsPerPixel(form_.get());
    EXPECT_EQ(back.Windows[kLayoutInformation].Left, PixelsToTwips(40, tpp));
    EXPECT_EQ(back.Windows[kLayoutInformation].Width, PixelsToTwips(300, tpp));
    EXPECT_EQ(back.Windows[kLayoutInformation].Height, PixelsToTwips(200, tpp));
    EXPECT_EQ(back.Windows[kLayoutMain].Width, PixelsToTwips(form_->normalGeometry().width(), tpp));

    // The next start puts everything back.
    Restart();
    form_->Form_Load("");
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 1000);
    EXPECT_FALSE(form_->Info().isVisible());
    EXPECT_EQ(form_->Info().geometry(), QRect(40, 20, 300, 200));
}

TEST(WindowLayoutRecord, MinusOneKeepsAValueAndOnlyStatesZeroToTwoApply) {
    const QRect current(10, 20, 300, 400);
    // 15 twips per pixel: 1500 twips = 100 pixels.
    const QRect moved = Apply_Layout_Geometry(current, WindowLayout{1500, 3000, -1, 1500, 7}, 15);
    EXPECT_EQ(moved, QRect(100, 200, 300, 100));
    EXPECT_EQ(Apply_Layout_Geometry(current, WindowLayout{-1, -1, -1, -1, 0}, 15), current);
    EXPECT_TRUE(Layout_State_Valid(0));
    EXPECT_TRUE(Layout_State_Valid(2));
    EXPECT_FALSE(Layout_State_Valid(5));
    EXPECT_FALSE(Layout_State_Valid(-1));
    const WindowLayout read = Layout_From_Pixels(QRect(2, 4, 600, 300), 1, 15);
    EXPECT_EQ(read.Left, 30);
    EXPECT_EQ(read.Top, 60);
    EXPECT_EQ(read.Width, 9000);
    EXPECT_EQ(read.Height, 4500);
    EXPECT_EQ(read.State, 1);
}

TEST(WindowLayoutRecord, UsableOnlyWhenLargeEnoughAndReachable) {
    const QRect area(0, 0, 800, 600);
    const std::pair<QRect, bool> cases[] = {
        {{0, 0, 300, 200}, true},    {{700, 500, 300, 200}, true}, // top edge and a corner inside
        {{0, 0, 120, 42}, false},    {{0, 0, 99, 200}, false},     // a title strip; too narrow
        {{790, 0, 300, 200}, false}, {{-260, 0, 300, 200}, false}, // off the right; off the left
        {{0, -10, 300, 200}, false}, {{0, 580, 300, 200}, false}}; // title above; below the area
    for (const auto& [geometry, usable] : cases)
        EXPECT_EQ(Layout_Usable(geometry, area), usable) << geometry.x();
}

TEST_F(StartUp, LayoutWithStateFiveLeavesTheWindowNormal) {
    form_->Form_Load("");
    auto& info = form_->Info();
    info.showMinimized();
    const QRect area = form_->Area()->viewport()->rect();
    Apply_Window_Layout(&info, WindowLayout{-1, -1, -1, -1, 5}, 15, area);
    EXPECT_FALSE(info.isMinimized());
    EXPECT_FALSE(info.isMaximized());
    Apply_Window_Layout(&info, WindowLayout{-1, -1, -1, -1, 1}, 15, area);
    EXPECT_TRUE(info.isMinimized());
    // Reading a minimised child gives its normal-state geometry and state 1, and leaves it minimised.
    info.showNormal();
    info.setGeometry(15, 30, 450, 150);
    info.showMinimized();
    const WindowLayout read = Read_Window_Layout(&info, 15);
    EXPECT_EQ(read.State, 1);
    EXPECT_EQ(read.Left, 225);
    EXPECT_EQ(read.Width, 6750);
    EXPECT_TRUE(info.isMinimized());
}

TEST_F(StartUp, CommandLineWithMonitorDigitsSwitchesMonitoringOn) {
    const std::string file = SimulatedFile(9);
    form_->Form_Load(file + " -M0030");
    EXPECT_EQ(form_->Monitor_Interval(), 30);
    EXPECT_EQ(form_->Monitor_File(), file);
    EXPECT_TRUE(form_->Menu().AutoTrack->isChecked());
    EXPECT_TRUE(app_->Core.Menus.MonitorOn);
    EXPECT_TRUE(form_->Timer1().isActive());
    EXPECT_EQ(form_->Timer1().interval(), 1000);
    // The file itself (without the switch) was opened.
    EXPECT_EQ(form_->Recent_Captions()[0], file);
    // Monitoring keeps the menus disabled after the open.
    EXPECT_FALSE(form_->Menu().Select_File->isEnabled());
    EXPECT_TRUE(form_->Menu().AT->isEnabled());
}

TEST_F(StartUp, MonitorDigitsZeroGiveOneSecond) {
    const std::string file = SimulatedFile(9);
    form_->Form_Load(file + " -M0000");
    EXPECT_EQ(form_->Monitor_Interval(), 1);
    EXPECT_EQ(form_->Monitor_File(), file);
    // Without the switch the whole text is the file name and nothing is monitored.
    Restart();
    form_->Form_Load(file);
    EXPECT_FALSE(form_->Menu().AutoTrack->isChecked());
    EXPECT_TRUE(form_->Monitor_File().empty());
}

} // namespace
} // namespace mvx::test
