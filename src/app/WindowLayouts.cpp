#include "app/WindowLayouts.h"

#include "platform/Twips.h"

#include <QWidget>

namespace mvx {

namespace {

int32_t StateOf(const QWidget* window) {
    if (window->isMinimized()) return 1;
    if (window->isMaximized()) return 2;
    return 0;
}

} // namespace

void Show_In_State(QWidget* window, int32_t state) {
    if (state == 1) {
        window->showMinimized();
    } else if (state == 2) {
        window->showMaximized();
    } else {
        window->showNormal();
    }
}

WindowLayout Layout_From_Pixels(const QRect& normalGeometry, int32_t state, double twipsPerPixel) {
    WindowLayout layout;
    layout.Left = PixelsToTwips(normalGeometry.x(), twipsPerPixel);
    layout.Top = PixelsToTwips(normalGeometry.y(), twipsPerPixel);
    layout.Width = PixelsToTwips(normalGeometry.width(), twipsPerPixel);
    layout.Height = PixelsToTwips(normalGeometry.height(), twipsPerPixel);
    layout.State = state;
    return layout;
}

QRect Apply_Layout_Geometry(const QRect& current, const WindowLayout& layout, double twipsPerPixel) {
    QRect r = current;
    if (layout.Left >= 0) r.moveLeft(TwipsToPixels(layout.Left, twipsPerPixel));
    if (layout.Top >= 0) r.moveTop(TwipsToPixels(layout.Top, twipsPerPixel));
    if (layout.Width >= 0) r.setWidth(TwipsToPixels(layout.Width, twipsPerPixel));
    if (layout.Height >= 0) r.setHeight(TwipsToPixels(layout.Height, twipsPerPixel));
    return r;
}

bool Layout_State_Valid(int32_t state) {
    return state >= 0 && state <= 2;
}

bool Layout_Usable(const QRect& geometry, const QRect& container) {
    if (geometry.width() < kMinUsableWidth || geometry.height() < kMinUsableHeight) return false;
    if (geometry.top() < container.top() || geometry.top() > container.bottom() - kMinUsableHeight / 2)
        return false;
    const QRect inside = geometry.intersected(container);
    return inside.width() >= kMinUsableWidth / 2 && inside.height() >= kMinUsableHeight / 2;
}

QRect Layout_Pixels(const WindowLayout& layout, double twipsPerPixel) {
    return QRect(TwipsToPixels(layout.Left, twipsPerPixel), TwipsToPixels(layout.Top, twipsPerPixel),
                 TwipsToPixels(layout.Width, twipsPerPixel), TwipsToPixels(layout.Height, twipsPerPixel));
}

WindowLayout Read_Window_Layout(QWidget* window, double twipsPerPixel) {
    const int32_t state = StateOf(window);
    QRect normal = window->geometry();
    if (state != 0) {
        if (window->isWindow()) {
            normal = window->normalGeometry();
        } else if (window->isVisible()) {
            window->showNormal();
            normal = window->geometry();
            Show_In_State(window, state);
        }
    }
    return Layout_From_Pixels(normal, state, twipsPerPixel);
}

bool Apply_Window_Layout(QWidget* window, const WindowLayout& layout, double twipsPerPixel,
                         const QRect& container) {
    const int32_t before = StateOf(window);
    window->showNormal();
    const QRect target = Apply_Layout_Geometry(window->geometry(), layout, twipsPerPixel);
    if (!Layout_Usable(target, container)) {
        Show_In_State(window, before);
        return false;
    }
    window->setGeometry(target);
    if (Layout_State_Valid(layout.State)) Show_In_State(window, layout.State);
    return true;
}

bool Place_Hidden_Window(QWidget* window, const WindowLayout& layout, double twipsPerPixel,
                         const QRect& container) {
    const QRect target = Apply_Layout_Geometry(window->geometry(), layout, twipsPerPixel);
    if (!Layout_Usable(target, container)) return false;
    window->setGeometry(target);
    return true;
}

} // namespace mvx
