// The Open command, the recent-files list, Flip, Max Ensembles and saving raw sets.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/InformationWindow.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>
#include <fstream>

namespace mvx::test {
namespace {

using OpenCommand = AppTest;

const char* kRealFiles[] = {"up600_beam_9ens.000", "up600_beam_truncated.000", "down600_earth_bt.000",
                            "SHIP300_000001.ENX"};

void ExpectUsable(MainWindow& form, const AppTest& test, bool menusEnabled) {
    EXPECT_FALSE(form.Busy());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.App().Pointer.Shape(), PointerShape::Default);
    (void)test;
    for (const QMenu* menu : form.Menu().Governed()) EXPECT_EQ(menu->isEnabled(), menusEnabled);
}

TEST_F(OpenCommand, EachRealFileLoadsAndShowsItsStatistics) {
    form_->Form_Load("");
    for (const char* name : kRealFiles) {
        SCOPED_TRACE(name);
        SKIP_WITHOUT_DATA_FILE(name);
        dialogs_.OpenAnswers.push_back(DataFile(name));
        OpenCounter finished(*form_);
        form_->Open_File();
        ASSERT_EQ(finished.Count, 1);
        EXPECT_TRUE(finished.LastLoaded);
        EXPECT_TRUE(app_->Core.Set.FileValid);
        EXPECT_EQ(form_->windowTitle().toStdString(), "Marevox - " + DataFile(name));
        EXPECT_EQ(form_->Recent_Captions()[0], DataFile(name));
        // The information window shows the statistics text, with the average interval line last.
        ASSERT_FALSE(app_->Core.Set.StatsText.empty());
        const std::string shown = form_->Info().Text();
        EXPECT_NE(shown.find("Average Ensemble Interval "), std::string::npos);
        std::string expected = app_->Core.Set.StatsText;
        for (size_t p; (p = expected.find("\r\n")) != std::string::npos;) expected.erase(p, 1);
        EXPECT_EQ(shown, expected);
        ExpectUsable(*form_, *this, true);
    }
}

TEST_F(OpenCommand, RealFileCountsMatchTheirRecordings) {
    form_->Form_Load("");
    struct Expect {
        const char* name;
        int32_t fileLast;   // the file's last ensemble as the statistics give it
        int32_t loadedLast; // the last ensemble actually loaded into the sub set
    } expects[] = {
        {"up600_beam_9ens.000", 9, 9},
        // 22 whole ensembles of 874 bytes and a cut-off 23rd: the file ends at its last whole one (the
        // arithmetic's round(20000 / 874) = 23 would promise one that cannot be loaded).
        {"up600_beam_truncated.000", 22, 22},
        // 1721 ensembles of 581 bytes and 99 stray bytes: round(1000000 / 581) = 1721.
        {"down600_earth_bt.000", 1721, 256},
    };
    for (const auto& e : expects) {
        SCOPED_TRACE(e.name);
        SKIP_WITHOUT_DATA_FILE(e.name);
        dialogs_.OpenAnswers.push_back(DataFile(e.name));
        form_->Open_File();
        EXPECT_EQ(app_->Core.Set.FileFirstEnsemble, 1);
        EXPECT_EQ(app_->Core.Set.FileLastEnsemble, e.fileLast);
        EXPECT_EQ(app_->Core.Set.FirstEnsNumber, 1);
        EXPECT_EQ(app_->Core.Set.LastEnsNumber, e.loadedLast);
    }
}

TEST_F(OpenCommand, LoadedFileReachesTheChartWindowsInOrder) {
    form_->Form_Load("");
    std::vector<std::string> calls;
    WindowHooks& h = form_->Hooks();
    h.Map_Series_Bins = [&] { calls.push_back("bins"); };
    h.Init_WholeSet_Charts = [&](int32_t type) {
        // The navigator is built once the whole set is copied and its statistics are shown.
        EXPECT_NE(form_->Info().Text().find("Average Ensemble Interval"), std::string::npos);
        calls.push_back("whole " + std::to_string(type));
    };
    h.Init_SubSet_Charts = [&](int32_t type) {
        EXPECT_EQ(app_->Core.Set.CurrentEnsIndex, 9);
        calls.push_back("sub " + std::to_string(type));
    };
    h.Show_Selected_Data_Location = [&] { calls.push_back("marker"); };
    app_->Core.Opts.ContourDataType = 300;
    dialogs_.OpenAnswers = {SimulatedFile(9), (ScratchDir() / "empty.000").string()};
    form_->Open_File();
    EXPECT_EQ(calls, (std::vector<std::string>{"bins", "whole 300", "sub 300", "marker"}));
    // A file that is not loaded reaches none of them.
    WriteAll(dialogs_.OpenAnswers.front(), {0x7F, 0x7F, 0x10});
    calls.clear();
    form_->Open_File();
    EXPECT_FALSE(app_->Core.Set.FileValid);
    EXPECT_TRUE(calls.empty());
}

TEST_F(OpenCommand, RejectedFileLeavesTheWindowUsable) {
    form_->Form_Load("");
    const auto junk = ScratchDir() / "junk.000";
    std::vector<uint8_t> bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>((i * 37 + 11) % 251);
    WriteAll(junk, bytes);
    dialogs_.OpenAnswers.push_back(junk.string());
    form_->Open_File();
    EXPECT_FALSE(app_->Core.Set.FileValid);
    // The information window says why.
    EXPECT_NE(form_->Info().Text().find("Not enough VALID ensembles"), std::string::npos);
    ExpectUsable(*form_, *this, true);
}

TEST_F(OpenCommand, NameThatCannotBeReadSaysWhyAndStaysOutOfTheRecentList) {
    form_->Form_Load("");
    form_->Add_Recent_File("/data/kept.000");
    const auto dir = ScratchDir();
    WriteAll(dir / "empty.000", {});
    const std::pair<std::string, const char*> cases[] = {{(dir / "not-there.000").string(), "no such file"},
                                                         {dir.string(), "not a regular file (a directory)"},
                                                         {(dir / "empty.000").string(), "empty"}};
    for (const auto& [name, why] : cases) {
        SCOPED_TRACE(name);
        dialogs_.OpenAnswers.push_back(name);
        OpenCounter finished(*form_);
        form_->Open_File();
        EXPECT_EQ(finished.Count, 1);
        const std::string message = "Cannot open " + name + ": " + why + ".";
        ASSERT_FALSE(dialogs_.Asked.empty());
        EXPECT_EQ(dialogs_.Asked.back().Kind, "message");
        EXPECT_EQ(dialogs_.Asked.back().Text, message);
        EXPECT_EQ(form_->Info().Text(), message);
        EXPECT_EQ(form_->windowTitle(), "Marevox");
        EXPECT_EQ(form_->Recent_Captions()[0], "/data/kept.000");
        EXPECT_TRUE(form_->Recent_Captions()[1].empty());
        ExpectUsable(*form_, *this, true);
    }
}

TEST_F(OpenCommand, OpenDialogOffersEnsembleFileNamesInAnyCaseBesideAllFiles) {
    form_->Form_Load("");
    form_->Open_File();
    ASSERT_EQ(dialogs_.Count("open"), 1);
    const QStringList filters =
        QString::fromStdString(QtFilterString(dialogs_.Asked.back().Default)).split(";;");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[1], "All Files (*)");
    // The dialog matches the patterns of the chosen filter as QDir does.
    const QStringList patterns = filters[0].section('(', 1).chopped(1).split(' ');
    for (const char* name : {"RUN.000", "run.pd0", "SHIP_000001.Enx", "a.ens", "b.ENR", "c.sta", "d.Lta"})
        EXPECT_TRUE(QDir::match(patterns, name)) << name;
    for (const char* name : {"RUN.001", "notes.txt", "export.mat"})
        EXPECT_FALSE(QDir::match(patterns, name)) << name;
}

