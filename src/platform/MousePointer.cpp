#include "platform/MousePointer.h"

#include <QGuiApplication>

namespace mvx {

QCursor CursorFor(PointerShape shape) {
    switch (shape) {
    case PointerShape::Cross:
        return QCursor(Qt::CrossCursor);
    case PointerShape::Hourglass:
        return QCursor(Qt::WaitCursor);
    case PointerShape::Default:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

MousePointer::~MousePointer() {
    if (overridden_ && QGuiApplication::instance()) QGuiApplication::restoreOverrideCursor();
}

void MousePointer::Set(PointerShape shape) {
    shape_ = shape;
    if (!QGuiApplication::instance()) return;
    if (shape == PointerShape::Default) {
        if (overridden_) QGuiApplication::restoreOverrideCursor();
        overridden_ = false;
    } else if (overridden_) {
        QGuiApplication::changeOverrideCursor(CursorFor(shape));
    } else {
        QGuiApplication::setOverrideCursor(CursorFor(shape));
        overridden_ = true;
    }
}

} // namespace mvx
