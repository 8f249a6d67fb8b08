#include "app/MainWindow.h"

#include "app/HelpWindow.h"
#include "app/InformationWindow.h"
#include "app/ProgressWindow.h"
#include "app/WindowLayouts.h"
#include "platform/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <fstream>

namespace mvx {

namespace {

// Qt toggles a checkable item before its handler runs; the handlers here toggle the mark themselves (so
// that running a command from code behaves as a click), so the automatic toggle is undone first.
template <typename Fn> void ConnectCheckItem(QAction* item, QObject* context, Fn fn) {
    QObject::connect(item, &QAction::triggered, context, [item, fn] {
        item->setChecked(!item->isChecked());
        fn();
    });
}

} // namespace

MainWindow::MainWindow(AppContext& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName("MainWindow");
    area_ = new QMdiArea(this);
    area_->setBackground(QColor(128, 128, 128));
    setCentralWidget(area_);

    info_ = new InformationWindow(area_);
    area_->addSubWindow(info_);
    info_->hide();
    connect(info_, &InformationWindow::Unloaded, this, [this] { Item("Show_Info")->setChecked(false); });

    progress_ = new ProgressWindow(this);
    app_.Core.Progress = progress_->Sink();

    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);

    Build_Menus();
    Update_Menus();
}

MainWindow::~MainWindow() {
    timer1_.stop();
    // The progress sink points at a window that goes with this one.
    app_.Core.Progress = ProgressSink{};
}

QAction* MainWindow::Add_Item(QMenu* menu, const std::string& name, const QString& caption, bool checkable) {
    QAction* action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    action->setObjectName(QString::fromStdString(name));
    action->setCheckable(checkable);
    items_[name] = action;
    return action;
}

QMenu* MainWindow::Add_Menu(QMenu* parent, const std::string& name, const QString& caption) {
    QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromStdString(name));
    menus_[name] = menu;
    return menu;
}

