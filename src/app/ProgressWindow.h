#pragma once
// The progress window shown while a whole set or a sub set is loaded.
#include "common/Callbacks.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

class QProgressBar;

namespace mvx {

// Where the progress window goes for a main window frame: centred across, twice its own height above the
// main window's bottom edge, never left of or above 0.
QPoint Progress_Placement(const QRect& mainFrame, const QSize& own);

class ProgressWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressWindow(QWidget* mainWindow);

    // The loader's view of this window.
    ProgressSink Sink();
    void Show_Progress(const std::string& caption);
    void Set_Value(double value);
    void Hide_Progress();
    QProgressBar* ProgressBar1() const { return bar_; }
    int Show_Count() const { return shows_; }

  private:
    QWidget* main_;
    QProgressBar* bar_;
    int shows_ = 0;
};

} // namespace mvx
