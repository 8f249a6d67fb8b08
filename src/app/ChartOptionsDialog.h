#pragma once
// The chart options dialog: a top-level, modeless window with the tabs Contour, Profile, Series,
// Ancillary and Processing that edit the options record. Made hidden at start-up; the main window's
// "Chart &Options" items show it on their tab. Apply and OK reload the data so that processing options
// take effect, then save the options file.
#include "app/AppContext.h"
#include "app/ChartOptionsPages.h"

#include <QWidget>

#include <functional>
#include <string>

namespace mvx {

class MainWindow;

class ChartOptionsDialog : public QWidget {
    Q_OBJECT
  public:
    // Creates the dialog hidden and fills in the main window's hooks that lead here.
    ChartOptionsDialog(AppContext& app, MainWindow& main);

    // Unless monitoring, re-initialises the controls from the options record (when a file is loaded) and
    // shows the dialog when show is true. With show false a dialog on screen stays there.
    void ForceLoad(bool show);
    // Opens the dialog on a tab, 1 Contour .. 5 Processing.
    void Show_Options(int tab);
    void Options_To_Dialog();
    void Dialog_To_Options();
    // True when the change needs the whole file read again.
    bool Processing_To_Options();

    // Buttons.
    void cmdOK_Click();
    void cmdApply_Click();
    void cmdCancel_Click();
    void cmdDefault_Click();
    void cmdLoad_Click();
    void cmdSave_Click();

    ChartOptionsControls& Controls() { return c_; }
    int OptionsTab = 1;

  private:
    void Control_Changed();
    void Set_Buttons(bool changed);
    // Copies the controls into the options record, reloads what the change needs and saves the file.
    void Apply_Changes();
    void Save_Options_To(const std::string& path);
    // Fills the options record (Default, Load), keeping the data set's capacities, and shows it.
    void Replace_Record(const std::function<void(Options&)>& fill);
    void Connect_Changes();

    AppContext& app_;
    MainWindow& main_;
    ChartOptionsControls c_;
    bool filling_ = false;  // the controls are being set from the options: not a user's change
    bool applying_ = false; // Apply or OK is reloading the file
};

} // namespace mvx
