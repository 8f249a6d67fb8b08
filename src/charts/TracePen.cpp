#include "charts/TracePen.h"

#include "common/Rounding.h"

namespace mvx {

void TracePen::Point(double x, double y) {
    s_.SetDrawMode(DrawMode::Copy);
    s_.SetDrawStyle(DrawStyle::Solid);
    if (lines_ && open_) {
        s_.SetDrawWidth(lineWidth_);
        s_.Line(x_, y_, x, y, color_);
        // A one-pixel line stops short of its end; the end pixel belongs to the next leg or stays unset.
        if (lineWidth_ <= 1) s_.SetPixel(RoundToInt32(x), RoundToInt32(y), color_);
        s_.SetDrawWidth(1);
    } else if (lines_) {
        s_.SetPixel(RoundToInt32(x), RoundToInt32(y), color_);
    }
    if (symbols_) {
        const double half = dot_ / 2.0;
        s_.FillBox(x - half, y - half, x + half - 1, y + half - 1, color_);
    }
    x_ = x;
    y_ = y;
    open_ = true;
}

void TracePen::LineOut(double x, double y) {
    if (lines_ && open_) {
        s_.SetDrawMode(DrawMode::Copy);
        s_.SetDrawWidth(lineWidth_);
        s_.Line(x_, y_, x, y, color_);
        s_.SetDrawWidth(1);
    }
    open_ = false;
}

void Print_Upwards_Transparent(Surface& surface, const std::string& text, double x, double y) {
    const int w = surface.TextWidth(text), h = surface.TextHeight(text);
    if (text.empty() || w <= 0 || h <= 0) return;
    auto scratch = surface.MakeScratch(w, h);
    scratch->Clear();
    scratch->SetCurrentPosition(0, 0);
    scratch->Print(text);
    const ColorRef back = scratch->BackColor();
    const int xd = RoundToInt32(x), yd = RoundToInt32(y);
    for (int sy = 0; sy < h; ++sy)
        for (int sx = 0; sx < w; ++sx) {
            const ColorRef c = scratch->GetPixel(sx, sy);
            if (c != back) surface.SetPixel(xd + sy, yd - sx, c);
        }
}

} // namespace mvx