TEST_F(OpenCommand, CancelledDialogMeansNoFile) {
    form_->Form_Load("");
    app_->Core.Set.FileValid = true;
    form_->Open_File(); // the scripted dialog answers as Cancel
    EXPECT_EQ(dialogs_.Count("open"), 1);
    EXPECT_FALSE(app_->Core.Set.FileValid);
    ExpectUsable(*form_, *this, true);
}

TEST_F(OpenCommand, SecondOpenWhileOneRunsDoesNothing) {
    form_->Form_Load("");
    int nested = 0;
    form_->Hooks().Stop_Animate = [&] {
        // The first Open is running: a second one (from a menu or a timer tick) must not start.
        EXPECT_TRUE(form_->Busy());
        if (nested++ == 0) form_->Open_File_Now();
    };
    form_->CommandLine = SimulatedFile(9);
    form_->Open_File();
    EXPECT_EQ(nested, 1);
    // The nested Open would have shown the open dialog, as nothing was pending for it.
    EXPECT_EQ(dialogs_.Count("open"), 0);
    EXPECT_FALSE(form_->Busy());
    // Afterwards Open works again.
    form_->Hooks().Stop_Animate = nullptr;
    form_->Open_File();
    EXPECT_EQ(dialogs_.Count("open"), 1);
}

