// The export dialog in the running program: it writes the very bytes the command line writes for the
// same choices, refuses a target that holds data, and never claims a cancelled export as written.
#include "AppTestSupport.h"

#include "TestSupport.h"
#include "app/ChartOptionsDialog.h"
#include "app/ExportDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace mvx::test {
namespace {

class ExportDialogTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        dialog_ = new ExportDialog(*app_, *form_);
        form_->Form_Load("");
        file_ = SimulatedFile(120, "export.000");
        dialogs_.OpenAnswers.push_back(file_);
        form_->Open_File();
        ASSERT_TRUE(app_->Core.Set.FileValid);
        form_->Menu().Do_Export->trigger();
        ASSERT_TRUE(dialog_->isVisible());
    }
    // Chooses a tab and a file type (0 text, 1 MAT, 2 NetCDF) and presses "Write File" with the save dialog
    // answering target.
    void Write(int tab, int type, const std::string& target) {
        ExportControls& c = dialog_->Controls();
        c.tbsOptions->setCurrentIndex(tab);
        c.FileType[static_cast<size_t>(tab)][static_cast<size_t>(type)]->setChecked(true);
        dialogs_.SaveAnswers.push_back(target);
        c.cmdGO->click();
    }

    ExportDialog* dialog_ = nullptr;
    std::string file_;
};

TEST_F(ExportDialogTest, DialogWritesTheBytesTheCommandLineWrites) {
    struct Case {
        int Tab, Type;
        std::function<void(ExportControls&)> Choose;
        std::string Args;
    };
    const std::vector<Case> cases = {
        {0, 0, [](ExportControls& c) { c.Option3[0]->setChecked(true); }, "contour --types echo:Bm1"},
        {0, 1, [](ExportControls& c) { c.Text3[2]->setText("3"); }, "contour --format mat --step 3"},
        {1, 0, [](ExportControls& c) { c.Check2[5]->setChecked(true); },
         "profile --types corr:Bm1,vel:Magnitude,vel:Direction"},
        {1, 1, [](ExportControls&) {}, "profile --format mat"},
        {2, 0,
         [](ExportControls& c) {
             c.Check5[kSeriesBottomTrack]->setChecked(true);
             c.Check6[0]->setChecked(true);
         },
         "series --types vel:Magnitude,vel:Direction,bt:East --anc Pitch"},
        {2, 1, [](ExportControls& c) { c.Text6[0]->setText("40"); }, "series --format mat --first 40"},
        // NetCDF after other exports in this process: the library's unwritten bytes must not differ.
        {0, 2, [](ExportControls&) {}, "contour --format nc"},
        {2, 2, [](ExportControls& c) { c.Check6[2]->setChecked(true); }, "series --format nc --anc Heading"},
    };
    for (size_t k = 0; k < cases.size(); ++k) {
        dialog_->Load_Folders();
        ExportControls& c = dialog_->Controls();
        dialog_->Bins_Click(cases[k].Tab, true);
        cases[k].Choose(c);
        const auto mine = ScratchDir() / ("dialog" + std::to_string(k));
        Write(cases[k].Tab, cases[k].Type, mine.string());
        ASSERT_TRUE(dialog_->Last_Result().Ok()) << dialog_->Last_Result().Message;
        const auto theirs = ScratchDir() / ("cli" + std::to_string(k));
        const std::string kind = cases[k].Args.substr(0, cases[k].Args.find(' '));
        std::string err;
        ASSERT_EQ(RunCli("export " + kind + " " + file_ + " --out " + theirs.string() + " --bins all" +
                             cases[k].Args.substr(kind.size()),
                         nullptr, &err),
                  0)
            << err;
        const auto bytes = ReadAll(mine);
        EXPECT_GT(bytes.size(), 100u) << cases[k].Args;
        EXPECT_EQ(bytes, ReadAll(theirs)) << cases[k].Args;
        EXPECT_TRUE(MenusEnabled());
        EXPECT_EQ(c.ProgressBar1->value(), 0);
    }
}

TEST_F(ExportDialogTest, TargetWithDataIsRefusedAndCancelledSaveWritesNothing) {
    const auto full = ScratchDir() / "full.txt";
    WriteAll(full, {'a', 'b'});
    dialog_->Bins_Click(0, true);
    Write(0, 0, full.string());
    EXPECT_EQ(dialog_->Last_Result().Status, ExportStatus::Refused);
    ASSERT_EQ(dialogs_.Count("message"), 1);
    EXPECT_EQ(dialogs_.Asked.back().Text, "Over-Write of File Not Allowed");
    EXPECT_EQ(ReadAll(full), (std::vector<uint8_t>{'a', 'b'}));
    EXPECT_TRUE(MenusEnabled());

    // A folder that cannot be written to: reported, nothing claimed, nothing left.
    const auto missing = ScratchDir() / "no-such-folder" / "x.txt";
    Write(0, 0, missing.string());
    EXPECT_EQ(dialog_->Last_Result().Status, ExportStatus::Failed);
    ASSERT_EQ(dialogs_.Count("message"), 2);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(MenusEnabled());

    // The save dialog cancelled: nothing written, nothing claimed, everything usable again.
    Write(0, 0, "");
    EXPECT_EQ(dialog_->Last_Result().Status, ExportStatus::NoFile);
    EXPECT_FALSE(dialog_->Last_Result().Ok());
    EXPECT_TRUE(MenusEnabled());
    EXPECT_TRUE(dialog_->Controls().cmdGO->isEnabled());
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(ExportDialogTest, QuitDuringWritingStopsAndClosesWithoutClaimingTheFile) {
    auto* options = new ChartOptionsDialog(*app_, *form_);
    // A file long enough for the export to yield to the window system many times.
    dialogs_.OpenAnswers.push_back(SimulatedFile(3000, "long.000"));
    form_->Open_File();
    form_->Menu().Do_Export->trigger();
    options->Show_Options(1);
    dialog_->Bins_Click(2, true);
    ExportControls& c = dialog_->Controls();
    for (QCheckBox* box : c.Check5) box->setChecked(true);
    c.Text6[1]->setText("3000");
    bool menusOffWhileWriting = false, optionsOffWhileWriting = false;
    // The click arrives through the yields of the running export.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, dialog_, [&] {
        if (!dialog_->Writing()) return;
        menusOffWhileWriting = !MenusEnabled();
        optionsOffWhileWriting = !options->isEnabled();
        c.cmdQUIT->click();
        poll.stop();
    });
    poll.start(0);
    const auto target = ScratchDir() / "stopped.txt";
    Write(2, 0, target.string());
    EXPECT_TRUE(menusOffWhileWriting);
    EXPECT_TRUE(optionsOffWhileWriting);
    EXPECT_TRUE(options->isEnabled());
    EXPECT_EQ(dialog_->Last_Result().Status, ExportStatus::Cancelled);
    EXPECT_FALSE(dialog_->Last_Result().Ok());
    EXPECT_TRUE(dialog_->isHidden());
    EXPECT_TRUE(MenusEnabled());
    // Opened again, the bin lists start empty.
    form_->Menu().Do_Export->trigger();
    EXPECT_TRUE(c.List1[2]->selectedItems().isEmpty());
}

} // namespace
} // namespace mvx::test