void MainWindow::Build_Menus() {
    // File.
    QMenu* file = Add_Menu(nullptr, "Select_File", "&File");
    ConnectCheckItem(Add_Item(file, "EnMulti", "MultiFile", true), this, [this] { EnMulti_Click(); });
    connect(Add_Item(file, "Open_File", "&Open"), &QAction::triggered, this, &MainWindow::Open_File);
    connect(Add_Item(file, "Save_Selected_Data_Set", "Save Selected Set"), &QAction::triggered, this,
            &MainWindow::Save_Selected_Data_Set_Click);
    connect(Add_Item(file, "Save_View_Data_Set", "Save Sub Set"), &QAction::triggered, this,
            &MainWindow::Save_View_Data_Set_Click);
    connect(Add_Item(file, "Stop_Program", "E&xit"), &QAction::triggered, this,
            &MainWindow::Stop_Program_Click);
    file->addSeparator();
    for (int k = 1; k <= 8; ++k) {
        QAction* item = Add_Item(file, "Old_File(" + std::to_string(k) + ")", QString::number(k), true);
        item->setVisible(false);
        ConnectCheckItem(item, this, [this, k] { Old_File_Click(k); });
    }

    // Edit.
    QMenu* edit = Add_Menu(nullptr, "Do_Edit", "&Edit");
    QMenu* copy = Add_Menu(edit, "Do_Copy", "&Copy");
    QMenu* paint = Add_Menu(edit, "MSPAINT", "MSPAINT");
    const char* setCaptions[2] = {"&Whole Set", "&Sub Set"};
    for (int i = 0; i < 2; ++i) {
        connect(Add_Item(copy, "Copy_Form(" + std::to_string(i) + ")", setCaptions[i]), &QAction::triggered,
                this, [this, i] { Copy_Form_Click(i); });
        connect(Add_Item(paint, "Paint(" + std::to_string(i) + ")", setCaptions[i]), &QAction::triggered,
                this, [this, i] { Paint_Click(i); });
    }
    ConnectCheckItem(Add_Item(edit, "Flip_Over(0)", "&Flip", true), this, [this] { Flip_Over_Click(); });

    // Report (a menu-bar command).
    connect(Add_Item(nullptr, "Edit_Contour", "&Report"), &QAction::triggered, this, [this] {
        if (hooks_.Show_Report) hooks_.Show_Report();
    });

    // Options.
    QMenu* options = Add_Menu(nullptr, "S_Options", "&Options");
    QMenu* chartOptions = Add_Menu(options, "ShowOptions", "Chart &Options");
    const char* tabs[5] = {"&Contour", "&Profile", "&Series", "&Ancillary", "P&rocessing"};
    for (int i = 0; i < 5; ++i) {
        connect(Add_Item(chartOptions, "Show_Options(" + std::to_string(i) + ")", tabs[i]),
                &QAction::triggered, this, [this, i] {
                    if (app_.Core.Set.FileValid && hooks_.Show_Options) hooks_.Show_Options(i + 1);
                });
    }
    connect(Add_Item(options, "Maximum_Ens", "Max &Ensembles"), &QAction::triggered, this,
            &MainWindow::Maximum_Ens_Click);

    // Animate.
    QMenu* animate = Add_Menu(nullptr, "Do_Ani", "&Animate");
    const char* aniNames[3] = {"Con_Ani", "Pro_Ani", "Ser_Ani"};
    const char* aniCaptions[3] = {"&Contour", "&Profile", "&Series"};
    for (int c = 0; c < 3; ++c) {
        QMenu* sub = Add_Menu(animate, aniNames[c], aniCaptions[c]);
        QAction* go = Add_Item(sub, std::string(aniNames[c]) + "(0)", "&Go", true);
        QAction* rewind = Add_Item(sub, std::string(aniNames[c]) + "(1)", "&Rewind");
        connect(go, &QAction::triggered, this, [this, c] {
            MenuState& m = app_.Core.Menus;
            const bool checked = Item(std::string(c == 0   ? "Con_Ani"
                                                  : c == 1 ? "Pro_Ani"
                                                           : "Ser_Ani") +
                                      "(0)")
                                     ->isChecked();
            (c == 0 ? m.AnimateContourGo : c == 1 ? m.AnimateProfileGo : m.AnimateSeriesGo) = checked;
            if (hooks_.Animate) hooks_.Animate(c, true);
        });
        connect(rewind, &QAction::triggered, this, [this, c] {
            if (hooks_.Animate) hooks_.Animate(c, false);
        });
    }

    // Export (a menu-bar command).
    connect(Add_Item(nullptr, "Do_Export", "E&xport"), &QAction::triggered, this, [this] {
        if (hooks_.Show_Export) hooks_.Show_Export();
    });

    // Utilities.
    QMenu* utils = Add_Menu(nullptr, "Utils", "&Utilities");
    connect(Add_Item(utils, "ShowDetails", "&File Details"), &QAction::triggered, this, [this] {
        if (hooks_.Show_Details) hooks_.Show_Details();
    });
    connect(Add_Item(utils, "Show_Trend", "&Trend"), &QAction::triggered, this, [this] {
        if (app_.Core.Set.FileValid && hooks_.Force_Statistics_Display) hooks_.Force_Statistics_Display();
    });

    // Window.
    QMenu* window = Add_Menu(nullptr, "Do_Window", "&Window");
    connect(Add_Item(window, "Align_Forms", "&Align Forms"), &QAction::triggered, this,
            &MainWindow::Align_Forms_Click);
    ConnectCheckItem(Add_Item(window, "Show_Info", "&Information", true), this,
                     [this] { Show_Info_Click(); });
    ConnectCheckItem(Add_Item(window, "Show_Data_Set(1)", "&Whole Set", true), this,
                     [this] { Show_Data_Set_Click(1); });
    ConnectCheckItem(Add_Item(window, "Show_Data_Set(2)", "&Sub Set", true), this,
                     [this] { Show_Data_Set_Click(2); });
    ConnectCheckItem(Add_Item(window, "Show_Data_Viewer", "&Viewer", true), this,
                     [this] { Show_Data_Viewer_Click(); });
    ConnectCheckItem(Add_Item(window, "Show_Seismic", "&Track Vector", true), this,
                     [this] { Show_Seismic_Click(); });
    // A fresh installation shows the information, whole-set and sub-set windows.
    Item("Show_Info")->setChecked(true);
    Item("Show_Data_Set(1)")->setChecked(true);
    Item("Show_Data_Set(2)")->setChecked(true);

    // Monitor.
    QMenu* monitor = Add_Menu(nullptr, "AT", "&Monitor");
    ConnectCheckItem(Add_Item(monitor, "AutoTrack", "On", true), this, [this] { AutoTrack_Click(); });
    connect(Add_Item(monitor, "TrackInt", "Interval"), &QAction::triggered, this,
            &MainWindow::TrackInt_Click);

    // Help.
    QMenu* help = Add_Menu(nullptr, "Do_Help", "&Help");
    connect(Add_Item(help, "Show_Help", "&Help"), &QAction::triggered, this, &MainWindow::Show_Help_Click);
    connect(Add_Item(help, "Show_About", "&About"), &QAction::triggered, this, &MainWindow::Show_About_Click);

    // The monitor countdown: a caption on the menu bar, nothing to click.
    Add_Item(nullptr, "Monitor_Count", "");
}

