// "Write File" without the window: the target is never overwritten, failures end the export with a
// message, and the set on display is never touched, whatever happened.
#include "ExportFixture.h"

#include "export/ExportRunner.h"
#include "export/TextExport.h"

#include <gtest/gtest.h>

using namespace mvx;
using namespace mvx::test;
namespace fs = std::filesystem;

namespace {

class ExportRunner : public ::testing::Test {
  protected:
    void SetUp() override {
        file_.Path = TinyFilePath();
        OpenFile(file_);
        // The user looks at ensembles 2..3, bin 2 only, with the profile on ensemble 3.
        SetDescriptors& set = file_.State.Set;
        ASSERT_TRUE(Read_File_Selection(file_.State, 2, 3, false));
        set.FirstBinShown = 2;
        set.LastBinShown = 2;
        set.ProfileEnsNumber = 3;
        sel_.Kind = ExportKind::Contour;
        sel_.ContourType = 10;
        sel_.ContourEnsembles = {"1", "3", "1"};
        sel_.Bins[0].Select(1);
        before_ = file_.State.Data;
        setupBefore_ = file_.State.Setup;
    }
    // Every array of the data set, the set-up, the loaded set and the view are those of SetUp.
    void ExpectDisplayUntouched() {
        const CoreState& s = file_.State;
        EXPECT_TRUE(s.Data == before_);
        EXPECT_EQ(s.Setup.EnsembleNumber, setupBefore_.EnsembleNumber);
        EXPECT_EQ(s.Set.FirstEnsNumber, 2);
        EXPECT_EQ(s.Set.LastEnsNumber, 3);
        EXPECT_EQ(s.Set.CurrentEnsIndex, 2);
        EXPECT_EQ(s.Set.FirstBinShown, 2);
        EXPECT_EQ(s.Set.LastBinShown, 2);
        EXPECT_EQ(s.Set.ProfileEnsNumber, 3);
    }

    LoadedFile file_;
    ExportSelection sel_;
    DataSet before_;
    InstrumentSetup setupBefore_;
};

} // namespace

TEST_F(ExportRunner, WritesTheChosenKindAndRestoresTheSelection) {
    const fs::path out = ScratchDir() / "contour.txt";
    const ExportResult r = Run_Export(file_.State, sel_, out.string());
    EXPECT_EQ(r.Status, ExportStatus::Written) << r.Message;
    const auto lines = CrLfLines(ReadText(out));
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[16], "3\t26\t06\t14\t12\t01\t01\t00\t\t120");
    ExpectDisplayUntouched();
}

TEST_F(ExportRunner, MatFileTypeOfTheVisiblePanel) {
    sel_.Kind = ExportKind::Profile;
    sel_.FileType[1] = ExportFileType::Mat;
    sel_.FileType[0] = ExportFileType::Text; // another panel's choice does not matter
    sel_.ProfileEnsemble = "1";
    const fs::path out = ScratchDir() / "profile.mat";
    EXPECT_EQ(Run_Export(file_.State, sel_, out.string()).Status, ExportStatus::Written);
    const std::string bytes = ReadText(out);
    // The first record: type 20, 1 x 1, no imaginary part, name "ZonProfileEns".
    EXPECT_TRUE(bytes.starts_with(
        std::string("\x14\0\0\0\x01\0\0\0\x01\0\0\0\0\0\0\0\x0E\0\0\0ZonProfileEns\0", 34)));
    ExpectDisplayUntouched();
}

TEST_F(ExportRunner, NonEmptyFileIsRefusedAndLeftUnchanged) {
    const fs::path out = ScratchDir() / "full.txt";
    WriteAll(out, {'k', 'e', 'e', 'p'});
    const ExportResult r = Run_Export(file_.State, sel_, out.string());
    EXPECT_EQ(r.Status, ExportStatus::Refused);
    EXPECT_EQ(r.Message, "Over-Write of File Not Allowed");
    EXPECT_EQ(ReadText(out), "keep");
    ExpectDisplayUntouched();
}

TEST_F(ExportRunner, DiskFullEndsTheExportWithAMessage) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const ExportResult r = Run_Export(file_.State, sel_, "/dev/full");
    EXPECT_EQ(r.Status, ExportStatus::Failed);
    EXPECT_NE(r.Message.find("No space left on device"), std::string::npos) << r.Message;
    ExpectDisplayUntouched();
}

TEST_F(ExportRunner, ProgressAskingToStopKeepsThePartialFile) {
    sel_.Kind = ExportKind::Series;
    sel_.SeriesEnsembles = {"1", "3", "1"};
    sel_.AncTypes[0] = true;
    sel_.Progress = [](int value) { return value != 0; }; // 0 comes after the first row
    const fs::path out = ScratchDir() / "series.txt";
    const ExportResult r = Run_Export(file_.State, sel_, out.string());
    EXPECT_EQ(r.Status, ExportStatus::Cancelled);
    EXPECT_TRUE(sel_.Cancel); // the dialog closes on it
    const auto lines = CrLfLines(ReadText(out));
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[16], "1\t26\t06\t14\t12\t00\t00\t00\t\t1.23");
    ExpectDisplayUntouched();
}

TEST_F(ExportRunner, AStaleCancelFromAnEarlierRunDoesNotStopTheNext) {
    sel_.Cancel = true;
    const fs::path out = ScratchDir() / "again.txt";
    EXPECT_EQ(Run_Export(file_.State, sel_, out.string()).Status, ExportStatus::Written);
    EXPECT_EQ(CrLfLines(ReadText(out)).size(), 17u);
}

TEST_F(ExportRunner, NoTargetOrNoValidFileWritesNothing) {
    EXPECT_EQ(Run_Export(file_.State, sel_, "").Status, ExportStatus::NoFile);
    ExpectDisplayUntouched();
    file_.State.Set.FileValid = false;
    const fs::path out = ScratchDir() / "never.txt";
    EXPECT_EQ(Run_Export(file_.State, sel_, out.string()).Status, ExportStatus::NoFile);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(ExportRunner, EnsembleFileGoneMidwayEndsTheExportInsteadOfRepeatingOldValues) {
    // The ensemble file disappears after the first row: the writer must not write ensemble 1's values
    // again as rows 2 and 3, nor leave a cut-off file.
    sel_.Progress = [&](int value) {
        if (value == 0) fs::remove(file_.Path);
        return true;
    };
    const fs::path out = ScratchDir() / "partial.txt";
    const ExportResult r = Run_Export(file_.State, sel_, out.string());
    EXPECT_EQ(r.Status, ExportStatus::Failed);
    EXPECT_NE(r.Message.find("Ensemble 2 could not be read"), std::string::npos) << r.Message;
    // The unfinished file would block a retry as "Over-Write of File Not Allowed": it is gone.
    EXPECT_NE(r.Message.find("the unfinished file was removed"), std::string::npos) << r.Message;
    EXPECT_FALSE(fs::exists(out));
    ExpectDisplayUntouched();
}

TEST_F(ExportRunner, AWriterCalledDirectlyReadsThroughItsOwnTarget) {
    // Ensemble 1 is not on display; writing it must not put it into the displayed slots.
    sel_.ContourEnsembles = {"1", "1", "1"};
    const std::string text = WriteToString(file_.State, sel_, Write_Contour_Text);
    EXPECT_EQ(Cells(CrLfLines(text).back())[0], "1");
    ExpectDisplayUntouched();
}
