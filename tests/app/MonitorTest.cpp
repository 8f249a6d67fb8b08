// Monitor mode: switching, the interval box, the countdown and reloading a growing file.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/ProgressWindow.h"

#include <QAction>

namespace mvx::test {
namespace {

using Monitor = AppTest;

std::string CountCaption(MainWindow& form) {
    return form.Menu().Monitor_Count->text().toStdString();
}

TEST_F(Monitor, SwitchingOnDisablesMenusAndHidesLocatorsUntilSwitchedOff) {
    form_->Form_Load("");
    app_->Core.Opts.ShowLocators = true;
    form_->Menu().AutoTrack->trigger();
    EXPECT_TRUE(form_->Menu().AutoTrack->isChecked());
    EXPECT_TRUE(form_->Timer1().isActive());
    EXPECT_FALSE(app_->Core.Opts.ShowLocators);
    EXPECT_FALSE(MenusEnabled());
    EXPECT_FALSE(form_->Menu().Do_Export->isEnabled());
    // Enabling from an Open is refused while monitoring.
    form_->Disable_Menus(false);
    EXPECT_FALSE(MenusEnabled());

    form_->Menu().AutoTrack->trigger();
    EXPECT_FALSE(form_->Menu().AutoTrack->isChecked());
    EXPECT_TRUE(MenusEnabled());
    EXPECT_TRUE(app_->Core.Opts.ShowLocators);
    EXPECT_EQ(CountCaption(*form_), "");
}

TEST_F(Monitor, IntervalBoxRoundsAndLimits) {
    form_->Form_Load("");
    struct Case {
        const char* answer;
        int32_t interval;
    } cases[] = {{"30", 30}, {"", 1}, {"2.5", 2}, {"12345", 9999}};
    int32_t previous = form_->Monitor_Interval();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        dialogs_.InputAnswers.push_back(c.answer);
        form_->Menu().TrackInt->trigger();
        EXPECT_EQ(dialogs_.Asked.back().Text, "Enter monitor interval in seconds");
        EXPECT_EQ(dialogs_.Asked.back().Title, "Monitor Interval");
        EXPECT_EQ(dialogs_.Asked.back().Default, std::to_string(previous));
        EXPECT_EQ(form_->Monitor_Interval(), c.interval);
        previous = c.interval;
    }
}

TEST_F(Monitor, CountdownRunsDownAndRestartsAfterTheSizeCheck) {
    form_->Form_Load("");
    ASSERT_EQ(form_->Monitor_Interval(), 5);
    form_->AutoTrack_Click();
    std::vector<std::string> shown;
    for (int tick = 0; tick < 7; ++tick) {
        form_->Timer1_Timer();
        shown.push_back(CountCaption(*form_));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"4", "3", "2", "1", "0", "5", "4"}));
}

TEST_F(Monitor, SwitchedOffTimerStopsAtTheNextCheck) {
    form_->Form_Load("");
    form_->AutoTrack_Click();
    form_->Timer1_Timer();
    form_->AutoTrack_Click();
    EXPECT_TRUE(form_->Timer1().isActive());
    for (int tick = 0; tick < 5; ++tick) form_->Timer1_Timer();
    EXPECT_FALSE(form_->Timer1().isActive());
    EXPECT_EQ(CountCaption(*form_), "");
}

// A copy of the first ensembles of a simulated deployment that the test then grows.
struct GrowingFile {
    std::filesystem::path Path;
    std::vector<uint8_t> Source;
    int64_t Record = 0;
    size_t Written = 0;

    GrowingFile(int32_t total, int ensembles) {
        Source = ReadAll(SimulatedFile(total, "source.000"));
        Record = FirstEnsembleLength(Source);
        Path = ScratchDir() / "growing.000";
        Append(static_cast<size_t>(ensembles * Record));
    }
    void Append(size_t bytes) {
        bytes = std::min(bytes, Source.size() - Written);
        std::vector<uint8_t> all(Source.begin(),
                                 Source.begin() + static_cast<std::ptrdiff_t>(Written + bytes));
        WriteAll(Path, all);
        Written += bytes;
    }
};

