#include "platform/QtSurface.h"

#include "charts/RasterOps.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>

namespace mvx {

namespace {

// 96 pixels per inch, so a font size in points means what it means on a desktop screen.
constexpr int kDotsPerMeter = 3780;

QString ToQString(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (utf8.hasError()) s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return s;
}

QColor ToQColor(ColorRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

RasterView ViewOf(QImage& image) {
    RasterView v;
    v.Bits = reinterpret_cast<uint32_t*>(image.bits());
    v.Width = image.width();
    v.Height = image.height();
    v.Stride = image.bytesPerLine() / 4;
    return v;
}

ConstRasterView ConstViewOf(const QImage& image) {
    ConstRasterView v;
    v.Bits = reinterpret_cast<const uint32_t*>(image.constBits());
    v.Width = image.width();
    v.Height = image.height();
    v.Stride = image.bytesPerLine() / 4;
    return v;
}

} // namespace

QtSurface::QtSurface(int width, int height, ColorRef back) {
    SetBackColor(back);
    NewImage(width, height);
    SetFont(fontName_, fontSize_, fontBold_);
}

void QtSurface::NewImage(int width, int height) {
    image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image_.setDotsPerMeterX(kDotsPerMeter);
    image_.setDotsPerMeterY(kDotsPerMeter);
    image_.fill(ToPixel(BackColor()));
}

void QtSurface::Resize(int width, int height) {
    NewImage(width, height);
}

void QtSurface::Clear() {
    image_.fill(ToPixel(BackColor()));
    SetCurrentPosition(0, 0);
}

void QtSurface::SetFont(const std::string& name, double sizePoints, bool bold) {
    fontName_ = name;
    fontSize_ = sizePoints > 0 ? sizePoints : 1;
    fontBold_ = bold;
    font_ = QFont(QString::fromStdString(name));
    font_.setPointSizeF(fontSize_);
    font_.setBold(bold);
    // Glyph pixels are either the text colour or untouched, so pictures read back exactly.
    font_.setStyleStrategy(QFont::NoAntialias);
    font_.setKerning(false);
}

int QtSurface::TextWidth(const std::string& text) const {
    return QFontMetrics(font_, &image_).horizontalAdvance(ToQString(text));
}

int QtSurface::TextHeight(const std::string&) const {
    return QFontMetrics(font_, &image_).height();
}

void QtSurface::Print(const std::string& text) {
    const int x = Raster_Coordinate(CurrentX()), y = Raster_Coordinate(CurrentY());
    const QString s = ToQString(text);
    QFontMetrics metrics(font_, &image_);
    if (!s.isEmpty()) {
        QPainter p(&image_);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font_);
        p.setPen(ToQColor(ForeColor()));
        p.drawText(QPoint(x, y + metrics.ascent()), s);
    }
    SetCurrentPosition(CurrentX() + metrics.horizontalAdvance(s), CurrentY());
}

void QtSurface::Line(double x1, double y1, double x2, double y2, ColorRef color) {
    const int ix1 = Raster_Coordinate(x1), iy1 = Raster_Coordinate(y1);
    const int ix2 = Raster_Coordinate(x2), iy2 = Raster_Coordinate(y2);
    const bool xorMode = GetDrawMode() == DrawMode::XorPen;
    if (DrawWidth() <= 1) {
        Raster_Line(ViewOf(image_), ix1, iy1, ix2, iy2, RasterPen{ToPixel(color), GetDrawStyle(), xorMode});
    } else {
        // Wide pens are solid with round ends, whatever the style.
        QPainter p(&image_);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (xorMode) p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(ToQColor(color), DrawWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(ix1, iy1, ix2, iy2);
    }
    SetCurrentPosition(x2, y2);
}

void QtSurface::Box(double x1, double y1, double x2, double y2, ColorRef color) {
    const int ix1 = Raster_Coordinate(x1), iy1 = Raster_Coordinate(y1);
    const int ix2 = Raster_Coordinate(x2), iy2 = Raster_Coordinate(y2);
    const bool xorMode = GetDrawMode() == DrawMode::XorPen;
    if (DrawWidth() <= 1) {
        Raster_Box(ViewOf(image_), ix1, iy1, ix2, iy2, RasterPen{ToPixel(color), GetDrawStyle(), xorMode});
    } else {
        QPainter p(&image_);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (xorMode) p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(ToQColor(color), DrawWidth(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(std::min(ix1, ix2), std::min(iy1, iy2)),
                         QPoint(std::max(ix1, ix2), std::max(iy1, iy2))));
    }
    SetCurrentPosition(x2, y2);
}

void QtSurface::FillBox(double x1, double y1, double x2, double y2, ColorRef color) {
    Raster_FillBox(ViewOf(image_), Raster_Coordinate(x1), Raster_Coordinate(y1), Raster_Coordinate(x2),
                   Raster_Coordinate(y2), ToPixel(color), GetDrawMode() == DrawMode::XorPen);
    SetCurrentPosition(x2, y2);
}

void QtSurface::SetPixelRow(int x, int y, const ColorRef* colors, int count) {
    if (y < 0 || y >= image_.height() || count <= 0) return;
    const int first = std::max(x, 0);
    const int end = static_cast<int>(std::min<int64_t>(int64_t{x} + count, image_.width()));
    auto* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
    for (int i = first; i < end; ++i) row[i] = ToPixel(colors[i - x]);
}

void QtSurface::StretchFrom(const Surface& source, int dx, int dy, int dw, int dh) {
    if (const auto* qt = dynamic_cast<const QtSurface*>(&source)) {
        if (qt == this) { // stretching a surface onto itself reads a copy
            const QImage copy = image_.copy();
            Raster_Stretch(ConstViewOf(copy), ViewOf(image_), dx, dy, dw, dh);
        } else {
            Raster_Stretch(ConstViewOf(qt->image_), ViewOf(image_), dx, dy, dw, dh);
        }
        return;
    }
    // Another kind of surface: read it pixel by pixel into an image first.
    QImage copy(std::max(source.Width(), 1), std::max(source.Height(), 1), QImage::Format_RGB32);
    for (int y = 0; y < source.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(copy.scanLine(y));
        for (int x = 0; x < source.Width(); ++x) row[x] = ToPixel(source.GetPixel(x, y));
    }
    Raster_Stretch(ConstViewOf(copy), ViewOf(image_), dx, dy, dw, dh);
}

std::unique_ptr<Surface> QtSurface::MakeScratch(int w, int h) const {
    auto scratch = std::make_unique<QtSurface>(w, h, BackColor());
    scratch->SetForeColor(ForeColor());
    scratch->SetFont(fontName_, fontSize_, fontBold_);
    return scratch;
}

} // namespace mvx
