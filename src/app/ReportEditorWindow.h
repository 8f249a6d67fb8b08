#pragma once
// The report editor: a snapshot of the contour as a matrix of values, shown as a contour picture with
// titles, axis captions and start and end labels that the user edits, saved to and loaded from report
// files (".mvr") that can be reopened without the ensemble file.
#include "app/AppContext.h"
#include "app/MainMenu.h"
#include "app/SurfacePicture.h"

#include "analysis/ReportCaptions.h"
#include "analysis/ReportFile.h"
#include "charts/ReportChart.h"

#include "platform/QtSurface.h"

#include <QMdiSubWindow>

class QMenuBar;

namespace mvx {

class MainWindow;

struct ReportEditorMenu {
    QAction* Save_Data = nullptr; // "&Save Edit File"
    QAction* Load_Data = nullptr; // "Load Edit File"
    QAction* Load_Sub_Set = nullptr;
    QAction* Close_It = nullptr;
    ItemArray<0, kReportCaptionCount> Captions; // "Window", "Label 1", ... "End Date"
};

class ReportEditorWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // Creates the window hidden in the main window's area and fills in the Show_Report hook.
    ReportEditorWindow(AppContext& app, MainWindow& main);

    // The "&Report" command: shows the window with a snapshot of the loaded set.
    void Show_Report();
    // Takes the loaded set's contour into the snapshot; a message when there is none.
    void Load_Sub_Set();
    void Save_Data();
    void Load_Data();
    // One caption command: the input box, then the redraw when the answer was not empty.
    void Edit_Caption(ReportCaption caption);
    void Redraw();

    const ReportEditorMenu& Menu() const { return menu_; }
    const ReportSnapshot& Snapshot() const { return snapshot_; }
    const ReportChart& Chart() const { return chart_; }
    const QtSurface& Picture() const { return picture_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Build_Menus(QMenuBar* bar);

    AppContext& app_;
    MainWindow& main_;
    ReportEditorMenu menu_;
    ReportSnapshot snapshot_;
    ReportChart chart_;
    QtSurface picture_;
    SurfacePicture* pic_ = nullptr;
};

} // namespace mvx
