#include "charts/TracePen.h"

#include "common/Rounding.h"

#include <algorithm>

namespace mvx {

void TracePen::Flush() {
    if (!span_) return;
    span_ = false;
    s_.SetDrawMode(DrawMode::Copy);
    s_.SetDrawStyle(DrawStyle::Solid);
    s_.SetDrawWidth(lineWidth_);
    const int x = RoundToInt32(x_);
    s_.Line(x, spanMin_, x, spanMax_, color_);
    s_.SetPixel(x, RoundToInt32(spanMax_), color_);
    s_.SetDrawWidth(1);
}

void TracePen::Point(double x, double y) {
    if (lines_ && !symbols_ && open_ && RoundToInt32(x) == RoundToInt32(x_)) {
        if (!span_) {
            span_ = true;
            spanMin_ = spanMax_ = y_;
        }
        spanMin_ = std::min(spanMin_, y);
        spanMax_ = std::max(spanMax_, y);
        x_ = x;
        y_ = y;
        return;
    }
    Flush();
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
    Flush();
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
