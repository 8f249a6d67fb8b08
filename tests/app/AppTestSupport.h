#pragma once
// A running main window over scripted dialogs, with its own settings folder, for the desktop tests.
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/SubSetWindow.h"
#include "platform/Launcher.h"
#include "platform/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace mvx::test {

// The one QApplication of the test program (offscreen unless the environment chose a platform).
void EnsureApplication();

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh application object and main window (settings folder kept).
    void Restart();
    // The main window's menu bar menus that Disable_Menus governs are all enabled.
    bool MenusEnabled() const;

    std::filesystem::path config_;
    ScriptedDialogs dialogs_;
    RecordingLauncher launcher_;
    std::unique_ptr<AppContext> app_;
    std::unique_ptr<MainWindow> form_;
};

// Counts the main window's finished Open commands and keeps the last result.
struct OpenCounter {
    explicit OpenCounter(MainWindow& form);
    ~OpenCounter();
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;
    int Count = 0;
    bool LastLoaded = false;
    QMetaObject::Connection Connection;
};

// A file of our simulated instrument in a scratch folder: ensembles of equal length, ending on an ensemble
// boundary, 30 cells, one minute apart.
std::string SimulatedFile(int32_t ensembles, const std::string& name = "simulated.000");

// The pixel at the centre of a cell of the sub-set window's contour (row counted from the top), in the
// contour picture's coordinates.
QPointF Contour_Cell_Centre(SubSetWindow& window, int ensemble, int rowFromTop);

// Byte length of one ensemble of a file whose ensembles all have the same length: the two bytes after
// the header id give the count without the checksum.
int64_t FirstEnsembleLength(const std::vector<uint8_t>& bytes);

} // namespace mvx::test
