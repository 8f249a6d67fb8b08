#pragma once
// A picture surface on a QImage (32-bit RGB). One-pixel lines, boxes, fills, pixels and stretching are
// painted directly on the image's rows (pixel-exact, XOR exact); text and lines wider than one pixel go
// through QPainter with antialiasing off, so every pixel is either drawn in its colour or left alone.
// Text needs a QGuiApplication to exist (fonts come from the window system's font database).
#include "charts/Surface.h"

#include <QFont>
#include <QImage>

#include <memory>
#include <string>

namespace mvx {

class QtSurface final : public Surface {
  public:
    // A surface of width x height pixels (each at least 1) filled with back.
    explicit QtSurface(int width = 1, int height = 1, ColorRef back = kWhite);

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Resize(int width, int height) override;
    void Clear() override;

    void Print(const std::string& text) override;
    int TextWidth(const std::string& text) const override;
    int TextHeight(const std::string& text) const override;
    void SetFont(const std::string& name, double sizePoints, bool bold) override;

    void Line(double x1, double y1, double x2, double y2, ColorRef color) override;
    void Box(double x1, double y1, double x2, double y2, ColorRef color) override;
    void FillBox(double x1, double y1, double x2, double y2, ColorRef color) override;

    void SetPixel(int x, int y, ColorRef color) override {
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
        reinterpret_cast<uint32_t*>(image_.scanLine(y))[x] = ToPixel(color);
    }
    ColorRef GetPixel(int x, int y) const override {
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return BackColor();
        return FromPixel(reinterpret_cast<const uint32_t*>(image_.constScanLine(y))[x]);
    }

    void SetPixelRow(int x, int y, const ColorRef* colors, int count) override;
    void StretchFrom(const Surface& source, int dx, int dy, int dw, int dh) override;
    std::unique_ptr<Surface> MakeScratch(int w, int h) const override;

    // The picture, for saving to a file or showing in a widget.
    const QImage& Image() const { return image_; }
    // The font actually used for text (after the font database has stood in for a missing family).
    const QFont& Font() const { return font_; }

    // Pixel layout conversions: a QImage RGB32 pixel is 0xFFRRGGBB.
    static uint32_t ToPixel(ColorRef c) {
        return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    static ColorRef FromPixel(uint32_t p) {
        return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
    }

  private:
    void NewImage(int width, int height);

    QImage image_;
    QFont font_;
};

} // namespace mvx
