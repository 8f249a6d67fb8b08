#pragma once
// The export dialog: a top-level, modeless window with the panels Contour, Profile and Series/Ancillary
// that choose what to export from the open file, in which format and where. "Write File" asks for the
// target and writes it through the same writers as the command line's export; the menus and chart
// windows are disabled while it writes, and "Quit Export" stops a running export.
#include "app/AppContext.h"
#include "export/ExportFormats.h"
#include "export/ExportRunner.h"
#include "export/ExportSelection.h"

#include <QWidget>

#include <array>
#include <string>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace mvx {

class MainWindow;

// The dialog's controls, named as the program names them. FileType(panel)[k] is the button of
// kExportFormats[k] on that panel ("TXT", "MAT", ...).
struct ExportControls {
    QTabWidget* tbsOptions = nullptr;
    std::array<std::array<QRadioButton*, kExportFormats.size()>, 3> FileType{};
    std::array<QLineEdit*, 3> Text3{}; // contour First, Last, Step
    std::array<QRadioButton*, kExportDataTypes> Option3{};
    QLineEdit* Text4 = nullptr; // profile ensemble
    std::array<QCheckBox*, kExportDataTypes> Check2{};
    std::array<QLineEdit*, 3> Text6{}; // series First, Last, Step
    std::array<QCheckBox*, kSeriesBoxes> Check5{};
    std::array<QCheckBox*, kAncBoxes> Check6{};
    std::array<QListWidget*, 3> List1{};                     // bins of the contour, profile and series panels
    std::array<std::array<QPushButton*, 2>, 3> BinButtons{}; // "All", "None" of each panel
    QPushButton* cmdGO = nullptr;
    QPushButton* cmdQUIT = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};

// Builds the three panels, the buttons and the progress bar into dialog's layout.
void Build_Export_Controls(ExportControls& c, QWidget* dialog);
// The selection's choices shown on the controls, and read back from them (Kind is the tab shown).
void Write_Export_Controls(const ExportSelection& s, ExportControls& c);
void Read_Export_Controls(const ExportControls& c, ExportSelection& s);

class ExportDialog : public QWidget {
    Q_OBJECT
  public:
    // Creates the dialog hidden and fills in the main window's hooks that lead here.
    ExportDialog(AppContext& app, MainWindow& main);

    // Fills the controls from the charts' state (the bin lists keep their selection) and shows the
    // dialog.
    void Load_Folders();
    void cmdGO_Click();
    void cmdQUIT_Click();
    // "All" (true) or "None" of a panel's bin list.
    void Bins_Click(int panel, bool all);

    ExportControls& Controls() { return c_; }
    bool Writing() const { return writing_; }
    // What the last "Write File" ended with.
    const ExportResult& Last_Result() const { return result_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Set_Windows_Enabled(bool enabled);

    AppContext& app_;
    MainWindow& main_;
    ExportControls c_;
    ExportSelection selection_;
    ExportResult result_;
    std::string lastName_; // the name chosen last, offered again where the format keeps it
    bool writing_ = false;
    bool cancel_ = false;
};

} // namespace mvx
