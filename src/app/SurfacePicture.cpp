#include "app/SurfacePicture.h"

#include <QPainter>

namespace mvx {

SurfacePicture::SurfacePicture(const QtSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

QWidget* New_Chart_Client(const char* name, QObject* filter) {
    auto* client = new QWidget;
    client->setObjectName(name);
    client->setFocusPolicy(Qt::StrongFocus);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Qt::white);
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    client->installEventFilter(filter);
    return client;
}

void SurfacePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(QPoint(0, 0), surface_.Image());
}

} // namespace mvx
