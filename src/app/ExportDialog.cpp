#include "app/ExportDialog.h"

#include "app/DialogControls.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

namespace mvx {

ExportDialog::ExportDialog(AppContext& app, MainWindow& main)
    : QWidget(&main, Qt::Window), app_(app), main_(main) {
    setObjectName("ExportDialog");
    setWindowTitle("MAREVOX Export Options");
    Build_Export_Controls(c_, this);
    Write_Export_Controls(selection_, c_);
    connect(c_.cmdGO, &QPushButton::clicked, this, &ExportDialog::cmdGO_Click);
    connect(c_.cmdQUIT, &QPushButton::clicked, this, &ExportDialog::cmdQUIT_Click);
    for (int panel = 0; panel < 3; ++panel)
        for (int k = 0; k < 2; ++k)
            connect(c_.BinButtons[static_cast<size_t>(panel)][static_cast<size_t>(k)], &QPushButton::clicked,
                    this, [this, panel, k] { Bins_Click(panel, k == 0); });
    hide();

    WindowHooks& hooks = main_.Hooks();
    hooks.Show_Export = [this] { Load_Folders(); };
    hooks.Export_Enable = [this](bool enabled) { setEnabled(enabled); };
    main_.Update_Menus();
}

void ExportDialog::Load_Folders() {
    if (writing_) return;
    // The bin lists and file types keep what the user chose while the dialog stays open.
    Read_Export_Controls(c_, selection_);
    mvx::Load_Folders(app_.Core.Opts, app_.Core.Set, selection_);
    Write_Export_Controls(selection_, c_);
    c_.ProgressBar1->setValue(0);
    Show_Centred(this);
}

void ExportDialog::Bins_Click(int panel, bool all) {
    if (panel < 0 || panel > 2) return;
    QListWidget* list = c_.List1[static_cast<size_t>(panel)];
    const int cells = std::clamp(app_.Core.Setup.NumCells, 0, kBinListItems);
    for (int m = 0; m < cells; ++m) list->item(m)->setSelected(all);
}

void ExportDialog::Set_Windows_Enabled(bool enabled) {
    for (ChildWindow id : {ChildWindow::SubSet, ChildWindow::WholeSet})
        if (QMdiSubWindow* w = main_.Window(id)) w->setEnabled(enabled);
    // The options dialog reloads the data set too; it waits as well (and stays off while monitoring).
    if (main_.Hooks().Options_Enable)
        main_.Hooks().Options_Enable(enabled && !main_.Menu().AutoTrack->isChecked());
}

void ExportDialog::cmdGO_Click() {
    if (writing_) return;
    result_ = ExportResult{};
    cancel_ = false;
    if (app_.Core.Set.FileValid && !main_.Busy() && isEnabled()) {
        c_.cmdGO->setEnabled(false);
        main_.Disable_Menus(true);
        Set_Windows_Enabled(false);
        Read_Export_Controls(c_, selection_);
        const ExportFormat& format = Export_Format(selection_.TypeOf(selection_.Kind));
        FileDialogSpec spec;
        spec.Title = "Write File";
        spec.DefaultExt = format.DefaultExt;
        spec.Filter = format.Filter;
        spec.FileName = format.KeepFileName ? lastName_ : std::string();
        const std::string name = app_.Ui.SaveFileName(spec);
        if (!name.empty()) {
            lastName_ = name;
            writing_ = true;
            selection_.Progress = [this](int value) {
                c_.ProgressBar1->setValue(value);
                app_.Yield();
                return true;
            };
            result_ = Run_Export(app_.Core, selection_, name);
            selection_.Progress = nullptr;
            writing_ = false;
            // The writers clamped the ensemble entries; the boxes show what was written.
            for (size_t k = 0; k < 3; ++k) {
                c_.Text3[k]->setText(QString::fromStdString(selection_.ContourEnsembles[k]));
                c_.Text6[k]->setText(QString::fromStdString(selection_.SeriesEnsembles[k]));
            }
            c_.Text4->setText(QString::fromStdString(selection_.ProfileEnsemble));
            if (!result_.Message.empty()) app_.Ui.MessageBox(result_.Message, "Marevox");
        }
        Set_Windows_Enabled(true);
        main_.Disable_Menus(false);
        c_.cmdGO->setEnabled(true);
    }
    c_.ProgressBar1->setValue(0);
    if (cancel_) cmdQUIT_Click();
}

void ExportDialog::cmdQUIT_Click() {
    if (writing_) {
        // The writer stops at its next look at the flag; Write File then closes the dialog.
        selection_.Cancel = true;
        cancel_ = true;
        return;
    }
    cancel_ = false;
    hide();
    // A dialog opened again starts with no bins chosen.
    for (BinList& bins : selection_.Bins) bins = BinList{};
    for (QListWidget* list : c_.List1) list->clearSelection();
}

void ExportDialog::closeEvent(QCloseEvent* event) {
    // Closing the window is "Quit Export".
    event->ignore();
    cmdQUIT_Click();
}

} // namespace mvx
