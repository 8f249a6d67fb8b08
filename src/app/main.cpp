// marevox [FILE [-Mnnnn]]: the desktop program.
#include "app/Animator.h"
#include "app/AppContext.h"
#include "app/AppIcon.h"
#include "app/ChartOptionsDialog.h"
#include "app/ExportDialog.h"
#include "app/FileDetailsWindow.h"
#include "app/MainWindow.h"
#include "app/ReportEditorWindow.h"
#include "app/SubSetWindow.h"
#include "app/TrackVectorWindow.h"
#include "app/TrendWindow.h"
#include "app/ViewerWindow.h"
#include "app/WholeSetWindow.h"
#include "platform/Dialogs.h"
#include "platform/Launcher.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Marevox");
    QApplication::setApplicationVersion(MARVOX_VERSION);
    QApplication::setWindowIcon(mvx::App_Icon());

    mvx::QtDialogs dialogs;
    mvx::DesktopLauncher launcher;
    mvx::AppContext app(dialogs, launcher);
    mvx::MainWindow mainWindow(app);
    // The chart windows register with the main window, which owns them from then on.
    auto* wholeSet = new mvx::WholeSetWindow(app, mainWindow);
    auto* subSet = new mvx::SubSetWindow(app, mainWindow);
    new mvx::Animator(app, mainWindow, *wholeSet, subSet);
    new mvx::TrackVectorWindow(app, mainWindow);
    new mvx::TrendWindow(app, mainWindow);
    new mvx::ReportEditorWindow(app, mainWindow);
    new mvx::ViewerWindow(app, mainWindow);
    new mvx::FileDetailsWindow(app, mainWindow);
    // The two dialogs are made hidden; the menus show them.
    new mvx::ChartOptionsDialog(app, mainWindow);
    new mvx::ExportDialog(app, mainWindow);
    dialogs.SetParent(&mainWindow);

    // The command line as one text, the way the program reads it: the words after the program's name.
    QStringList words = QApplication::arguments();
    if (!words.isEmpty()) words.removeFirst();
    mainWindow.Form_Load(words.join(' ').toStdString());
    return application.exec();
}