TEST_F(OpenCommand, CommandsThatReloadWaitWhileAnOpenRuns) {
    form_->Form_Load("");
    dialogs_.OpenAnswers.push_back(SimulatedFile(9));
    form_->Open_File();
    ASSERT_TRUE(app_->Core.Set.FileValid);
    form_->AutoTrack_Click(); // monitoring on: Open neither hides windows nor enables menus
    dialogs_.InputAnswers.push_back("512");
    dialogs_.SaveAnswers.push_back((ScratchDir() / "never.000").string());
    int reloads = 0;
    form_->Hooks().Init_SubSet_Charts = [&](int32_t) { ++reloads; };
    form_->Hooks().Stop_Animate = [&] {
        form_->Maximum_Ens_Click();
        form_->Save_View_Data_Set_Click();
        form_->Menu().Flip_Over(0)->trigger();
        form_->Show_Selected_Data(500);
        // Switching monitoring off from inside the load leaves the menus to the Open's own end.
        form_->AutoTrack_Click();
        EXPECT_FALSE(MenusEnabled());
    };
    const int subSetLoads = reloads;
    form_->RecentIndex = 1;
    form_->Open_File();
    EXPECT_EQ(dialogs_.Count("input"), 0);
    EXPECT_EQ(dialogs_.Count("save"), 0);
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 256);
    EXPECT_FALSE(app_->Core.Menus.FlipChecked);
    // Only the reopen itself initialised the sub-set charts.
    EXPECT_EQ(reloads - subSetLoads, 1);
    EXPECT_TRUE(MenusEnabled());
}

TEST_F(OpenCommand, MenusAreDisabledWhileLoading) {
    form_->Form_Load("");
    bool sawDisabled = false;
    form_->Hooks().Stop_Animate = [&] {};
    form_->Hooks().Set_RotateNeeded = [&] { EXPECT_TRUE(MenusEnabled()); };
    app_->Core.Yield = [&] { sawDisabled = sawDisabled || !MenusEnabled(); };
    dialogs_.OpenAnswers.push_back(SimulatedFile(9));
    form_->Open_File();
    EXPECT_TRUE(sawDisabled);
    EXPECT_TRUE(MenusEnabled());
}

TEST_F(OpenCommand, RecentListKeepsEightNewestFirstWithoutRepeats) {
    form_->Form_Load("");
    for (int i = 1; i <= 9; ++i) form_->Add_Recent_File("/data/file" + std::to_string(i) + ".000");
    const auto& recent = form_->Recent_Captions();
    // The ninth pushed the first out.
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(recent[static_cast<size_t>(k)], "/data/file" + std::to_string(9 - k) + ".000");
    EXPECT_TRUE(form_->Menu().Old_File(1)->isChecked());
    EXPECT_FALSE(form_->Menu().Old_File(2)->isChecked());

    // Opening one again moves it to the top, once.
    form_->Add_Recent_File("/data/file5.000");
    EXPECT_EQ(recent[0], "/data/file5.000");
    EXPECT_EQ(recent[1], "/data/file9.000");
    EXPECT_EQ(recent[4], "/data/file6.000");
    EXPECT_EQ(recent[5], "/data/file4.000");
    EXPECT_EQ(std::count(recent.begin(), recent.end(), "/data/file5.000"), 1);

    // The file holds the same list, one quoted path a line.
    const std::string text = ReadText(form_->Recent_Path());
    EXPECT_EQ(text.substr(0, 21), "\"/data/file5.000\"\r\n\"/");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);

    // A new start reads it back in the same order.
    const auto kept = recent;
    Restart();
    form_->Form_Load("");
    EXPECT_EQ(form_->Recent_Captions(), kept);
    EXPECT_TRUE(form_->Menu().Old_File(8)->isVisible());
    EXPECT_EQ(form_->Menu().Old_File(2)->text(), "/data/file9.000");
}

TEST_F(OpenCommand, AmpersandInAPathIsNotAnAccessKey) {
    form_->Form_Load("");
    form_->Add_Recent_File("/data/a&b.000");
    EXPECT_EQ(form_->Menu().Old_File(1)->text(), "/data/a&&b.000");
    EXPECT_EQ(form_->Recent_Captions()[0], "/data/a&b.000");
}

TEST_F(OpenCommand, RecentItemOpensItsFile) {
    form_->Form_Load("");
    const std::string a = SimulatedFile(9, "a.000"), b = SimulatedFile(9, "b.000");
    form_->Add_Recent_File(a);
    form_->Add_Recent_File(b);
    form_->Menu().Old_File(2)->trigger();
    EXPECT_EQ(form_->RecentIndex, 0);
    EXPECT_EQ(form_->Recent_Captions()[0], a);
    EXPECT_EQ(form_->Recent_Captions()[1], b);
    EXPECT_EQ(dialogs_.Count("open"), 0);
}

