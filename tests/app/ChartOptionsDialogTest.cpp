// The chart options dialog in the running program: its menu items and tabs, every control through the
// options record, Apply reloading what the change needs and saving the options file.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/ChartOptionsDialog.h"
#include "app/SubSetWindow.h"
#include "options/OptionsFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <functional>
#include <sstream>

namespace mvx::test {
namespace {

std::string FileText(const Options& o) {
    std::ostringstream out;
    Write_Options(o, out);
    return out.str();
}

class ChartOptionsDialogTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        subSet_ = new SubSetWindow(*app_, *form_);
        dialog_ = new ChartOptionsDialog(*app_, *form_);
        form_->Form_Load("");
        file_ = SimulatedFile(300);
        dialogs_.OpenAnswers.push_back(file_);
        form_->Open_File();
        ASSERT_TRUE(app_->Core.Set.FileValid);
    }
    SubSetWindow* subSet_ = nullptr;
    ChartOptionsDialog* dialog_ = nullptr;
    std::string file_;
};

TEST_F(ChartOptionsDialogTest, MenuItemsOpenTheDialogOnTheirTab) {
    EXPECT_TRUE(dialog_->isHidden()); // made hidden at start-up
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(form_->Menu().Show_Options(i)->isEnabled());
        form_->Menu().Show_Options(i)->trigger();
        EXPECT_TRUE(dialog_->isVisible());
        EXPECT_TRUE(dialog_->isWindow());
        EXPECT_EQ(dialog_->windowTitle(), "MAREVOX Chart Options");
        EXPECT_EQ(dialog_->Controls().tbsOptions->currentIndex(), i);
        EXPECT_FALSE(dialog_->Controls().cmdApply->isEnabled());
        EXPECT_TRUE(dialog_->Controls().cmdSave->isEnabled());
    }
    dialog_->Controls().cmdCancel->click();
    EXPECT_TRUE(dialog_->isHidden());
}

