#pragma once
// The sub-set window: the contour chart of the loaded set at the top right, the profile chart down the
// left side and the series chart below the contour, with two splitters that share the window out. The
// contour is also the pointing device: a click picks the profile ensemble and toggles series bins, a box
// dragged after the space key loads a new sub set, the arrow keys step the profile ensemble and the
// series bins, a right click opens the chart options.
#include "app/AppContext.h"
#include "app/SurfacePicture.h"

#include "charts/SubSetCharts.h"

#include "platform/QtSurface.h"

#include <QImage>
#include <QMdiSubWindow>

class QMouseEvent;
class QKeyEvent;

namespace mvx {

class MainWindow;

class SubSetWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // Creates the window hidden, registers it with the main window and fills in the main window's hooks
    // that lead here (sub-set charts, the composite picture, Fit_Form, the colour table).
    SubSetWindow(AppContext& app, MainWindow& main);

    // Full rebuild of the charts with a data type; nothing while no valid file is open. Shows the window
    // when the user wants to see it.
    void Init_Charts(int32_t dataType);
    // Redraw after a size or share change, without recomputing the data.
    void Resize_Chart3d();
    // Places the window below the information window, across the main window.
    void Fit_Form();
    // The composite of the three pictures at their places in the window.
    QImage Picture();

    // The profile and series charts draw through these (set up by the window itself).
    SubSetChartHooks& Chart_Hooks() { return chartHooks_; }
    SubSetCharts& Charts() { return charts_; }
    const QtSurface& Picture1() const { return picture1_; }
    const QtSurface& Picture4() const { return picture4_; }
    const QtSurface& Picture5() const { return picture5_; }
    QWidget* Picture1_Widget() const { return pic1_; }
    QWidget* Picture4_Widget() const { return pic4_; }
    QWidget* Picture5_Widget() const { return pic5_; }
    QWidget* Client() const { return client_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing only hides the window (the main window clears its wish to see it).
    void closeEvent(QCloseEvent* event) override;

  private:
    SubSetSurfaces Surfaces() { return {picture1_, picture2_, picture4_, picture5_}; }
    SubSetChartHooks Hooks_For_Build();
    void Place_Pictures();
    void Repaint_All();
    void Show_Profile();
    void Show_Series();

    // Mouse on the contour.
    void Picture1_MouseDown(QMouseEvent* e);
    void Picture1_MouseMove(QMouseEvent* e);
    void Picture1_MouseUp(QMouseEvent* e);
    void Picture1_Click(double x, double y);
    void Finish_Zoom(double x, double y);
    // Mouse on the profile and series surfaces.
    void Picture5_MouseMove(QMouseEvent* e);
    void Picture4_MouseDown(QMouseEvent* e);
    void Picture4_MouseMove(QMouseEvent* e);
    void Picture4_MouseUp(QMouseEvent* e);
    void Install_Plot_Hooks();
    // Splitters of the profile and series surfaces.
    bool Splitter_MouseDown(QWidget* picture, QMouseEvent* e);
    void Splitter_MouseMove(QMouseEvent* e);
    void Splitter_MouseUp(QMouseEvent* e);
    // Keys of the window.
    void Form_KeyDown(QKeyEvent* e);
    void Form_KeyUp(QKeyEvent* e);

    AppContext& app_;
    MainWindow& main_;
    QtSurface picture1_, picture2_, picture4_, picture5_;
    QWidget* client_ = nullptr;
    SurfacePicture* pic1_ = nullptr;
    SurfacePicture* pic4_ = nullptr;
    SurfacePicture* pic5_ = nullptr;
    QWidget* splitterLine_ = nullptr;
    SubSetCharts charts_;
    SubSetChartHooks chartHooks_;
    ZoomState seriesZoom_;   // the box dragged on the series after the space key
    bool built_ = false;     // the charts hold a picture of a loaded set
    bool clickDown_ = false; // a left press that may end as a click
    bool keyBusy_ = false;
    enum class Splitter { None, Profile, Series } splitter_ = Splitter::None;
};

} // namespace mvx
