#pragma once
// The whole-set window, the navigator: the contour of the whole file in reduced form with a blinking
// rectangle around the sub set on display, a horizontal scroll bar that pages the sub set along the file,
// a vertical one that moves the bins shown, a box dragged after the space key that selects a new sub set,
// and the arrow keys that move the sub set by one ensemble or bin.
#include "app/AppContext.h"
#include "app/SurfacePicture.h"

#include "charts/Navigator.h"
#include "charts/WholeSetChart.h"

#include "platform/QtSurface.h"

#include <QImage>
#include <QMdiSubWindow>
#include <QTimer>

class QKeyEvent;
class QMouseEvent;
class QScrollBar;

namespace mvx {

class MainWindow;

class WholeSetWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // Creates the window hidden, registers it with the main window and fills in the hooks that lead here
    // (the chart, the sub-set marker, Move_Scrollers, the picture, Fit_Form).
    WholeSetWindow(AppContext& app, MainWindow& main);

    // Full rebuild of the chart with a data type; nothing while no valid file is open.
    void Init_Charts(int32_t dataType);
    // Marks the sub set on display and prints its range.
    void Show_Selected_Data_Location();
    // Both scroll bars to the sub set on display, without loading anything.
    void Move_Scrollers();
    // Prints the selection.
    void Display_Footer();
    // Places the window at the top of the main window, right of the information window.
    void Fit_Form();
    // The chart picture (for the clipboard).
    QImage Picture() const;

    // Loads first..last as the sub set and redraws the sub-set charts; false (the old set kept) when
    // nothing could be loaded.
    bool Load_Sub_Set(int32_t first, int32_t last);
    // The horizontal bar moved to a value (as by the user; programmatic moves do not load).
    void Set_HScroll(int32_t value);

    WholeSetChart& Chart() { return chart_; }
    const QtSurface& Picture1() const { return picture1_; }
    QWidget* Picture1_Widget() const { return pic1_; }
    QWidget* Client() const { return client_; }
    QScrollBar* HScroll1() const { return hScroll_; }
    QScrollBar* VScroll1() const { return vScroll_; }
    const NavigatorScrolls& Scrolls() const { return scrolls_; }
    QTimer& Timer1() { return timer1_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    WholeSetSurfaces Surfaces() { return {picture1_, picture2_}; }
    void Resize_Chart3d();
    void Place_Widgets();
    void Apply_Scrolls();
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);
    void Timer1_Timer();
    void Picture1_MouseDown(QMouseEvent* e);
    void Picture1_MouseMove(QMouseEvent* e);
    void Picture1_MouseUp(QMouseEvent* e);
    void Form_KeyDown(QKeyEvent* e);
    void Form_KeyUp(QKeyEvent* e);
    void Init_SubSet();

    AppContext& app_;
    MainWindow& main_;
    QtSurface picture1_, picture2_;
    QWidget* client_ = nullptr;
    SurfacePicture* pic1_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    QTimer timer1_;
    WholeSetChart chart_;
    NavigatorScrolls scrolls_;
    bool scrollGuard_ = false; // set while the program moves the bars
    bool keyBusy_ = false;
    bool loading_ = false;
    ZoomState drag_;
};

} // namespace mvx