TEST_F(OpenCommand, FlipTogglesAndReopensTheLoadedFile) {
    form_->Form_Load("");
    form_->Menu().Flip_Over(0)->trigger();
    EXPECT_TRUE(form_->Menu().Flip_Over(0)->isChecked());
    EXPECT_TRUE(app_->Core.Menus.FlipChecked);
    const std::string file = SimulatedFile(9);
    dialogs_.OpenAnswers.push_back(file);
    form_->Open_File();
    ASSERT_TRUE(app_->Core.Set.FileValid);
    OpenCounter finished(*form_);
    form_->Menu().Flip_Over(0)->trigger();
    EXPECT_FALSE(app_->Core.Menus.FlipChecked);
    ASSERT_EQ(finished.Count, 1);
    EXPECT_EQ(form_->Recent_Captions()[0], file);
    EXPECT_EQ(dialogs_.Count("open"), 1);
}

TEST_F(OpenCommand, MaxEnsemblesAsksAndClamps) {
    form_->Form_Load("");
    dialogs_.InputAnswers = {"", "50", "100000", "512"};
    form_->Maximum_Ens_Click();
    ASSERT_EQ(dialogs_.Asked.back().Text, "Maximum Sub-Set Ensembles");
    EXPECT_EQ(dialogs_.Asked.back().Title, "Max Ensembles");
    EXPECT_EQ(dialogs_.Asked.back().Default, "256");
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 256); // Cancel changes nothing
    form_->Maximum_Ens_Click();
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 128);
    form_->Maximum_Ens_Click();
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 8192);
    EXPECT_EQ(dialogs_.Asked.back().Default, "128");
    form_->Maximum_Ens_Click();
    EXPECT_EQ(app_->Core.Opts.MaxSubEnsembles, 512);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(OpenCommand, SaveSubSetOntoTheOpenFileDoesNothing) {
    form_->Form_Load("");
    const std::filesystem::path copy = SimulatedFile(9, "open.000");
    dialogs_.OpenAnswers.push_back(copy.string());
    form_->Open_File();
    ASSERT_TRUE(app_->Core.Set.FileValid);
    const auto before = ReadAll(copy);
    dialogs_.SaveAnswers.push_back(copy.string());
    form_->Save_View_Data_Set_Click();
    EXPECT_EQ(dialogs_.Count("save"), 1);
    EXPECT_EQ(dialogs_.Count("message"), 0);
    EXPECT_EQ(ReadAll(copy), before);
}

TEST_F(OpenCommand, SaveSubSetRefusesAFileWithContent) {
    form_->Form_Load("");
    dialogs_.OpenAnswers.push_back(SimulatedFile(9));
    form_->Open_File();
    ASSERT_TRUE(app_->Core.Set.FileValid);
    const auto target = ScratchDir() / "keep.000";
    WriteAll(target, {1, 2, 3});
    dialogs_.SaveAnswers.push_back(target.string());
    form_->Save_View_Data_Set_Click();
    ASSERT_EQ(dialogs_.Count("message"), 1);
    EXPECT_EQ(dialogs_.Asked.back().Text, "Over-Write of File Not Allowed");
    EXPECT_EQ(ReadAll(target), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(OpenCommand, SaveSubSetWritesTheLoadedEnsemblesRaw) {
    form_->Form_Load("");
    const std::string source = SimulatedFile(9);
    dialogs_.OpenAnswers.push_back(source);
    form_->Open_File();
    ASSERT_TRUE(app_->Core.Set.FileValid);
    const auto target = ScratchDir() / "sub.000";
    dialogs_.SaveAnswers.push_back(target.string());
    form_->Save_View_Data_Set_Click();
    // The whole file (9 ensembles, ending on a boundary) is the sub set: the copy is the file.
    EXPECT_EQ(ReadAll(target), ReadAll(source));
    // A target that cannot take the bytes is reported.
    dialogs_.SaveAnswers = {"/dev/full"};
    form_->Save_View_Data_Set_Click();
    ASSERT_EQ(dialogs_.Count("message"), 1);
    EXPECT_EQ(dialogs_.Asked.back().Text.rfind("Save failed: ", 0), 0u) << dialogs_.Asked.back().Text;
    // Without a loaded file nothing is asked.
    app_->Core.Set.FileValid = false;
    form_->Save_Selected_Data_Set_Click();
    EXPECT_EQ(dialogs_.Count("save"), 2);
}

} // namespace
} // namespace mvx::test
