#pragma once
// The main window: the multiple-document frame that holds every other window, owns the menus, starts and
// ends the program's run, opens files, keeps the recent-files list, runs monitor mode and hands chart
// pictures to the clipboard or to the desktop's picture program.
#include "app/AppContext.h"
#include "app/WindowHooks.h"
#include "dataset/MonitorTimer.h"
#include "options/RecentFiles.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <cstdint>
#include <map>
#include <string>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace mvx {

class InformationWindow;
class ProgressWindow;
class HelpWindow;

// The child windows that later parts of the program add; the main window shows, hides, aligns and saves
// the layout of whichever of them is registered.
enum class ChildWindow { WholeSet, SubSet, Viewer, TrackVector };

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
    // items that lead to them become available.
    void Register_Window(ChildWindow id, QMdiSubWindow* window);
    QMdiSubWindow* Window(ChildWindow id) const;
    WindowHooks& Hooks() { return hooks_; }
    void Update_Menus();
    // Menu items and menus by their names ("Open_File", "Old_File(3)", "Copy_Form(1)", "Select_File").
    QAction* Item(const std::string& name) const;
    QMenu* Menu(const std::string& name) const;

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

    // The picture a Copy item puts on the clipboard (null when there is nothing to copy).
    QImage Copy_Picture(int index) const;
    // Fills the options record's window-layout and Window-menu records from the windows as they are.
    void Store_Window_Layout();
    // Applies the options record's window-layout and Window-menu records to the windows.
    void Apply_Window_Layout();

  signals:
    // Emitted at the end of every Open command, loaded or not.
    void Open_Finished(bool loaded);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Build_Menus();
    QAction* Add_Item(QMenu* menu, const std::string& name, const QString& caption, bool checkable = false);
    QMenu* Add_Menu(QMenu* parent, const std::string& name, const QString& caption);
    bool Item_Available(const std::string& name) const;
    void Show_Recent_Items();
    void Set_Monitor(bool on);
    void Save_Set(int32_t first, int32_t last);
    void Show_Child(ChildWindow id, bool show);
    QImage Grab_Child(ChildWindow id) const;

    AppContext& app_;
    WindowHooks hooks_;
    QMdiArea* area_ = nullptr;
    InformationWindow* info_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    HelpWindow* help_ = nullptr;
    QTimer timer1_;
    std::map<std::string, QAction*> items_;
    std::map<std::string, QMenu*> menus_;
    std::map<ChildWindow, QMdiSubWindow*> children_;
    RecentFiles recent_;
    std::string optionsPath_, recentPath_;
    bool busy_ = false;
    bool formLoaded_ = false;
    bool menusDisabled_ = false;
    MonitorTimer monitor_;
};

} // namespace mvx
