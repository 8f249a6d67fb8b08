#include "charts/RasterOps.h"

#include "common/Rounding.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace mvx {

namespace {

constexpr uint32_t kXorMask = 0x00FFFFFF;

bool PatternOn(DrawStyle style, int k) {
    switch (style) {
    case DrawStyle::Dash:
        return k % 24 < 18;
    case DrawStyle::Dot:
        return k % 6 < 3;
    default:
        return true;
    }
}

// Paints one pattern step at (x, y); steps off the raster still advance the pattern.
void Plot(const RasterView& r, int x, int y, const RasterPen& pen, int& k) {
    bool on = PatternOn(pen.Style, k++);
    if (!on || x < 0 || y < 0 || x >= r.Width || y >= r.Height) return;
    uint32_t& p = r.Row(y)[x];
    p = pen.Xor ? (p ^ (pen.Pixel & kXorMask)) : pen.Pixel;
}

} // namespace

int Raster_Coordinate(double v) {
    constexpr int64_t kFar = 1000000;
    return static_cast<int>(RoundToInt64(v, -kFar, kFar));
}

void Raster_Line(const RasterView& r, int x1, int y1, int x2, int y2, const RasterPen& pen) {
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1, k = 0;
    while (x != x2 || y != y2) {
        Plot(r, x, y, pen, k);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Raster_Box(const RasterView& r, int x1, int y1, int x2, int y2, const RasterPen& pen) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    int k = 0;
    if (x1 == x2 || y1 == y2) { // a degenerate box is a single run of pixels
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) Plot(r, x, y, pen, k);
        return;
    }
    for (int x = x1; x <= x2; ++x) Plot(r, x, y1, pen, k);
    for (int y = y1 + 1; y <= y2; ++y) Plot(r, x2, y, pen, k);
    for (int x = x2 - 1; x >= x1; --x) Plot(r, x, y2, pen, k);
    for (int y = y2 - 1; y > y1; --y) Plot(r, x1, y, pen, k);
}

void Raster_FillBox(const RasterView& r, int x1, int y1, int x2, int y2, uint32_t pixel, bool xorMode) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, r.Width - 1);
    y2 = std::min(y2, r.Height - 1);
    if (x1 > x2 || y1 > y2) return;
    const uint32_t x = pixel & kXorMask;
    for (int y = y1; y <= y2; ++y) {
        uint32_t* row = r.Row(y);
        if (xorMode)
            for (int i = x1; i <= x2; ++i) row[i] ^= x;
        else
            std::fill(row + x1, row + x2 + 1, pixel);
    }
}

void Raster_Stretch(const ConstRasterView& src, const RasterView& dst, int dx, int dy, int dw, int dh) {
    if (dw <= 0 || dh <= 0 || src.Width <= 0 || src.Height <= 0) return;
    const int i0 = std::max(0, -dx), i1 = std::min(dw, dst.Width - dx); // visible columns [i0, i1)
    const int j0 = std::max(0, -dy), j1 = std::min(dh, dst.Height - dy);
    if (i0 >= i1 || j0 >= j1) return;

    // floor((i + 0.5) * sw / dw) in exact integer arithmetic
    std::vector<int> columnOf(static_cast<size_t>(i1 - i0));
    for (int i = i0; i < i1; ++i)
        columnOf[i - i0] =
            static_cast<int>(((2 * static_cast<int64_t>(i) + 1) * src.Width) / (2 * int64_t{dw}));

    int previousSourceRow = -1;
    uint32_t* previousRow = nullptr;
    const size_t rowBytes = static_cast<size_t>(i1 - i0) * sizeof(uint32_t);
    for (int j = j0; j < j1; ++j) {
        const int sy = static_cast<int>(((2 * static_cast<int64_t>(j) + 1) * src.Height) / (2 * int64_t{dh}));
        uint32_t* out = dst.Row(dy + j) + dx + i0;
        if (sy == previousSourceRow) {
            std::memcpy(out, previousRow, rowBytes);
        } else {
            const uint32_t* in = src.Row(sy);
            for (int i = i0; i < i1; ++i) out[i - i0] = in[columnOf[i - i0]];
            previousSourceRow = sy;
        }
        previousRow = out;
    }
}

} // namespace mvx
