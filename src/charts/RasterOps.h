#pragma once
// Pixel-exact one-pixel lines, box outlines, filled boxes and nearest-neighbour stretching on a plain
// 32-bit raster. Surfaces build on these so every kind of surface paints the same pixels. Pixel values
// are in the raster's own layout; XOR touches only the low 24 bits, so an alpha byte above them stays.
#include "charts/Surface.h"

#include <cstddef>
#include <cstdint>

namespace mvx {

struct RasterView {
    uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    ptrdiff_t Stride = 0; // pixels from one row to the next
    uint32_t* Row(int y) const { return Bits + static_cast<ptrdiff_t>(y) * Stride; }
};

struct ConstRasterView {
    const uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    ptrdiff_t Stride = 0;
    const uint32_t* Row(int y) const { return Bits + static_cast<ptrdiff_t>(y) * Stride; }
};

// The pen of a one-pixel drawing operation.
struct RasterPen {
    uint32_t Pixel = 0;
    DrawStyle Style = DrawStyle::Solid;
    bool Xor = false;
};

// Line from (x1, y1) towards (x2, y2): the first pixel painted, the last one not (a zero-length line
// paints nothing). Dash and dot patterns restart at the first pixel.
void Raster_Line(const RasterView& r, int x1, int y1, int x2, int y2, const RasterPen& pen);

// Border of the rectangle with corners (x1, y1), (x2, y2), both included; every border pixel painted
// exactly once, the pattern running clockwise from the top-left corner.
void Raster_Box(const RasterView& r, int x1, int y1, int x2, int y2, const RasterPen& pen);

// Filled rectangle, both corners included (the style does not apply to fills).
void Raster_FillBox(const RasterView& r, int x1, int y1, int x2, int y2, uint32_t pixel, bool xorMode);

// Nearest-neighbour copy of the whole source into (dx, dy, dw, dh) of the destination, clipped to it:
// destination column dx + i takes source column floor((i + 0.5) * src.Width / dw), rows alike.
void Raster_Stretch(const ConstRasterView& src, const RasterView& dst, int dx, int dy, int dw, int dh);

// Clamps a rounded coordinate so that arithmetic on it never overflows; far outside any raster.
int Raster_Coordinate(double v);

} // namespace mvx
