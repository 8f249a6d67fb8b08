#pragma once
// The trend window: the statistics of one candle of the series chart, one line per bin and series, and
// for the picked line its trend (smoothed by the slider's number of passes) and the residuals about it.
// A click on the candle label picks another candle; a click on the table picks the line; the candle
// label and the line's marker blink.
#include "app/AppContext.h"
#include "app/SurfacePicture.h"

#include "charts/TrendChart.h"

#include "platform/QtSurface.h"

#include <QMdiSubWindow>
#include <QTimer>

class QSlider;

namespace mvx {

class MainWindow;

class TrendWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // Creates the window hidden in the main window's area and fills in the Show_Stat_Data hook.
    TrendWindow(AppContext& app, MainWindow& main);

    // Rebuilds the text and the plots from the series chart's candles; shows the window.
    void Show_Stat_Data();
    // The candle selection (a click on the candle label).
    void Label1_Click();
    // A click on the picture at a height: picks the table line there.
    void Picture1_Click(double y);
    void Slider1_Change(int value);
    void Timer1_Timer();

    const TrendChart& Chart() const { return chart_; }
    const QtSurface& Picture1() const { return picture1_; }
    QSlider* Slider1() const { return slider1_; }
    QTimer& Timer1() { return timer1_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    AppContext& app_;
    MainWindow& main_;
    QtSurface picture1_;
    SurfacePicture* pic1_ = nullptr;
    QSlider* slider1_ = nullptr;
    QTimer timer1_;
    TrendChart chart_;
    bool blinkGrey_ = false;
    bool initialised_ = false;
};

} // namespace mvx