TEST_F(Monitor, GrowingFileIsReloadedWithItsNewestEnsembles) {
    GrowingFile file(400, 300);
    ASSERT_GT(file.Record, 0);
    form_->Form_Load(file.Path.string() + " -M0002");
    ASSERT_TRUE(app_->Core.Set.FileValid);
    EXPECT_EQ(app_->Core.Set.FileLastEnsemble, 300);
    EXPECT_EQ(app_->Core.Set.LastEnsNumber, 300);
    // The newest MaxSubEnsembles ensembles are loaded.
    EXPECT_EQ(app_->Core.Set.FirstEnsNumber, 300 - app_->Core.Opts.MaxSubEnsembles + 1);
    // Monitoring shows no progress window.
    EXPECT_EQ(form_->Progress().Show_Count(), 0);

    OpenCounter opened(*form_);
    // The first check records the size (it differs from the 0 of a fresh start) and reloads once.
    for (int tick = 0; tick < 3; ++tick) form_->Timer1_Timer();
    ASSERT_EQ(opened.Count, 1);
    // Same size: nothing happens.
    for (int tick = 0; tick < 3; ++tick) form_->Timer1_Timer();
    EXPECT_EQ(opened.Count, 1);

    file.Append(static_cast<size_t>(100 * file.Record));
    for (int tick = 0; tick < 3; ++tick) form_->Timer1_Timer();
    ASSERT_EQ(opened.Count, 2);
    EXPECT_EQ(app_->Core.Set.FileLastEnsemble, 400);
    EXPECT_EQ(app_->Core.Set.LastEnsNumber, 400);
    EXPECT_EQ(app_->Core.Set.FirstEnsNumber, 400 - app_->Core.Opts.MaxSubEnsembles + 1);
    EXPECT_EQ(form_->Progress().Show_Count(), 0);
    EXPECT_FALSE(MenusEnabled());
}

TEST_F(Monitor, HalfWrittenNewestEnsembleIsLeftForLater) {
    GrowingFile file(20, 10);
    form_->Form_Load(file.Path.string() + " -M0001");
    ASSERT_TRUE(app_->Core.Set.FileValid);
    EXPECT_EQ(app_->Core.Set.LastEnsNumber, 10);
    for (int step = 0; step < 6; ++step) {
        // Half an ensemble more, then the rest of it.
        file.Append(static_cast<size_t>(step % 2 == 0 ? file.Record / 2 : file.Record - file.Record / 2));
        for (int tick = 0; tick < 2; ++tick) form_->Timer1_Timer();
        ASSERT_TRUE(app_->Core.Set.FileValid) << "step " << step;
        // Only whole ensembles are loaded; a half one waits for its second half.
        const int32_t whole = 10 + (step + 1) / 2;
        EXPECT_EQ(app_->Core.Set.LastEnsNumber, whole) << "step " << step;
        EXPECT_EQ(app_->Core.Set.CurrentEnsIndex, whole) << "step " << step;
    }
}

TEST_F(Monitor, MonitoredFileThatAppearsLaterIsOpenedNotTheLastRecentOne) {
    form_->Form_Load("");
    form_->Add_Recent_File(SimulatedFile(9, "older.000"));
    Restart();
    const auto path = ScratchDir() / "later.000";
    form_->Form_Load(path.string() + " -M0001");
    EXPECT_FALSE(app_->Core.Set.FileValid);
    // The file arrives.
    std::filesystem::copy_file(SimulatedFile(9), path);
    for (int tick = 0; tick < 2; ++tick) form_->Timer1_Timer();
    EXPECT_TRUE(app_->Core.Set.FileValid);
    EXPECT_EQ(app_->Core.Set.FileName, path.string());
    EXPECT_EQ(form_->Recent_Captions()[0], path.string());
}

} // namespace
} // namespace mvx::test
