// The child windows: the Window menu, what its check marks show, and the window-layout records.
#include "app/InformationWindow.h"
#include "app/MainWindow.h"
#include "app/WindowLayouts.h"

#include "platform/Twips.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

namespace mvx {

namespace {

// Each window's place in the options record's layout (-1: not kept) and Window-menu records.
struct WindowRecords {
    ChildWindow Id;
    int Layout;
    size_t Menu;
};
constexpr WindowRecords kWindows[] = {{ChildWindow::Information, kLayoutInformation, kMenuInformation},
                                      {ChildWindow::WholeSet, kLayoutWholeSet, kMenuWholeSet},
                                      {ChildWindow::SubSet, kLayoutSubSet, kMenuSubSet},
                                      {ChildWindow::Viewer, -1, kMenuViewer},
                                      {ChildWindow::TrackVector, kLayoutTrackVector, kMenuTrackVector}};

const WindowRecords& RecordsOf(ChildWindow id) {
    for (const WindowRecords& w : kWindows) {
        if (w.Id == id) return w;
    }
    return kWindows[0];
}

// Windows that show the open file, and so have nothing to show without one.
bool ShowsTheFile(ChildWindow id) {
    return id == ChildWindow::WholeSet || id == ChildWindow::SubSet || id == ChildWindow::TrackVector;
}

// Fit_Form on a window in normal state; a minimised one is restored for it and minimised again, a
// maximised one is left alone.
template <typename Fit> void AlignOne(QWidget* window, Fit fit) {
    if (!window || window->isMaximized()) return;
    const bool minimised = window->isMinimized();
    if (minimised) window->showNormal();
    fit();
    if (minimised) window->showMinimized();
}

} // namespace

QAction* MainWindow::Window_Item(ChildWindow id) const {
    switch (id) {
    case ChildWindow::Information:
        return menu_.Show_Info;
    case ChildWindow::WholeSet:
        return menu_.Show_Data_Set(1);
    case ChildWindow::SubSet:
        return menu_.Show_Data_Set(2);
    case ChildWindow::Viewer:
        return menu_.Show_Data_Viewer;
    case ChildWindow::TrackVector:
        break;
    }
    return menu_.Show_Seismic;
}

bool MainWindow::Window_Available(ChildWindow id) const {
    return Window(id) != nullptr && (!ShowsTheFile(id) || app_.Core.Set.FileValid);
}

bool MainWindow::Window_Wanted(ChildWindow id) const {
    auto it = wanted_.find(id);
    return it != wanted_.end() && it->second;
}

QRect MainWindow::Child_Area() {
    // The work area takes its size from the main window's layout, which may not have run yet.
    if (layout()) layout()->activate();
    return area_->viewport()->rect();
}

void MainWindow::Place_Chart_Window(ChildWindow id) {
    QMdiSubWindow* window = Window(id);
    const int index = RecordsOf(id).Layout;
    if (!window || index < 0) return;
    const WindowLayout& record = app_.Core.Opts.Windows[static_cast<size_t>(index)];
    placed_[id] = Place_Hidden_Window(window, record, TwipsPerPixel(this), Child_Area());
    stateToCome_[id] = Layout_State_Valid(record.State) ? record.State : 0;
}

void MainWindow::Show_Chart_Window(ChildWindow id) {
    QMdiSubWindow* window = Window(id);
    if (!window) return;
    if (!placed_[id]) {
        // No usable place kept from the last session: the window's own Fit_Form gives it one.
        if (id == ChildWindow::SubSet && hooks_.Fit_SubSet_Form) hooks_.Fit_SubSet_Form();
        if (id == ChildWindow::WholeSet && hooks_.Fit_WholeSet_Form) hooks_.Fit_WholeSet_Form();
        placed_[id] = true;
    }
    auto state = stateToCome_.find(id);
    Show_In_State(window, state == stateToCome_.end() ? 0 : state->second);
    if (state != stateToCome_.end()) stateToCome_.erase(state);
}

// A Window-menu item shows its window (in normal state) when it is not on screen, and hides it when it
// is; the check mark then follows the window.
void MainWindow::Toggle_Window(ChildWindow id) {
    QMdiSubWindow* window = Window(id);
    const bool onScreen = window != nullptr && !window->isHidden();
    wanted_[id] = !onScreen;
    if (onScreen) {
        window->hide();
    } else if (Window_Available(id)) {
        stateToCome_[id] = 0;
        Show_Chart_Window(id);
        window->raise();
    }
    Window_Item(id)->setChecked(window != nullptr && !window->isHidden());
}

void MainWindow::Show_Info_Click() {
    Toggle_Window(ChildWindow::Information);
}

void MainWindow::Show_Data_Set_Click(int index) {
    if (index != 1 && index != 2) return;
    Toggle_Window(index == 1 ? ChildWindow::WholeSet : ChildWindow::SubSet);
    Refresh_Windows();
}

void MainWindow::Show_Data_Viewer_Click() {
    Toggle_Window(ChildWindow::Viewer);
}

void MainWindow::Show_Seismic_Click() {
    Toggle_Window(ChildWindow::TrackVector);
}

void MainWindow::Align_Forms_Click() {
    AlignOne(info_, [this] { info_->Fit_Form(app_.Core.Set.StatsText); });
    AlignOne(Window(ChildWindow::SubSet), [this] {
        if (hooks_.Fit_SubSet_Form) hooks_.Fit_SubSet_Form();
    });
    AlignOne(Window(ChildWindow::WholeSet), [this] {
        if (hooks_.Fit_WholeSet_Form) hooks_.Fit_WholeSet_Form();
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShowToParent || type == QEvent::HideToParent || type == QEvent::Close) {
        for (const WindowRecords& w : kWindows) {
            const ChildWindow id = w.Id;
            if (Window(id) != watched) continue;
            if (type == QEvent::Close) {
                // The user closed it: it stays away until asked for again.
                wanted_[id] = false;
            } else {
                Window_Item(id)->setChecked(type == QEvent::ShowToParent);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Store_Window_Layout() {
    Options& opts = app_.Core.Opts;
    const double tpp = TwipsPerPixel(this);
    // A place that would not show the window is not kept: the record keeps what it had.
    auto store = [&opts, tpp](QWidget* window, size_t index, const QRect& container) {
        const WindowLayout read = Read_Window_Layout(window, tpp);
        if (Layout_Usable(Layout_Pixels(read, tpp), container)) opts.Windows[index] = read;
    };
    store(this, kLayoutMain, screen()->availableVirtualGeometry());
    const QRect area = Child_Area();
    // A child is put in its normal state for the moment of reading; while another child is maximised
    // the area would maximise that one too and restore the other, so the states would be lost.
    const bool dontMaximise = area_->testOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    for (const WindowRecords& w : kWindows) {
        QMdiSubWindow* window = Window(w.Id);
        // A window not shown in this session keeps the record it was given.
        if (window && w.Layout >= 0 && !stateToCome_.count(w.Id))
            store(window, static_cast<size_t>(w.Layout), area);
    }
    area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, dontMaximise);
    for (const WindowRecords& w : kWindows) opts.WindowMenuChecks[w.Menu] = Window_Wanted(w.Id);
}

void MainWindow::Apply_Window_Layout() {
    const Options& opts = app_.Core.Opts;
    const double tpp = TwipsPerPixel(this);
    mvx::Apply_Window_Layout(this, opts.Windows[kLayoutMain], tpp, screen()->availableVirtualGeometry());
    for (const WindowRecords& w : kWindows) wanted_[w.Id] = opts.WindowMenuChecks[w.Menu];
    if (!mvx::Apply_Window_Layout(info_, opts.Windows[kLayoutInformation], tpp, Child_Area()))
        info_->showNormal();
    if (!Window_Wanted(ChildWindow::Information)) info_->hide();
    // The chart windows stay out of sight until they have something to show.
    for (ChildWindow id : {ChildWindow::WholeSet, ChildWindow::SubSet, ChildWindow::TrackVector}) {
        if (QMdiSubWindow* window = Window(id)) {
            window->hide();
            Place_Chart_Window(id);
        }
    }
    Update_Menus();
}

} // namespace mvx