QAction* MainWindow::Item(const std::string& name) const {
    auto it = items_.find(name);
    return it == items_.end() ? nullptr : it->second;
}

QMenu* MainWindow::Menu(const std::string& name) const {
    auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

// Items whose windows are not part of the program yet stay disabled.
bool MainWindow::Item_Available(const std::string& name) const {
    auto starts = [&name](const char* prefix) { return name.rfind(prefix, 0) == 0; };
    if (starts("Show_Options(")) return static_cast<bool>(hooks_.Show_Options);
    if (starts("Con_Ani(") || starts("Pro_Ani(") || starts("Ser_Ani("))
        return static_cast<bool>(hooks_.Animate);
    if (name == "Do_Export") return static_cast<bool>(hooks_.Show_Export);
    if (name == "Edit_Contour") return static_cast<bool>(hooks_.Show_Report);
    if (name == "ShowDetails") return static_cast<bool>(hooks_.Show_Details);
    if (name == "Show_Trend") return static_cast<bool>(hooks_.Force_Statistics_Display);
    if (name == "Show_Data_Set(1)") return Window(ChildWindow::WholeSet) != nullptr;
    if (name == "Show_Data_Set(2)") return Window(ChildWindow::SubSet) != nullptr;
    if (name == "Show_Data_Viewer") return Window(ChildWindow::Viewer) != nullptr;
    if (name == "Show_Seismic") return Window(ChildWindow::TrackVector) != nullptr;
    return true;
}

void MainWindow::Update_Menus() {
    for (auto& [name, action] : items_) action->setEnabled(Item_Available(name));
    Menu("ShowOptions")->setEnabled(static_cast<bool>(hooks_.Show_Options));
    // The menus Disable_Menus governs.
    const bool on = !menusDisabled_;
    for (const char* name : {"Select_File", "Do_Edit", "S_Options", "Do_Ani"}) Menu(name)->setEnabled(on);
    Item("Do_Export")->setEnabled(on && Item_Available("Do_Export"));
}

void MainWindow::Disable_Menus(bool disable) {
    if (!disable && Item("AutoTrack")->isChecked()) return; // monitoring keeps them disabled
    menusDisabled_ = disable;
    const bool on = !disable;
    for (const char* name : {"Select_File", "Do_Edit", "S_Options", "Do_Ani"}) Menu(name)->setEnabled(on);
    Item("Do_Export")->setEnabled(on && Item_Available("Do_Export"));
    if (hooks_.TrackVector_Disable_Menus) hooks_.TrackVector_Disable_Menus(disable);
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
    if (Item("Show_Info")->isChecked()) {
        info_->showNormal();
    } else {
        info_->hide();
    }
    if (QMdiSubWindow* viewer = Window(ChildWindow::Viewer)) {
        if (Item("Show_Data_Viewer")->isChecked()) {
            viewer->showNormal();
        } else {
            viewer->hide();
        }
    }
}

void MainWindow::Stop_Animate() {
    if (hooks_.Stop_Animate) hooks_.Stop_Animate();
}

void MainWindow::Register_Window(ChildWindow id, QMdiSubWindow* window) {
    children_[id] = window;
    if (window && window->mdiArea() != area_) area_->addSubWindow(window);
    if (window) {
        // A window that arrives after start-up takes the layout read from the options file then.
        const int index = id == ChildWindow::WholeSet      ? kLayoutWholeSet
                          : id == ChildWindow::SubSet      ? kLayoutSubSet
                          : id == ChildWindow::TrackVector ? kLayoutTrackVector
                                                           : -1;
        if (formLoaded_ && index >= 0) {
            mvx::Apply_Window_Layout(window, app_.Core.Opts.Windows[static_cast<size_t>(index)],
                                     TwipsPerPixel(this));
        }
        window->hide();
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
    if (Load_Options(app_.Core.Opts, optionsPath_)) {
        Apply_Window_Layout();
    } else if (Item("Show_Info")->isChecked()) {
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

} // namespace mvx
