#pragma once
// The main window: the multiple-document frame that holds every other window, owns the menus, starts and
// ends the program's run, opens files, keeps the recent-files list, runs monitor mode and hands chart
// pictures to the clipboard or to the desktop's picture program.
#include "app/AppContext.h"
#include "app/MainMenu.h"
#include "app/WindowHooks.h"
#include "dataset/MonitorTimer.h"
#include "options/RecentFiles.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTemporaryFile;

namespace mvx {

class InformationWindow;
class ProgressWindow;
class HelpWindow;

// The child windows the main window shows, hides, aligns and keeps the layout of. The information window
// is its own; the others register themselves (later parts of the program add the rest).
enum class ChildWindow { Information, WholeSet, SubSet, Viewer, TrackVector };

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(AppContext& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, in order: timer off, caption and size; the command line (one leading and one trailing
    // double quote removed); the options from the standard path with their window layout; the colour
    // table; the recent-files menu; then the file named on the command line (with monitoring for a
    // trailing " -Mnnnn").
    void Form_Load(const std::string& commandLine);

    // Public procedures of the main window.
    void Open_File_Now() { Open_File(); }
    void Disable_Menus(bool disable);
    void Hide_Forms();
    void Refresh_Windows();
    void Show_Selected_Data(int32_t dataType);
    void Save_Old_Files();
    void Add_Recent_File(const std::string& path);
    void Stop_Animate();

    // Later windows register themselves and fill in their hooks, then call Update_Menus so that the menu
    // items that lead to them become available. From then on the window's Window-menu item shows whether
    // it is on screen, and closing the window clears the wish to see it.
    void Register_Window(ChildWindow id, QMdiSubWindow* window);
    QMdiSubWindow* Window(ChildWindow id) const;
    WindowHooks& Hooks() { return hooks_; }
    void Update_Menus();
    // The menus and their items, typed.
    const MainMenu& Menu() const { return menu_; }
    // Whether the user wants the window on screen when it has something to show (its Window-menu item
    // was last chosen to show it, or the layout of the last session showed it).
    bool Window_Wanted(ChildWindow id) const;
    // Shows a window that now has something to show, in the state the last session left it in
    // (normal, minimised or maximised). Chart windows call it instead of show().
    void Show_Chart_Window(ChildWindow id);

    // Menu commands (public so that other windows and tests can run them).
    void Open_File();
    void Old_File_Click(int k);
    void EnMulti_Click();
    void Flip_Over_Click();
    void Save_View_Data_Set_Click();
    void Save_Selected_Data_Set_Click();
    void Maximum_Ens_Click();
    void Copy_Form_Click(int index);
    void Paint_Click(int index);
    void Show_Info_Click();
    void Show_Data_Set_Click(int index); // 1 whole set, 2 sub set
    void Show_Data_Viewer_Click();
    void Show_Seismic_Click();
    void Align_Forms_Click();
    void AutoTrack_Click();
    void TrackInt_Click();
    void Timer1_Timer();
    void Show_Help_Click();
    void Show_About_Click();
    void Stop_Program_Click();

    // Run state.
    int32_t RecentIndex = 0;
    std::string CommandLine;
    bool Busy() const { return busy_; }
    const std::array<std::string, RecentFiles::kItems>& Recent_Captions() const { return recent_.Captions; }
    const std::string& Options_Path() const { return optionsPath_; }
    const std::string& Recent_Path() const { return recentPath_; }
    const std::string& Monitor_File() const { return monitor_.MonitorFile; }
    int32_t Monitor_Interval() const { return monitor_.Interval; }
    QTimer& Timer1() { return timer1_; }
    QMdiArea* Area() const { return area_; }
    InformationWindow& Info() { return *info_; }
    ProgressWindow& Progress() { return *progress_; }
    HelpWindow* Help() const { return help_; }
    AppContext& App() { return app_; }

    // The picture a Copy item puts on the clipboard (null when there is nothing to copy), and why there
    // is none.
    QImage Copy_Picture(int index) const;
    std::string Nothing_To_Copy(int index) const;
    // Fills the options record's window-layout and Window-menu records from the windows as they are.
    void Store_Window_Layout();
    // Applies the options record's window-layout and Window-menu records to the windows.
    void Apply_Window_Layout();

  signals:
    // Emitted at the end of every Open command, loaded or not.
    void Open_Finished(bool loaded);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Build_Menus();
    void Show_Recent_Items();
    void Set_Monitor(bool on);
    void Save_Set(int32_t first, int32_t last);
    // A name the Open command cannot read: says why in a message box (unless monitoring) and in the
    // information window.
    void Report_Open_Problem(const std::string& message);
    void Toggle_Window(ChildWindow id);
    QAction* Window_Item(ChildWindow id) const;
    bool Window_Available(ChildWindow id) const;
    QImage Grab_Child(ChildWindow id) const;
    // The part of the main window child windows live in, in their coordinates.
    QRect Child_Area();
    // Gives a hidden chart window the place its layout record keeps, when that place can be used, and
    // keeps the record's state for the moment the window is shown.
    void Place_Chart_Window(ChildWindow id);

    AppContext& app_;
    WindowHooks hooks_;
    QMdiArea* area_ = nullptr;
    InformationWindow* info_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    HelpWindow* help_ = nullptr;
    QTimer timer1_;
    MainMenu menu_;
    std::map<ChildWindow, QMdiSubWindow*> children_;
    std::map<ChildWindow, bool> wanted_;
    std::map<ChildWindow, int32_t> stateToCome_; // the layout's state for a window not shown yet
    std::map<ChildWindow, bool> placed_;         // the window has a usable place
    // Pictures handed to the picture program, removed when the program ends.
    std::vector<std::unique_ptr<QTemporaryFile>> pictures_;
    RecentFiles recent_;
    std::string optionsPath_, recentPath_;
    bool busy_ = false;
    bool formLoaded_ = false;
    bool layoutRead_ = false; // the options file with its window layout was read at start-up
    bool menusDisabled_ = false;
    MonitorTimer monitor_;
};

} // namespace mvx
