#pragma once
// The picture surface every chart draws on: a pixel raster with a current position, a font, a pen and a
// draw mode. The charts know only this interface; the desktop program supplies a raster image behind it.
//
// Coordinates are pixels, x to the right and y downwards, (0, 0) the top-left pixel. Operations that take
// real coordinates round them to whole pixels (halves to even). Drawing outside the surface is clipped.
#include <cstdint>
#include <memory>
#include <string>

namespace mvx {

// A colour as the colour table keeps it: 0x00BBGGRR, red in the low byte.
using ColorRef = uint32_t;

constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kWhite = Rgb(255, 255, 255);

// Pen patterns of one-pixel lines: dashes are 18 pixels on and 6 off, dots 3 on and 3 off.
enum class DrawStyle { Solid = 0, Dash = 1, Dot = 2 };
// Copy paints the pen colour; XorPen replaces each pixel by pixel XOR pen, so drawing twice restores it.
enum class DrawMode { Copy = 0, XorPen = 1 };

class Surface {
  public:
    virtual ~Surface() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // New size; the whole surface becomes the background colour.
    virtual void Resize(int width, int height) = 0;
    // Fills the whole surface with the background colour and moves the current position to (0, 0).
    virtual void Clear() = 0;

    void SetBackColor(ColorRef c) { backColor_ = c & 0xFFFFFF; }
    ColorRef BackColor() const { return backColor_; }
    // Colour of printed text.
    void SetForeColor(ColorRef c) { foreColor_ = c & 0xFFFFFF; }
    ColorRef ForeColor() const { return foreColor_; }

    void SetCurrentPosition(double x, double y) {
        currentX_ = x;
        currentY_ = y;
    }
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }

    // Prints text in the fore colour with its top-left corner at the current position; only the glyphs
    // are painted (the background shows through). The current position then moves to the right end of
    // the text. Text is UTF-8; bytes that are not valid UTF-8 are read as Latin-1 (so 176 is the degree
    // sign and 177 the plus-minus sign, as in the Windows code page).
    virtual void Print(const std::string& text) = 0;
    // Size in pixels of text in the current font; the height is that of one line even for "".
    virtual int TextWidth(const std::string& text) const = 0;
    virtual int TextHeight(const std::string& text) const = 0;

    // Font by family name ("Arial", "Courier New"; a metric-compatible face stands in where the named
    // one is missing), size in points at 96 pixels per inch, bold or not.
    virtual void SetFont(const std::string& name, double sizePoints, bool bold) = 0;
    const std::string& FontName() const { return fontName_; }
    double FontSize() const { return fontSize_; }
    bool FontBold() const { return fontBold_; }

    void SetDrawWidth(int w) { drawWidth_ = w < 1 ? 1 : w; }
    int DrawWidth() const { return drawWidth_; }
    void SetDrawStyle(DrawStyle s) { drawStyle_ = s; }
    DrawStyle GetDrawStyle() const { return drawStyle_; }
    void SetDrawMode(DrawMode m) { drawMode_ = m; }
    DrawMode GetDrawMode() const { return drawMode_; }

    // Line from (x1, y1) to (x2, y2) in the current width, style and mode. A one-pixel line paints its
    // first point and stops one pixel short of its last, so a chain of lines paints every joint once
    // (which keeps an XOR polyline clean). The current position becomes (x2, y2).
    virtual void Line(double x1, double y1, double x2, double y2, ColorRef color) = 0;
    // Line from the current position to (x, y).
    void LineTo(double x, double y, ColorRef color) { Line(currentX_, currentY_, x, y, color); }
    // Outline of the rectangle whose corners are (x1, y1) and (x2, y2), both corners included, each
    // border pixel painted once. The current position becomes (x2, y2).
    virtual void Box(double x1, double y1, double x2, double y2, ColorRef color) = 0;
    // Filled rectangle, both corners included, in the current mode. The current position becomes (x2, y2).
    virtual void FillBox(double x1, double y1, double x2, double y2, ColorRef color) = 0;

    // One pixel, always copied (the draw mode does not apply). Outside the surface: nothing.
    virtual void SetPixel(int x, int y, ColorRef color) = 0;
    // One pixel; outside the surface gives the background colour.
    virtual ColorRef GetPixel(int x, int y) const = 0;
    // count pixels of row y from column x rightwards, as SetPixel would set them one by one; the
    // fast way to paint a raster a row at a time.
    virtual void SetPixelRow(int x, int y, const ColorRef* colors, int count) {
        for (int i = 0; i < count; ++i) SetPixel(x + i, y, colors[i]);
    }

    // Copies the whole of source into the rectangle (dx, dy, dw, dh) of this surface, scaled by nearest
    // neighbour (no smoothing), always as a plain copy. Destination pixel column i takes source column
    // floor((i + 0.5) * sourceWidth / dw), rows likewise, so one source pixel becomes a crisp block.
    virtual void StretchFrom(const Surface& source, int dx, int dy, int dw, int dh) = 0;

    // A new, hidden surface of the same kind, w by h pixels, with this surface's background, fore colour
    // and font; used for drawing that is then read back pixel by pixel.
    virtual std::unique_ptr<Surface> MakeScratch(int w, int h) const = 0;

  protected:
    std::string fontName_ = "Arial";
    double fontSize_ = 8;
    bool fontBold_ = false;

  private:
    ColorRef backColor_ = kWhite;
    ColorRef foreColor_ = kBlack;
    double currentX_ = 0, currentY_ = 0;
    int drawWidth_ = 1;
    DrawStyle drawStyle_ = DrawStyle::Solid;
    DrawMode drawMode_ = DrawMode::Copy;
};

} // namespace mvx
