// Monitor mode: a file that is still being written is reopened every interval when it has grown, and its
// newest ensembles are shown.
#include "app/MainWindow.h"

#include "dataset/MultiFile.h"

#include <QAction>
#include <QMdiSubWindow>

#include <algorithm>

namespace mvx {

void MainWindow::AutoTrack_Click() {
    Set_Monitor(!menu_.AutoTrack->isChecked());
}

void MainWindow::Set_Monitor(bool on) {
    QAction* item = menu_.AutoTrack;
    CoreState& core = app_.Core;
    if (on) {
        if (item->isChecked()) return;
        Disable_Menus(true);
        menu_.Monitor_Count->setText("");
        monitor_.Switch_On(core.Opts, core.Menus);
        if (hooks_.Options_Enable) hooks_.Options_Enable(false);
        if (hooks_.Export_Enable) hooks_.Export_Enable(false);
        item->setChecked(true);
        timer1_.setInterval(MonitorTimer::kPeriodMs);
        timer1_.start();
    } else {
        if (!item->isChecked()) return;
        menu_.Monitor_Count->setText("");
        item->setChecked(false);
        monitor_.Switch_Off(core.Opts, core.Menus);
        // A running Open enables the menus itself when it ends.
        if (!busy_) Disable_Menus(false);
        for (ChildWindow id : {ChildWindow::WholeSet, ChildWindow::SubSet}) {
            if (QMdiSubWindow* w = Window(id)) w->setEnabled(true);
        }
        if (hooks_.Options_Enable) hooks_.Options_Enable(true);
        if (hooks_.Export_Enable) hooks_.Export_Enable(true);
    }
}

void MainWindow::TrackInt_Click() {
    monitor_.SetInterval(app_.Ui.InputBox("Enter monitor interval in seconds", "Monitor Interval",
                                          std::to_string(monitor_.Interval)));
}

void MainWindow::Timer1_Timer() {
    // A tick that arrives while an Open runs (during one of its yields) is ignored as a whole, so a
    // growth it would measure is not lost to the busy Open.
    if (busy_) return;
    CoreState& core = app_.Core;
    const bool multi = menu_.EnMulti->isChecked();
    // The multi-file tests run on every check; each counts the named file and the further files of its
    // own kind of set, so the larger total is the size of the set.
    const SetSizeFn setSize = [&core, multi](const std::string& name) {
        int64_t numbered = 0, quarn = 0;
        core.Set.MultiFileCount = Test_For_Multi_File(name, multi, numbered);
        core.Set.QUARNFileCount = Test_For_QUARNMultiFile(name, multi, quarn);
        return std::max(numbered, quarn);
    };
    const MonitorTickResult tick = monitor_.Tick(recent_.Caption(1), core.Set.FileValid, setSize);
    if (tick.DisableTimer) timer1_.stop();
    if (tick.Reopen) {
        if (tick.OpenMonitorFile) {
            RecentIndex = 0;
            CommandLine = monitor_.MonitorFile;
        } else {
            RecentIndex = 1;
        }
        Open_File();
    }
    if (tick.ShowCaption && menu_.AutoTrack->isChecked()) {
        menu_.Monitor_Count->setText(QString::fromStdString(tick.Caption));
    }
}

} // namespace mvx
