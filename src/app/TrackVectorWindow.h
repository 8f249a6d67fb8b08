#pragma once
// The track vector window: the loaded set's velocities resolved along and across a track direction,
// drawn as two time-series charts beside a text column of the last ensemble's reference speeds. Its own
// menus choose the projection, the units, the time origin and the font, and animate it through the file.
#include "app/AppContext.h"
#include "app/MainMenu.h"
#include "app/SurfacePicture.h"

#include "charts/TrackVectorChart.h"

#include "platform/QtSurface.h"

#include <QMdiSubWindow>
#include <QTimer>

class QMenuBar;

namespace mvx {

class MainWindow;

// The window's menu items, typed; control arrays keep their index from 0.
struct TrackVectorMenu {
    QAction* Quit_Seismic = nullptr; // "E&xit"
    ItemArray<0, 3> Select_Auto;     // "Bottom Track", "Navigation Track", "Manual"
    ItemArray<0, 3> Speed_Units;     // "Knots", "Meters Per Second", "Centimeters Per Second"
    ItemArray<0, 3> Depth_Units;     // "Fathoms", "Meters", "Feet"
    QAction* LeftToRight = nullptr;  // "Time &Origin on Left"
    ItemArray<0, 8> Select_Font_Size;
    QAction* Select_Font_Bold = nullptr;
    ItemArray<0, 3> Animate_Track; // "Go", "Stop", "Rewind"
    QAction* Select_Reference = nullptr;
    QMenu* File = nullptr;
    QMenu* Animate = nullptr;
};

class TrackVectorWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // Creates the window hidden, registers it and fills in the main window's hooks that lead here.
    TrackVectorWindow(AppContext& app, MainWindow& main);

    // Rotates when needed and redraws everything; nothing while no valid file is loaded.
    void Show_Track_Vector_Data();
    // The pointer text over the upper (true) or lower chart at a pixel of that chart.
    std::string Do_Tool_Tip(bool upper, double x, double y) const;

    // Menu commands.
    void Select_Auto_Click(int k);
    void Speed_Units_Click(int k);
    void Depth_Units_Click(int k);
    void LeftToRight_Click();
    void Select_Font_Size_Click(int k);
    void Select_Font_Bold_Click();
    void Animate_Track_Click(int k);
    void Disable_Menus(bool disable);

    const TrackVectorMenu& Menu() const { return menu_; }
    TrackVectorState& State() { return state_; }
    const TrackVectorChart& Chart() const { return chart_; }
    const QtSurface& Text_Picture() const { return text_; }
    const QtSurface& Picture1() const { return upper_; }
    const QtSurface& Picture2() const { return lower_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Build_Menus(QMenuBar* bar);
    void Show_Checks();
    void Changed(bool rotate);
    void Place_Pictures();
    void Ask_Projection_Angle();

    AppContext& app_;
    MainWindow& main_;
    TrackVectorMenu menu_;
    TrackVectorState state_;
    TrackVectorChart chart_;
    QtSurface text_, upper_, lower_;
    QWidget* client_ = nullptr;
    QWidget* area_ = nullptr;
    SurfacePicture* textPic_ = nullptr;
    SurfacePicture* upperPic_ = nullptr;
    SurfacePicture* lowerPic_ = nullptr;
    QTimer loadWatch_; // redraws after a load elsewhere while the window is on screen
    bool animating_ = false, stopAsked_ = false;
};

} // namespace mvx
