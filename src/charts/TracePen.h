#pragma once
// Draws one trace of a profile or series chart point by point: with lines on, each point is joined to
// the previous point of the same run; with symbols on, each point is marked by a square dot. A break
// (a missing value, a wrap through 0/360 degrees) ends the run, so the next point starts a new line.
// Points that fall in the pixel column of the previous point (more points than pixels) are gathered into
// one vertical stroke over their range, drawn when the line leaves the column: the same pixels as the
// short lines between them, at one draw per column.
#include "charts/Surface.h"

#include <string>

namespace mvx {

class TracePen {
  public:
    TracePen(Surface& surface, ColorRef color, bool lines, bool symbols, int lineWidth, int dotSize)
        : s_(surface), color_(color), lines_(lines), symbols_(symbols), lineWidth_(lineWidth), dot_(dotSize) {
    }
    ~TracePen() { Flush(); }
    TracePen(const TracePen&) = delete;
    TracePen& operator=(const TracePen&) = delete;

    void Point(double x, double y);
    void Break() {
        Flush();
        open_ = false;
    }
    // A line from the last point to (x, y) that ends the run there (the leg of a wrap to a strip edge).
    void LineOut(double x, double y);
    // Starts a new run at (x, y) without marking it (the other edge of a wrap).
    void MoveTo(double x, double y) {
        Flush();
        x_ = x;
        y_ = y;
        open_ = true;
    }

  private:
    void Flush();

    Surface& s_;
    ColorRef color_;
    bool lines_, symbols_;
    int lineWidth_, dot_;
    bool open_ = false;
    double x_ = 0, y_ = 0;
    bool span_ = false; // a vertical stroke gathered in the current column
    double spanMin_ = 0, spanMax_ = 0;
};

// Text turned a quarter to read upwards, drawn transparently (only the glyph pixels are copied): its
// bottom-left corner at (x, y), the text rising from y.
void Print_Upwards_Transparent(Surface& surface, const std::string& text, double x, double y);

} // namespace mvx
