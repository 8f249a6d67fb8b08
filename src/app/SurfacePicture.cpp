#include "app/SurfacePicture.h"

#include <QPainter>

namespace mvx {

SurfacePicture::SurfacePicture(const QtSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void SurfacePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(QPoint(0, 0), surface_.Image());
}

} // namespace mvx
