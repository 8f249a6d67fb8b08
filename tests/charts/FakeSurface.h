#pragma once
// A surface for tests without a window system: a plain pixel raster (pixels are ColorRef values) with
// fixed text metrics. Every printed text and every line is recorded. Printing marks one pixel in the
// fore colour at the top-left corner of each character cell, so text placement can be read back from
// pixels too.
#include "charts/Surface.h"

#include <memory>
#include <string>
#include <vector>

namespace mvx::test {

struct PrintedText {
    double X = 0, Y = 0;
    std::string Text;
};

struct DrawnLine {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    ColorRef Color = 0;
};

class FakeSurface final : public Surface {
  public:
    FakeSurface(int width, int height, int charWidth = 6, int charHeight = 10);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Resize(int width, int height) override;
    void Clear() override;

    void Print(const std::string& text) override;
    int TextWidth(const std::string& text) const override {
        return charWidth_ * static_cast<int>(text.size());
    }
    int TextHeight(const std::string&) const override { return charHeight_; }
    // With FollowFont, a character is as wide as the font size and twice as tall.
    void SetFont(const std::string& name, double sizePoints, bool bold) override;

    void Line(double x1, double y1, double x2, double y2, ColorRef color) override;
    void Box(double x1, double y1, double x2, double y2, ColorRef color) override;
    void FillBox(double x1, double y1, double x2, double y2, ColorRef color) override;
    void SetPixel(int x, int y, ColorRef color) override;
    ColorRef GetPixel(int x, int y) const override;
    void StretchFrom(const Surface& source, int dx, int dy, int dw, int dh) override;
    std::unique_ptr<Surface> MakeScratch(int w, int h) const override;

    bool FollowFont = false;
    std::vector<PrintedText> Texts;
    std::vector<DrawnLine> Lines;

    // Texts printed at a given y (within half a pixel), in printing order.
    std::vector<PrintedText> TextsAtY(double y) const;

  private:
    int width_, height_;
    int charWidth_, charHeight_;
    std::vector<uint32_t> pixels_;
};

} // namespace mvx::test