TEST_F(ChartOptionsDialogTest, RightReleaseOnTheContourOpensTheContourPage) {
    form_->Menu().Show_Options(2)->trigger();
    dialog_->Controls().cmdCancel->click();
    QWidget* contour = subSet_->Picture1_Widget();
    const QPointF at(contour->width() / 2.0, contour->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, contour->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, contour->mapToGlobal(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(contour, &press);
    QApplication::sendEvent(contour, &release);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(dialog_->Controls().tbsOptions->currentIndex(), 0);
}

TEST_F(ChartOptionsDialogTest, EveryControlRoundTripsThroughTheRecord) {
    std::vector<std::function<void(Options&)>> changes = {
        [](Options& o) {
            o.ContourDataType = 20;
            o.ContourScaleMode = 1;
            o.ContourUserScale = {-5, 5};
            o.ShowGrid = false;
            o.ShowBTDepth = true;
            o.VelocityReference = 3;
            o.WaterVelScale = 1.25;
            o.EndOfProfile = {true, false, true, false, true};
        },
        [](Options& o) {
            for (size_t k = 0; k < o.ProfileDataTypes.size(); ++k) o.ProfileDataTypes[k] = k % 4 == 3;
            o.ProfileGrid = false;
            o.ProfileScaleMax[6] = 99.5;
            for (size_t k = 0; k < 36; ++k) o.SeriesDataTypes[k] = k % 7 == 0;
            o.SeriesSymbols = true;
            o.SeriesScaleMin[2] = -2500;
            o.SeriesBinSelect[3] = o.SeriesBinSelect[200] = true;
            o.SeriesAverageAll = false;
            o.SeriesAverageInterval = 90061.5;
        },
        [](Options& o) {
            o.AncDataTypes = {false, true, false, true, false, true, false, true};
            o.AncLines = false;
            o.AncScaleMax[3] = 31.5;
            o.WaterDensity = 998.25f;
            o.BottomVelScale = 0.5;
            o.VelocityReference = 5;
        },
    };
    for (size_t r = 0; r < changes.size(); ++r) {
        Options record = app_->Core.Opts;
        record.SeriesAverageAll = false;
        changes[r](record);
        app_->Core.Opts = record;
        dialog_->Options_To_Dialog();
        app_->Core.Opts = Options{};
        app_->Core.Opts.Windows = record.Windows;
        app_->Core.Opts.WindowMenuChecks = record.WindowMenuChecks;
        dialog_->Processing_To_Options();
        dialog_->Dialog_To_Options();
        app_->Core.Opts.ProfileEnsNumber = record.ProfileEnsNumber;
        EXPECT_EQ(FileText(app_->Core.Opts), FileText(record)) << "record " << r;
    }
}

TEST_F(ChartOptionsDialogTest, EchoBeamOneAppliedChangesTheContourAndSavesTheFile) {
    const std::string title = subSet_->Charts().Contour.Frame.Title;
    const std::string label = subSet_->Charts().Contour.Frame.ScaleLabel;
    subSet_->Charts().Contour.Frame.Title.clear();
    form_->Menu().Show_Options(0)->trigger();
    ChartOptionsControls& c = dialog_->Controls();
    c.Option2[0]->click();
    ASSERT_TRUE(c.cmdApply->isEnabled());
    EXPECT_FALSE(c.cmdSave->isEnabled());
    c.cmdApply->click();
    EXPECT_EQ(subSet_->Charts().Contour.DataType, 1);
    EXPECT_NE(subSet_->Charts().Contour.Frame.Title, title);
    EXPECT_NE(subSet_->Charts().Contour.Frame.ScaleLabel, label);
    EXPECT_FALSE(subSet_->Charts().Contour.Frame.Title.empty());
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_FALSE(c.cmdApply->isEnabled());
    Options saved;
    ASSERT_TRUE(Load_Options(saved, form_->Options_Path()));
    EXPECT_EQ(saved.ContourDataType, 1);

    // Entries no option can hold come back as what the record holds.
    c.Option1[0]->click();
    c.Text1[0]->setText("1e999");
    c.Text1[1]->setText("abc");
    c.cmdApply->click();
    EXPECT_EQ(c.Text1[0]->text(), "2147483647");
    EXPECT_EQ(c.Text1[1]->text(), "0");
    EXPECT_EQ(app_->Core.Opts.ContourScaleMode, 0);
}

TEST_F(ChartOptionsDialogTest, ReferenceChangeReopensTheFileAndChangesTheVelocities) {
    auto velocities = [this] {
        std::vector<int16_t> v;
        for (int bin = 0; bin < 30; ++bin)
            for (int row = 0; row < 4; ++row) v.push_back(app_->Core.Data.VelData(row, bin, 5));
        return v;
    };
    const std::vector<int16_t> before = velocities();
    OpenCounter opens(*form_);
    form_->Menu().Show_Options(4)->trigger();
    ChartOptionsControls& c = dialog_->Controls();
    c.VelRef[1]->click(); // "Bottom Track"
    c.cmdApply->click();
    EXPECT_EQ(opens.Count, 1);
    EXPECT_TRUE(opens.LastLoaded);
    EXPECT_EQ(app_->Core.Opts.VelocityReference, 1);
    EXPECT_NE(velocities(), before);
    // The saved options file processes the file the same way for the command line.
    std::string plain, referenced, err;
    ASSERT_EQ(RunCli("dump " + file_, &plain, &err), 0) << err;
    ASSERT_EQ(RunCli("dump " + file_ + " --options " + form_->Options_Path(), &referenced, &err), 0) << err;
    EXPECT_NE(plain, referenced);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_FALSE(c.cmdOK->isEnabled());
    EXPECT_FALSE(c.cmdApply->isEnabled());

    // Only the end of profile changes: the selection is reloaded, the file is not reopened.
    c.chkEoP[4]->click();
    c.cmdOK->click();
    EXPECT_EQ(opens.Count, 1);
    EXPECT_TRUE(dialog_->isHidden());
    EXPECT_TRUE(app_->Core.Opts.EndOfProfile[4]);
}

TEST_F(ChartOptionsDialogTest, SaveNeverOverwritesAFileWithData) {
    const auto full = ScratchDir() / "full.txt";
    WriteAll(full, {'x'});
    const auto fresh = ScratchDir() / "fresh.txt";
    form_->Menu().Show_Options(0)->trigger();
    dialogs_.SaveAnswers = {full.string(), fresh.string()};
    dialog_->Controls().cmdSave->click();
    ASSERT_EQ(dialogs_.Count("message"), 1);
    EXPECT_EQ(dialogs_.Asked.back().Text, "Over-Write of File Not Allowed");
    EXPECT_EQ(ReadAll(full), std::vector<uint8_t>{'x'});
    dialog_->Controls().cmdSave->click();
    Options loaded;
    EXPECT_TRUE(Load_Options(loaded, fresh.string()));
    // A save that fails says so.
    dialogs_.SaveAnswers = {(ScratchDir() / "no-such-folder" / "o.txt").string()};
    dialog_->Controls().cmdSave->click();
    EXPECT_EQ(dialogs_.Count("message"), 2);
}

TEST_F(ChartOptionsDialogTest, MonitoringDisablesTheDialog) {
    form_->Menu().Show_Options(0)->trigger();
    form_->AutoTrack_Click();
    EXPECT_FALSE(dialog_->isEnabled());
    form_->AutoTrack_Click();
    EXPECT_TRUE(dialog_->isEnabled());
}

} // namespace
} // namespace mvx::test
