// The file-details window in the running program: Utilities > "&File Details" asks for a file, shows the
// report and the six statistics of the scan; closing the window or the program during the scan is safe.
#include "AppTestSupport.h"

#include "TestEnsembles.h"
#include "TestSupport.h"

#include "app/FileDetailsWindow.h"
#include "app/FileFilters.h"
#include "ensemble/FileDetails.h"
#include "simulator/Simulator.h"
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include <array>
#include <chrono>
#include <thread>

namespace mvx::test {
namespace {

using Six = std::array<int, FileDetailsWindow::kStatistics>;

// Ensembles numbered as given, of equal length.
std::string WriteNumbered(const std::vector<int>& numbers, const std::string& name) {
    std::vector<uint8_t> bytes;
    BroadbandSpec spec;
    for (int n : numbers) {
        spec.Number = n;
        const auto e = BuildBroadband(spec);
        bytes.insert(bytes.end(), e.begin(), e.end());
    }
    const auto path = ScratchDir() / name;
    WriteAll(path, bytes);
    return path.string();
}

class FileDetailsWindowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        details_ = new FileDetailsWindow(*app_, *form_);
        form_->Form_Load("");
    }
    // Utilities > "&File Details", answering its dialog with path.
    void Choose(const std::string& path) {
        dialogs_.OpenAnswers.push_back(path);
        form_->Menu().ShowDetails->trigger();
    }
    Six Shown() const {
        Six six{};
        for (int k = 0; k < FileDetailsWindow::kStatistics; ++k)
            six[static_cast<size_t>(k)] = details_->Statistic(k)->text().toInt();
        return six;
    }
    static std::string Lf(std::string text) {
        for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
            text.erase(at, 1);
        return text;
    }

    FileDetailsWindow* details_ = nullptr;
};

TEST_F(FileDetailsWindowTest, ShowsTheReportAndTheSixStatistics) {
    EXPECT_EQ(details_->windowTitle(), "Marevox File Details");
    EXPECT_EQ(details_->Frame1()->title(), "Ensemble Statistics");
    EXPECT_TRUE(form_->Menu().ShowDetails->isEnabled());
    const std::string data = MARVOX_DATA_DIR;
    // Ensembles of varying length (text blocks and cell counts), counted from the file's index.
    SimulationSpec varying;
    varying.Ensembles = 40;
    varying.TextVary = 900;
    varying.CellsVary = 6;
    const std::string varyingPath = (ScratchDir() / "varying.000").string();
    std::filesystem::remove(varyingPath);
    ASSERT_TRUE(WriteSimulatedFile(varying, varyingPath, nullptr));
    const struct {
        std::string Path;
        Six Expected; // First, Last, Missing, Repeats, Resets, Wrong Size
    } cases[] = {
        {WriteNumbered({1, 2, 2, 3, 7, 1, 2}, "gaps.000"), {1, 2, 3, 1, 1, 0}},
        {varyingPath, {1, 40, 0, 0, 0, 0}},
        {data + "/up600_beam_9ens.000", {1, 9, 0, 0, 0, 0}},
        {data + "/up600_beam_truncated.000", {1, 22, 0, 0, 0, 0}},
        {data + "/down600_earth_bt.000", {1, 1721, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        // The real files are checked where the shared data folder is; the simulated one everywhere.
        if (c.Path.rfind(data, 0) == 0 && !std::filesystem::exists(c.Path)) continue;
        Choose(c.Path);
        EXPECT_TRUE(details_->isVisible());
        EXPECT_FALSE(details_->Scanning());
        EXPECT_EQ(Shown(), c.Expected) << c.Path;
        FileDetailsResult report;
        ASSERT_TRUE(Show_File_Details(c.Path, InstrumentSetup{}, report));
        // The set-up lines above the bottom track are the report's.
        const std::string shown = details_->Text(), core = Lf(report.Text);
        const size_t bottom = core.find("BT Pings");
        EXPECT_EQ(shown.substr(0, bottom), core.substr(0, bottom)) << c.Path;
    }
    // The dialog is the ensemble-file dialog.
    ASSERT_FALSE(dialogs_.Asked.empty());
    EXPECT_EQ(dialogs_.Asked.back().Default, kEnsembleFileFilter);
}

TEST_F(FileDetailsWindowTest, DialogStartsAtTheOpenFile) {
    const std::string path = WriteNumbered({1, 2, 3}, "open.000");
    dialogs_.OpenAnswers.push_back(path);
    form_->Open_File();
    Choose("");
    EXPECT_EQ(dialogs_.OpenPreset, path);
    EXPECT_FALSE(details_->isVisible()); // cancelled: nothing to show
}

TEST_F(FileDetailsWindowTest, AFileThatCannotBeOpenedGivesTheMessage) {
    Choose(WriteNumbered({4, 5, 6}, "good.000"));
    Choose((ScratchDir() / "no such file.000").string());
    EXPECT_TRUE(details_->isVisible());
    EXPECT_EQ(details_->Text().rfind("Invalid File", 0), 0u);
    EXPECT_EQ(Shown(), Six{});
}

TEST_F(FileDetailsWindowTest, ClosingDuringTheScanIsSafe) {
    const std::string path = SimulatedFile(3000, "long.000");
    enum class Ending { CloseWindow, CloseProgram, DeleteWindow };
    const struct {
        const char* Name;
        Ending During;
    } cases[] = {{"window closed", Ending::CloseWindow},
                 {"program closed", Ending::CloseProgram},
                 {"window deleted", Ending::DeleteWindow}};
    for (const auto& c : cases) {
        // Runs at the scan's first yield to the event loop (the program yields at most every 50 ms).
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        const Ending during = c.During;
        QTimer::singleShot(0, form_.get(), [this, during] {
            if (during == Ending::CloseWindow) details_->close();
            if (during == Ending::CloseProgram) form_->close();
            if (during == Ending::DeleteWindow) delete details_;
        });
        Choose(path);
        if (c.During == Ending::DeleteWindow) {
            // The menu item leads nowhere now, and choosing it is harmless.
            form_->Menu().ShowDetails->trigger();
            continue;
        }
        EXPECT_FALSE(details_->Scanning()) << c.Name;
        EXPECT_LT(Shown()[1], 3000) << c.Name; // stopped before the last ensemble
        EXPECT_NE(details_->Text().find("Statistics scan stopped"), std::string::npos) << c.Name;
    }
}

} // namespace
} // namespace mvx::test
