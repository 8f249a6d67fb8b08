#include "platform/Twips.h"

#include "common/Rounding.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace mvx {

double TwipsPerPixel(const QScreen* screen) {
    if (!screen && QGuiApplication::instance()) screen = QGuiApplication::primaryScreen();
    if (!screen) return 15.0;
    const double dpi = screen->logicalDotsPerInchX();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

double TwipsPerPixel(const QWidget* widget) {
    return TwipsPerPixel(widget ? widget->screen() : nullptr);
}

int TwipsToPixels(double twips, double twipsPerPixel) {
    if (twipsPerPixel <= 0) twipsPerPixel = 15.0;
    return RoundToInt32(twips / twipsPerPixel);
}

int PixelsToTwips(double pixels, double twipsPerPixel) {
    if (twipsPerPixel <= 0) twipsPerPixel = 15.0;
    return RoundToInt32(pixels * twipsPerPixel);
}

} // namespace mvx
