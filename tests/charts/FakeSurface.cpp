#include "FakeSurface.h"

#include "charts/RasterOps.h"

#include <algorithm>
#include <cmath>

namespace mvx::test {

namespace {

RasterView ViewOf(std::vector<uint32_t>& pixels, int w, int h) {
    return RasterView{pixels.data(), w, h, w};
}

} // namespace

FakeSurface::FakeSurface(int width, int height, int charWidth, int charHeight)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), charWidth_(charWidth),
      charHeight_(charHeight), pixels_(static_cast<size_t>(width_) * height_, BackColor()) {}

void FakeSurface::Resize(int width, int height) {
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    pixels_.assign(static_cast<size_t>(width_) * height_, BackColor());
}

void FakeSurface::Clear() {
    std::fill(pixels_.begin(), pixels_.end(), BackColor());
    SetCurrentPosition(0, 0);
}

void FakeSurface::Print(const std::string& text) {
    Texts.push_back({CurrentX(), CurrentY(), text});
    const int x = Raster_Coordinate(CurrentX()), y = Raster_Coordinate(CurrentY());
    for (size_t i = 0; i < text.size(); ++i) SetPixel(x + static_cast<int>(i) * charWidth_, y, ForeColor());
    SetCurrentPosition(CurrentX() + TextWidth(text), CurrentY());
}

void FakeSurface::SetFont(const std::string& name, double sizePoints, bool bold) {
    fontName_ = name;
    fontSize_ = sizePoints;
    fontBold_ = bold;
    if (FollowFont) {
        charWidth_ = static_cast<int>(sizePoints);
        charHeight_ = 2 * static_cast<int>(sizePoints);
    }
}

void FakeSurface::Line(double x1, double y1, double x2, double y2, ColorRef color) {
    Lines.push_back({x1, y1, x2, y2, color});
    Raster_Line(ViewOf(pixels_, width_, height_), Raster_Coordinate(x1), Raster_Coordinate(y1),
                Raster_Coordinate(x2), Raster_Coordinate(y2),
                RasterPen{color, GetDrawStyle(), GetDrawMode() == DrawMode::XorPen});
    SetCurrentPosition(x2, y2);
}

void FakeSurface::Box(double x1, double y1, double x2, double y2, ColorRef color) {
    Raster_Box(ViewOf(pixels_, width_, height_), Raster_Coordinate(x1), Raster_Coordinate(y1),
               Raster_Coordinate(x2), Raster_Coordinate(y2),
               RasterPen{color, GetDrawStyle(), GetDrawMode() == DrawMode::XorPen});
    SetCurrentPosition(x2, y2);
}

void FakeSurface::FillBox(double x1, double y1, double x2, double y2, ColorRef color) {
    Raster_FillBox(ViewOf(pixels_, width_, height_), Raster_Coordinate(x1), Raster_Coordinate(y1),
                   Raster_Coordinate(x2), Raster_Coordinate(y2), color, GetDrawMode() == DrawMode::XorPen);
    SetCurrentPosition(x2, y2);
}

void FakeSurface::SetPixel(int x, int y, ColorRef color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = color & 0xFFFFFF;
}

ColorRef FakeSurface::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return BackColor();
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void FakeSurface::StretchFrom(const Surface& source, int dx, int dy, int dw, int dh) {
    std::vector<uint32_t> copy(static_cast<size_t>(source.Width()) * source.Height());
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            copy[static_cast<size_t>(y) * source.Width() + x] = source.GetPixel(x, y);
    Raster_Stretch(ConstRasterView{copy.data(), source.Width(), source.Height(), source.Width()},
                   ViewOf(pixels_, width_, height_), dx, dy, dw, dh);
}

std::unique_ptr<Surface> FakeSurface::MakeScratch(int w, int h) const {
    auto s = std::make_unique<FakeSurface>(w, h, charWidth_, charHeight_);
    s->SetBackColor(BackColor());
    s->SetForeColor(ForeColor());
    s->Clear();
    return s;
}

std::vector<PrintedText> FakeSurface::TextsAtY(double y) const {
    std::vector<PrintedText> out;
    for (const auto& t : Texts)
        if (std::fabs(t.Y - y) < 0.5) out.push_back(t);
    return out;
}

} // namespace mvx::test
