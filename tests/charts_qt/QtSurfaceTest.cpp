#include "platform/QtSurface.h"

#include "GuiApp.h"

#include <QFontInfo>
#include <gtest/gtest.h>

namespace mvx {
namespace {

class QtSurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override { test::EnsureGuiApp(); }
};

// Bounding box of the pixels that differ from a colour.
struct Ink {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1, Count = 0;
};

Ink InkOf(const Surface& s, ColorRef background) {
    Ink ink;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.GetPixel(x, y) != background) {
                ink.Left = std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
                ink.Top = std::min(ink.Top, y);
                ink.Bottom = std::max(ink.Bottom, y);
                ++ink.Count;
            }
    return ink;
}

TEST_F(QtSurfaceTest, ColoursKeepRedInTheLowByte) {
    QtSurface s(4, 3, Rgb(1, 2, 3));
    EXPECT_EQ(s.Image().pixel(0, 0), qRgb(1, 2, 3));
    s.SetPixel(2, 1, Rgb(200, 100, 50));
    EXPECT_EQ(s.Image().pixel(2, 1), qRgb(200, 100, 50));
    EXPECT_EQ(s.GetPixel(2, 1), 0x003264C8u);
    EXPECT_EQ(s.GetPixel(99, 1), Rgb(1, 2, 3)); // outside: the background
}

TEST_F(QtSurfaceTest, XorWithWhiteInvertsAndTwiceRestores) {
    QtSurface s(40, 30, Rgb(10, 20, 30));
    s.FillBox(5, 5, 20, 20, Rgb(200, 0, 100));
    const QImage before = s.Image().copy();
    s.SetDrawMode(DrawMode::XorPen);
    auto drawAll = [&] {
        s.Line(0, 0, 39, 29, kWhite);
        s.Box(2, 3, 30, 25, kWhite);
        s.FillBox(8, 8, 12, 12, kWhite);
        s.SetDrawWidth(3);
        s.Line(0, 28, 39, 2, kWhite);
        s.SetDrawWidth(1);
    };
    drawAll();
    EXPECT_EQ(s.GetPixel(0, 0), Rgb(245, 235, 225));
    EXPECT_EQ(s.GetPixel(10, 10), Rgb(55, 255, 155));
    drawAll();
    EXPECT_EQ(s.Image(), before);
}

TEST_F(QtSurfaceTest, ArialResolvesToAFaceWithPlausibleMetrics) {
    QtSurface s(10, 10);
    s.SetFont("Arial", 8, false);
    EXPECT_FALSE(QFontInfo(s.Font()).family().isEmpty());
    // Arial's "W" is 0.94 em: about 10 pixels at 8 points and 96 pixels an inch; a line about 12.
    const int w = s.TextWidth("W"), h = s.TextHeight("W");
    EXPECT_GE(w, 8);
    EXPECT_LE(w, 13);
    EXPECT_GE(h, 10);
    EXPECT_LE(h, 16);
    EXPECT_LT(s.TextWidth("iiii"), s.TextWidth("WWWW")); // proportional
    s.SetFont("Arial", 10, false);
    EXPECT_GT(s.TextWidth("W"), w);
}

TEST_F(QtSurfaceTest, PrintPaintsOnlyGlyphPixelsInTheForeColourInsideTheTextBox) {
    QtSurface s(120, 40);
    s.SetFont("Arial", 10, false);
    const ColorRef ink = Rgb(0, 0, 255);
    s.SetForeColor(ink);
    s.SetCurrentPosition(10, 7);
    s.Print("Hello 42");
    const int w = s.TextWidth("Hello 42"), h = s.TextHeight("Hello 42");
    EXPECT_DOUBLE_EQ(s.CurrentX(), 10 + w);
    const Ink box = InkOf(s, kWhite);
    ASSERT_GT(box.Count, 20);
    EXPECT_GE(box.Left, 10);
    EXPECT_LT(box.Right, 10 + w);
    EXPECT_GE(box.Top, 7);
    EXPECT_LT(box.Bottom, 7 + h);
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            const ColorRef c = s.GetPixel(x, y);
            ASSERT_TRUE(c == kWhite || c == ink) << x << "," << y; // no smoothing
        }
}

TEST_F(QtSurfaceTest, TextThatIsNotUtf8IsReadAsLatin1) {
    QtSurface a(40, 20), b(40, 20);
    a.Print("\xB1 5");     // plus-minus as the Windows code page writes it
    b.Print("\xC2\xB1 5"); // the same sign in UTF-8
    EXPECT_EQ(a.TextWidth("\xB1"), b.TextWidth("\xC2\xB1"));
    EXPECT_EQ(a.Image(), b.Image());
    EXPECT_GT(InkOf(a, kWhite).Count, 0);
}

} // namespace
} // namespace mvx
