#pragma once
// A widget that shows one chart surface at its own size, pixel for pixel. Mouse and key events go to
// whoever filters them (the chart window).
#include "platform/QtSurface.h"

#include <QWidget>

namespace mvx {

// The white client area of a chart window, which takes the keyboard focus and hands its events to filter.
QWidget* New_Chart_Client(const char* name, QObject* filter);

class SurfacePicture : public QWidget {
  public:
    SurfacePicture(const QtSurface& surface, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QtSurface& surface_;
};

} // namespace mvx
