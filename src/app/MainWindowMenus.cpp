// The main window's menus: building them, and which of them are available.
#include "app/MainWindow.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

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

// An item named as the program names it (the name also serves the accessibility tools).
QAction* AddItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(checkable);
    return action;
}

QMenu* AddMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

} // namespace

void MainWindow::Build_Menus() {
    MainMenu& m = menu_;
    QMenuBar* bar = menuBar();
    auto barMenu = [bar](const char* name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };
    auto barItem = [bar](const char* name, const QString& caption) {
        QAction* action = bar->addAction(caption);
        action->setObjectName(name);
        return action;
    };

    // File.
    m.Select_File = barMenu("Select_File", "&File");
    m.EnMulti = AddItem(m.Select_File, "EnMulti", "MultiFile", true);
    ConnectCheckItem(m.EnMulti, this, [this] { EnMulti_Click(); });
    m.Open_File = AddItem(m.Select_File, "Open_File", "&Open");
    connect(m.Open_File, &QAction::triggered, this, &MainWindow::Open_File);
    m.Save_Selected_Data_Set = AddItem(m.Select_File, "Save_Selected_Data_Set", "Save Selected Set");
    connect(m.Save_Selected_Data_Set, &QAction::triggered, this, &MainWindow::Save_Selected_Data_Set_Click);
    m.Save_View_Data_Set = AddItem(m.Select_File, "Save_View_Data_Set", "Save Sub Set");
    connect(m.Save_View_Data_Set, &QAction::triggered, this, &MainWindow::Save_View_Data_Set_Click);
    m.Stop_Program = AddItem(m.Select_File, "Stop_Program", "E&xit");
    connect(m.Stop_Program, &QAction::triggered, this, &MainWindow::Stop_Program_Click);
    m.Select_File->addSeparator();
    for (int k = 1; k <= 8; ++k) {
        QAction* item = AddItem(m.Select_File, "Old_File", QString::number(k), true);
        item->setVisible(false);
        ConnectCheckItem(item, this, [this, k] { Old_File_Click(k); });
        m.Old_File.Items[static_cast<size_t>(k - 1)] = item;
    }

    // Edit.
    m.Do_Edit = barMenu("Do_Edit", "&Edit");
    m.Do_Copy = AddMenu(m.Do_Edit, "Do_Copy", "&Copy");
    m.MSPAINT = AddMenu(m.Do_Edit, "MSPAINT", "MSPAINT");
    const char* setCaptions[2] = {"&Whole Set", "&Sub Set"};
    for (int i = 0; i < 2; ++i) {
        QAction* copy = AddItem(m.Do_Copy, "Copy_Form", setCaptions[i]);
        connect(copy, &QAction::triggered, this, [this, i] { Copy_Form_Click(i); });
        QAction* paint = AddItem(m.MSPAINT, "Paint", setCaptions[i]);
        connect(paint, &QAction::triggered, this, [this, i] { Paint_Click(i); });
        m.Copy_Form.Items[static_cast<size_t>(i)] = copy;
        m.Paint.Items[static_cast<size_t>(i)] = paint;
    }
    m.Flip_Over.Items[0] = AddItem(m.Do_Edit, "Flip_Over", "&Flip", true);
    ConnectCheckItem(m.Flip_Over(0), this, [this] { Flip_Over_Click(); });

    // Report (a menu-bar command).
    m.Edit_Contour = barItem("Edit_Contour", "&Report");
    connect(m.Edit_Contour, &QAction::triggered, this, [this] {
        if (hooks_.Show_Report) hooks_.Show_Report();
    });

    // Options.
    m.S_Options = barMenu("S_Options", "&Options");
    m.ShowOptions = AddMenu(m.S_Options, "ShowOptions", "Chart &Options");
    const char* tabs[5] = {"&Contour", "&Profile", "&Series", "&Ancillary", "P&rocessing"};
    for (int i = 0; i < 5; ++i) {
        QAction* item = AddItem(m.ShowOptions, "Show_Options", tabs[i]);
        connect(item, &QAction::triggered, this, [this, i] {
            if (app_.Core.Set.FileValid && hooks_.Show_Options) hooks_.Show_Options(i + 1);
        });
        m.Show_Options.Items[static_cast<size_t>(i)] = item;
    }
    m.Maximum_Ens = AddItem(m.S_Options, "Maximum_Ens", "Max &Ensembles");
    connect(m.Maximum_Ens, &QAction::triggered, this, &MainWindow::Maximum_Ens_Click);

    // Animate.
    m.Do_Ani = barMenu("Do_Ani", "&Animate");
    ItemArray<0, 2>* animations[3] = {&m.Con_Ani, &m.Pro_Ani, &m.Ser_Ani};
    const char* aniNames[3] = {"Con_Ani", "Pro_Ani", "Ser_Ani"};
    const char* aniCaptions[3] = {"&Contour", "&Profile", "&Series"};
    for (int c = 0; c < 3; ++c) {
        QMenu* sub = AddMenu(m.Do_Ani, aniNames[c], aniCaptions[c]);
        QAction* go = AddItem(sub, aniNames[c], "&Go", true);
        QAction* rewind = AddItem(sub, aniNames[c], "&Rewind");
        animations[c]->Items = {go, rewind};
        // The animation sets and clears the check mark: it is the running flag.
        ConnectCheckItem(go, this, [this, c] {
            if (hooks_.Animate) hooks_.Animate(c, true);
        });
        connect(rewind, &QAction::triggered, this, [this, c] {
            if (hooks_.Animate) hooks_.Animate(c, false);
        });
    }

    // Export (a menu-bar command).
    m.Do_Export = barItem("Do_Export", "E&xport");
    connect(m.Do_Export, &QAction::triggered, this, [this] {
        if (hooks_.Show_Export) hooks_.Show_Export();
    });

    // Utilities.
    m.Utils = barMenu("Utils", "&Utilities");
    m.ShowDetails = AddItem(m.Utils, "ShowDetails", "&File Details");
    connect(m.ShowDetails, &QAction::triggered, this, [this] {
        if (hooks_.Show_Details) hooks_.Show_Details();
    });
    m.Show_Trend = AddItem(m.Utils, "Show_Trend", "&Trend");
    connect(m.Show_Trend, &QAction::triggered, this, [this] {
        if (!app_.Core.Set.FileValid) return;
        if (hooks_.Force_Statistics_Display) hooks_.Force_Statistics_Display();
        if (hooks_.Show_Stat_Data) hooks_.Show_Stat_Data();
    });

    // Window.
    m.Do_Window = barMenu("Do_Window", "&Window");
    m.Align_Forms = AddItem(m.Do_Window, "Align_Forms", "&Align Forms");
    connect(m.Align_Forms, &QAction::triggered, this, &MainWindow::Align_Forms_Click);
    m.Show_Info = AddItem(m.Do_Window, "Show_Info", "&Information", true);
    ConnectCheckItem(m.Show_Info, this, [this] { Show_Info_Click(); });
    for (int index = 1; index <= 2; ++index) {
        QAction* item = AddItem(m.Do_Window, "Show_Data_Set", index == 1 ? "&Whole Set" : "&Sub Set", true);
        ConnectCheckItem(item, this, [this, index] { Show_Data_Set_Click(index); });
        m.Show_Data_Set.Items[static_cast<size_t>(index - 1)] = item;
    }
    m.Show_Data_Viewer = AddItem(m.Do_Window, "Show_Data_Viewer", "&Viewer", true);
    ConnectCheckItem(m.Show_Data_Viewer, this, [this] { Show_Data_Viewer_Click(); });
    m.Show_Seismic = AddItem(m.Do_Window, "Show_Seismic", "&Track Vector", true);
    ConnectCheckItem(m.Show_Seismic, this, [this] { Show_Seismic_Click(); });

    // Monitor.
    m.AT = barMenu("AT", "&Monitor");
    m.AutoTrack = AddItem(m.AT, "AutoTrack", "On", true);
    ConnectCheckItem(m.AutoTrack, this, [this] { AutoTrack_Click(); });
    m.TrackInt = AddItem(m.AT, "TrackInt", "Interval");
    connect(m.TrackInt, &QAction::triggered, this, &MainWindow::TrackInt_Click);

    // Help.
    m.Do_Help = barMenu("Do_Help", "&Help");
    m.Show_Help = AddItem(m.Do_Help, "Show_Help", "&Help");
    connect(m.Show_Help, &QAction::triggered, this, &MainWindow::Show_Help_Click);
    m.Show_About = AddItem(m.Do_Help, "Show_About", "&About");
    connect(m.Show_About, &QAction::triggered, this, &MainWindow::Show_About_Click);

    // The monitor countdown: a caption on the menu bar, nothing to click.
    m.Monitor_Count = barItem("Monitor_Count", "");
}

