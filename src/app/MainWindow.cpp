#include "app/MainWindow.h"

#include "app/HelpWindow.h"
#include "app/InformationWindow.h"
#include "app/ProgressWindow.h"
#include "app/WindowLayouts.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTemporaryFile>

#include <fstream>

namespace mvx {

MainWindow::MainWindow(AppContext& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName("MainWindow");
    area_ = new QMdiArea(this);
    area_->setBackground(QColor(128, 128, 128));
    setCentralWidget(area_);

    info_ = new InformationWindow(area_);
    area_->addSubWindow(info_);
    info_->hide();
    children_[ChildWindow::Information] = info_;
    info_->installEventFilter(this);
    // A fresh installation shows the information, whole-set and sub-set windows.
    wanted_ = {{ChildWindow::Information, true},
               {ChildWindow::WholeSet, true},
               {ChildWindow::SubSet, true},
               {ChildWindow::Viewer, false},
               {ChildWindow::TrackVector, false}};

    progress_ = new ProgressWindow(this);
    app_.Core.Progress = progress_->Sink();

    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    Build_Menus();
    Update_Menus();
}

MainWindow::~MainWindow() {
    timer1_.stop();
    // The windows go after this one's members: they must not report to it on their way out.
    for (auto& [id, window] : children_) {
        if (window) window->removeEventFilter(this);
    }
    // The progress sink points at a window that goes with this one.
    app_.Core.Progress = ProgressSink{};
}

void MainWindow::Hide_Forms() {
    for (ChildWindow id : {ChildWindow::Viewer, ChildWindow::SubSet, ChildWindow::WholeSet}) {
        if (QMdiSubWindow* w = Window(id)) w->hide();
    }
}

void MainWindow::Refresh_Windows() {
    if (app_.Core.Set.FileValid && !busy_) {
        const int32_t type = app_.Core.Opts.ContourDataType;
        if (hooks_.Init_WholeSet_Charts) hooks_.Init_WholeSet_Charts(type);
        if (hooks_.Init_SubSet_Charts) hooks_.Init_SubSet_Charts(type);
    }
    for (ChildWindow id : {ChildWindow::Information, ChildWindow::Viewer}) {
        QMdiSubWindow* window = Window(id);
        if (!window) continue;
        if (Window_Wanted(id)) {
            window->showNormal();
        } else {
            window->hide();
        }
    }
}

void MainWindow::Stop_Animate() {
    if (hooks_.Stop_Animate) hooks_.Stop_Animate();
}

void MainWindow::Register_Window(ChildWindow id, QMdiSubWindow* window) {
    if (id == ChildWindow::Information) return; // the main window's own
    if (QMdiSubWindow* old = Window(id)) old->removeEventFilter(this);
    children_[id] = window;
    if (window) {
        if (window->mdiArea() != area_) area_->addSubWindow(window);
        window->hide();
        window->installEventFilter(this);
        // A window that arrives after start-up takes the layout read from the options file then.
        if (formLoaded_ && layoutRead_) Place_Chart_Window(id);
    }
    Update_Menus();
}

QMdiSubWindow* MainWindow::Window(ChildWindow id) const {
    auto it = children_.find(id);
    return it == children_.end() ? nullptr : it->second;
}

void MainWindow::Form_Load(const std::string& commandLine) {
    // 1. Timer off, caption, 1024 x 768 pixels or maximised when that does not fit.
    timer1_.stop();
    setWindowTitle("Marevox");
    resize(1024, 768);
    bool maximise = false;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        maximise = avail.width() < 1024 || avail.height() < 768;
        if (!maximise)
            move(avail.left() + (avail.width() - 1024) / 2, avail.top() + (avail.height() - 768) / 2);
    }
    if (maximise) {
        showMaximized();
    } else {
        show();
    }

    // 2. The command line without one leading and one trailing double quote, and its monitor switch.
    const MonitorCommandLine command = Parse_Monitor_Command_Line(commandLine);
    CommandLine = command.FileName;

    // 3. The options file and the recent-files list share one folder.
    optionsPath_ = StandardOptionsPath();
    recentPath_ = StandardRecentPath();

    // 4. Defaults, then the options file with its window layout.
    Load_Default_Options(app_.Core.Opts, &app_.Tables);
    info_->Fit_Form(app_.Core.Set.StatsText);
    layoutRead_ = Load_Options(app_.Core.Opts, optionsPath_);
    if (layoutRead_) {
        Apply_Window_Layout();
    } else if (Window_Wanted(ChildWindow::Information)) {
        info_->showNormal();
    }

    // 5. The colour table of the charts.
    Init_Color_Table(app_.ColorTable);
    if (hooks_.Init_Color_Table) hooks_.Init_Color_Table();

    // 6. Nothing loaded.
    app_.Core.Set.FileValid = false;
    app_.Core.Set.DataStructure = 0;
    RecentIndex = 0;

    // 7. The recent-files menu (the list file is created when missing).
    { std::ofstream create(recentPath_, std::ios::app); }
    recent_.Load_Old_Files(recentPath_);
    Show_Recent_Items();
    formLoaded_ = true;

    // 8. The file named on the command line, monitored when it ended in " -Mnnnn".
    if (!CommandLine.empty()) {
        if (command.Monitor) {
            monitor_.Interval = command.Interval;
            monitor_.MonitorFile = CommandLine;
            Set_Monitor(true);
        }
        Open_File();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    timer1_.stop();
    Stop_Animate();
    Store_Window_Layout();
    Save_Options(app_.Core.Opts, optionsPath_.empty() ? StandardOptionsPath() : optionsPath_);
    if (help_) help_->close();
    progress_->hide();
    event->accept();
}

void MainWindow::Stop_Program_Click() {
    close();
}

void MainWindow::Show_Help_Click() {
    if (!help_) help_ = new HelpWindow(this);
    help_->Show_Contents();
}

void MainWindow::Show_About_Click() {
    app_.Ui.MessageBox(std::string("Marevox\nVersion ") + MARVOX_VERSION +
                           "\n\nViewer and analysis of acoustic Doppler current profiler ensemble files.",
                       "About Marevox");
}

} // namespace mvx
