#include "app/AppIcon.h"

#include <QColor>
#include <QImage>
#include <QPixmap>

#include <cmath>

namespace mvx {

QIcon App_Icon() {
    // Bands of a blue-to-red scale, bent like a current profile over time.
    QIcon icon;
    for (int size : {16, 32, 64}) {
        QImage image(size, size, QImage::Format_RGB32);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double u = static_cast<double>(x) / size, v = static_cast<double>(y) / size;
                double value = 0.5 + 0.35 * std::sin(6.0 * u + 3.0 * v) * (1.0 - v) + 0.15 * (v - 0.5);
                value = std::fmin(1.0, std::fmax(0.0, value));
                image.setPixelColor(x, y, QColor::fromHsvF(0.66 * (1.0 - value), 0.85, 0.95));
            }
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace mvx
