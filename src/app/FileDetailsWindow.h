#pragma once
// The file-details window: the report on one ensemble file (its set-up, first and last ensemble, extra
// data) and the six counters of the scan over all its ensembles, which count up on screen while the
// scan runs. The program stays usable meanwhile; closing the window or the program stops the scan.
#include "app/AppContext.h"

#include <QMdiSubWindow>

#include <array>
#include <string>

class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace mvx {

class MainWindow;
struct EnsembleStatistics;

class FileDetailsWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // The six statistics in frame order: First, Last, Missing, Repeats, Resets, Wrong Size.
    static constexpr int kStatistics = 6;

    // Creates the window hidden in the main window's work area and fills in its Show_Details hook
    // (Utilities > "&File Details", with the open file's name).
    FileDetailsWindow(AppContext& app, MainWindow& main);

    // Asks for a file in the file dialog (preset to fileName) and reports on the chosen one. While a
    // report is being written, a second request only brings the window to the front.
    void Show_Details(const std::string& fileName);

    std::string Text() const;
    QPlainTextEdit* Text1() const { return text1_; }
    QGroupBox* Frame1() const { return frame_; }
    // The value labels FirEns, LasEns, MisEns, RepEns, ResEns, OthEns.
    QLabel* Statistic(int index) const;
    bool Scanning() const { return scanning_; }

  protected:
    // Closing hides the window and stops a scan that is running (so does closing the program).
    void closeEvent(QCloseEvent* event) override;

  private:
    void Show_Statistics(const EnsembleStatistics& s);
    void Set_Text(const std::string& text);

    AppContext& app_;
    MainWindow& main_;
    QPlainTextEdit* text1_ = nullptr;
    QGroupBox* frame_ = nullptr;
    std::array<QLabel*, kStatistics> values_{};
    bool scanning_ = false;
    bool stop_ = false; // asks a running scan to end
};

} // namespace mvx
