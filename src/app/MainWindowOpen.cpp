// The Open command and the commands around it: recent files, Flip, MultiFile, saving raw sets and the
// sub-set capacity.
#include "app/FileFilters.h"
#include "app/InformationWindow.h"
#include "app/MainWindow.h"

#include "dataset/Loader.h"
#include "dataset/MonitorTimer.h"
#include "dataset/SaveSet.h"

#include "common/InputFile.h"

#include <QAction>

#include <cmath>

namespace mvx {

namespace {

// Display caption of a path in a menu ("&" would otherwise mark an access key).
QString MenuCaption(const std::string& path) {
    return QString::fromStdString(path).replace('&', QStringLiteral("&&"));
}

} // namespace

void MainWindow::Open_File() {
    if (busy_) return;
    busy_ = true;
    bool loaded = false;
    std::string problem; // why the name could not be read; the file loaded before it stays
    CoreState& core = app_.Core;
    try {
        Stop_Animate();
        if (!menu_.AutoTrack->isChecked()) Hide_Forms();
        Disable_Menus(true);

        std::string name;
        if (RecentIndex != 0) {
            name = recent_.Caption(RecentIndex);
            RecentIndex = 0;
        } else if (!CommandLine.empty()) {
            name = CommandLine;
            CommandLine.clear();
        }
        if (name.empty()) {
            FileDialogSpec spec;
            spec.Title = "Open";
            spec.Filter = kEnsembleFileFilter;
            name = app_.Ui.OpenFileName(spec);
        }

        app_.Pointer.Set(PointerShape::Hourglass);
        const std::string unreadable = name.empty() ? std::string() : InputProblem(name);
        if (name.empty()) {
            core.Set.FileValid = false;
        } else if (!unreadable.empty()) {
            problem = "Cannot open " + name + ": " + unreadable + ".";
        } else {
            core.Menus.MultiFileChecked = menu_.EnMulti->isChecked();
            core.Menus.FlipChecked = menu_.Flip_Over(0)->isChecked();
            core.Menus.MonitorOn = menu_.AutoTrack->isChecked();
            core.Set.FileName = name;
            LoadHooks load;
            load.WholeSetLoaded = [this](CoreState& state) {
                info_->Set_Stats_Text(state.Set.StatsText);
                if (hooks_.Map_Series_Bins) hooks_.Map_Series_Bins();
                if (hooks_.Init_WholeSet_Charts) hooks_.Init_WholeSet_Charts(state.Opts.ContourDataType);
            };
            load.SubSetLoaded = [this](CoreState& state) {
                if (hooks_.Init_SubSet_Charts) hooks_.Init_SubSet_Charts(state.Opts.ContourDataType);
            };
            loaded = Load_Whole_Set(core, name, load).Loaded();
            // A rejected file's statistics say why.
            if (!loaded && !core.Set.StatsText.empty()) info_->Set_Stats_Text(core.Set.StatsText);
            if (loaded && hooks_.Show_Selected_Data_Location) hooks_.Show_Selected_Data_Location();
            setWindowTitle(QString::fromStdString("Marevox - " + name));
            Add_Recent_File(name);
        }
    } catch (...) {
        // A failed open ends quietly; the window stays usable.
    }
    app_.Pointer.Set(PointerShape::Default);
    Disable_Menus(false);
    if (hooks_.Options_ForceLoad) hooks_.Options_ForceLoad(false);
    busy_ = false;
    Update_Menus();
    if (!problem.empty()) {
        // The file loaded before comes back on screen first.
        if (core.Set.FileValid) Refresh_Windows();
        Report_Open_Problem(problem);
    }
    if (hooks_.Set_RotateNeeded) hooks_.Set_RotateNeeded();
    emit Open_Finished(loaded);
}

void MainWindow::Report_Open_Problem(const std::string& message) {
    // Below the reason, the statistics of the file that stays loaded.
    const CoreState& core = app_.Core;
    info_->Set_Stats_Text(core.Set.FileValid ? message + "\r\n\r\n" + core.Set.StatsText : message);
    // Monitoring runs unattended: a message box would stop it until someone answers.
    if (!menu_.AutoTrack->isChecked()) app_.Ui.MessageBox(message, "Marevox");
}

void MainWindow::Show_Selected_Data(int32_t dataType) {
    CoreState& core = app_.Core;
    // Commands that reload or rewrite the data set wait while an Open fills it (they can be reached
    // through the yields of a load).
    if (!core.Set.FileValid || busy_) return;
    if (hooks_.Init_WholeSet_Charts) hooks_.Init_WholeSet_Charts(dataType);
    Read_File_Selection(core, core.Set.FirstEnsNumber, core.Set.LastEnsNumber, true);
    if (hooks_.Init_SubSet_Charts) hooks_.Init_SubSet_Charts(dataType);
}

void MainWindow::Old_File_Click(int k) {
    if (k < 1 || k > 8) return;
    RecentIndex = k;
    Open_File();
}

void MainWindow::EnMulti_Click() {
    // Takes effect at the next Open.
    QAction* item = menu_.EnMulti;
    item->setChecked(!item->isChecked());
    app_.Core.Menus.MultiFileChecked = item->isChecked();
}

void MainWindow::Flip_Over_Click() {
    if (busy_) return;
    QAction* item = menu_.Flip_Over(0);
    item->setChecked(!item->isChecked());
    app_.Core.Menus.FlipChecked = item->isChecked();
    if (app_.Core.Set.FileValid) {
        RecentIndex = 1;
        Open_File();
    }
}

void MainWindow::Show_Recent_Items() {
    for (int k = 1; k <= RecentFiles::kItems; ++k) {
        const std::string& caption = recent_.Caption(k);
        QAction* item = menu_.Old_File(k);
        item->setText(caption.empty() ? QString::number(k) : MenuCaption(caption));
        item->setVisible(!caption.empty());
        // Only the file opened last carries a mark; the others show none at all.
        const bool checked = recent_.Checked[static_cast<size_t>(k - 1)];
        item->setCheckable(checked);
        item->setChecked(checked);
    }
}

void MainWindow::Save_Old_Files() {
    recent_.Save_Old_Files(recentPath_);
}

void MainWindow::Add_Recent_File(const std::string& path) {
    if (path.empty()) return;
    recent_.Add_Recent_File(path);
    Save_Old_Files();
    Show_Recent_Items();
}

void MainWindow::Save_View_Data_Set_Click() {
    Save_Set(app_.Core.Set.FirstEnsNumber, app_.Core.Set.LastEnsNumber);
}

void MainWindow::Save_Selected_Data_Set_Click() {
    Save_Set(app_.Core.Set.SelFirstEns, app_.Core.Set.SelLastEns);
}

void MainWindow::Save_Set(int32_t first, int32_t last) {
    if (!app_.Core.Set.FileValid || busy_) return;
    FileDialogSpec spec;
    spec.Title = "Save";
    spec.Filter = "All Files (*.*)|*.*";
    const std::string target = app_.Ui.SaveFileName(spec);
    if (target.empty() || target == app_.Core.Set.FileName) return;
    app_.Pointer.Set(PointerShape::Hourglass);
    std::string message; // "Over-Write of File Not Allowed", or what failed
    Save_Ensemble_Range(app_.Core.Set, app_.Core.Frame.EnsembleBytes, first, last, target, nullptr, &message);
    app_.Pointer.Set(PointerShape::Default);
    if (!message.empty()) app_.Ui.MessageBox(message, "Marevox");
}

void MainWindow::Maximum_Ens_Click() {
    if (busy_) return;
    CoreState& core = app_.Core;
    const std::string answer = app_.Ui.InputBox("Maximum Sub-Set Ensembles", "Max Ensembles",
                                                std::to_string(core.Opts.MaxSubEnsembles));
    if (answer.empty()) return;
    const double value = LeadingNumberValue(answer);
    app_.Pointer.Set(PointerShape::Hourglass);
    const bool reloaded =
        Maximum_Ens(core, static_cast<int32_t>(std::clamp(std::nearbyint(value), -1e9, 1e9)));
    if (reloaded && core.Set.FileValid) {
        if (hooks_.Init_SubSet_Charts) hooks_.Init_SubSet_Charts(core.Opts.ContourDataType);
        if (hooks_.Show_Selected_Data_Location) hooks_.Show_Selected_Data_Location();
    }
    app_.Pointer.Set(PointerShape::Default);
}

} // namespace mvx