// Items whose windows are not part of the program yet stay disabled; so do the items of windows that
// have nothing to show while no file is loaded.
void MainWindow::Update_Menus() {
    const MainMenu& m = menu_;
    for (QAction* item : m.Show_Options.Items) item->setEnabled(static_cast<bool>(hooks_.Show_Options));
    m.ShowOptions->setEnabled(static_cast<bool>(hooks_.Show_Options));
    for (const auto* animation : {&m.Con_Ani, &m.Pro_Ani, &m.Ser_Ani}) {
        for (QAction* item : animation->Items) item->setEnabled(static_cast<bool>(hooks_.Animate));
    }
    m.Edit_Contour->setEnabled(static_cast<bool>(hooks_.Show_Report));
    m.ShowDetails->setEnabled(static_cast<bool>(hooks_.Show_Details));
    m.Show_Trend->setEnabled(hooks_.Force_Statistics_Display || hooks_.Show_Stat_Data);
    // Copy and paint of the whole set need its window.
    const bool wholeSet = Window(ChildWindow::WholeSet) != nullptr;
    m.Copy_Form(0)->setEnabled(wholeSet);
    m.Paint(0)->setEnabled(wholeSet);
    for (ChildWindow id : {ChildWindow::Information, ChildWindow::WholeSet, ChildWindow::SubSet,
                           ChildWindow::Viewer, ChildWindow::TrackVector}) {
        QAction* item = Window_Item(id);
        QMdiSubWindow* window = Window(id);
        item->setEnabled(Window_Available(id));
        item->setChecked(window != nullptr && !window->isHidden());
    }
    const bool on = !menusDisabled_;
    for (QMenu* menu : m.Governed()) menu->setEnabled(on);
    m.Do_Export->setEnabled(on && hooks_.Show_Export);
}

void MainWindow::Disable_Menus(bool disable) {
    if (!disable && menu_.AutoTrack->isChecked()) return; // monitoring keeps them disabled
    menusDisabled_ = disable;
    const bool on = !disable;
    for (QMenu* menu : menu_.Governed()) menu->setEnabled(on);
    menu_.Do_Export->setEnabled(on && hooks_.Show_Export);
    if (hooks_.TrackVector_Disable_Menus) hooks_.TrackVector_Disable_Menus(disable);
}

} // namespace mvx
