// Monitor mode: a file that is still being written is reopened every interval when it has grown, and its
// newest ensembles are shown.
#include "app/InputNumber.h"
#include "app/MDIForm1.h"

#include "common/NumberFormat.h"
#include "dataset/MultiFile.h"

#include <QAction>
#include <QMdiSubWindow>

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

int32_t ClampInterval(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= 2)) return 1;
    return r > 9999 ? 9999 : static_cast<int32_t>(r);
}

} // namespace

void MDIForm1::AutoTrack_Click() {
    Set_Monitor(!Item("AutoTrack")->isChecked());
}

void MDIForm1::Set_Monitor(bool on) {
    QAction* item = Item("AutoTrack");
    Options& opts = app_.Core.Opts;
    if (on) {
        if (item->isChecked()) return;
        Disable_Menus(true);
        Item("Monitor_Count")->setText("");
        savedShowLocators_ = opts.ShowLocators;
        opts.ShowLocators = false;
        if (hooks_.Options_Enable) hooks_.Options_Enable(false);
        if (hooks_.Export_Enable) hooks_.Export_Enable(false);
        item->setChecked(true);
        app_.Core.Menus.MonitorOn = true;
        timer1_.setInterval(opts.MonitorTimerPeriod > 0 ? opts.MonitorTimerPeriod : 1000);
        timer1_.start();
    } else {
        if (!item->isChecked()) return;
        Item("Monitor_Count")->setText("");
        item->setChecked(false);
        app_.Core.Menus.MonitorOn = false;
        Disable_Menus(false);
        for (ChildWindow id : {ChildWindow::WholeSet, ChildWindow::SubSet}) {
            if (QMdiSubWindow* w = Window(id)) w->setEnabled(true);
        }
        if (hooks_.Options_Enable) hooks_.Options_Enable(true);
        if (hooks_.Export_Enable) hooks_.Export_Enable(true);
        opts.ShowLocators = savedShowLocators_;
    }
}

void MDIForm1::TrackInt_Click() {
    const std::string answer = app_.Ui.InputBox("Enter monitor interval in seconds", "Monitor Interval",
                                                std::to_string(app_.Core.Opts.MonitorInterval));
    app_.Core.Opts.MonitorInterval = ClampInterval(Input_Number(answer));
}

void MDIForm1::Timer1_Timer() {
    CoreState& core = app_.Core;
    const bool on = Item("AutoTrack")->isChecked();
    ++tickCounter_;
    if (tickCounter_ > core.Opts.MonitorInterval) {
        tickCounter_ = 0;
        if (!on) {
            timer1_.stop();
            lastSize_ = 0;
        } else {
            const std::string name = !monitorFile_.empty() ? monitorFile_ : recent_[0];
            int64_t numberedSize = 0, quarnSize = 0;
            const bool multi = Item("EnMulti")->isChecked();
            core.Set.MultiFileCount = Test_For_Multi_File(name, multi, numberedSize);
            core.Set.QUARNFileCount = Test_For_QUARNMultiFile(name, multi, quarnSize);
            // Each test counts the named file and the further files of its own kind of set.
            const int64_t setSize = std::max(numberedSize, quarnSize);
            if (!name.empty() && setSize != lastSize_) {
                lastSize_ = setSize;
                if (!core.Set.FileValid && !monitorFile_.empty()) {
                    // Nothing is loaded yet: the monitored file is the one to open, whatever the recent
                    // list says.
                    RecentIndex = 0;
                    CommandLine = monitorFile_;
                } else {
                    RecentIndex = 1;
                }
                Open_File();
            }
        }
    }
    if (Item("AutoTrack")->isChecked()) {
        Item("Monitor_Count")
            ->setText(QString::fromStdString(FormatNumber(core.Opts.MonitorInterval - tickCounter_, "0")));
    }
}

} // namespace mvx
