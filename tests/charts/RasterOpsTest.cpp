#include "charts/RasterOps.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace mvx {
namespace {

constexpr uint32_t kBack = 0x00112233;
constexpr uint32_t kInk = 0x00FFFFFF;

struct Raster {
    Raster(int w, int h) : Pixels(static_cast<size_t>(w) * h, kBack), View{Pixels.data(), w, h, w} {}
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * View.Width + x]; }
    std::set<std::pair<int, int>> Inked() const {
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < View.Height; ++y)
            for (int x = 0; x < View.Width; ++x)
                if (At(x, y) != kBack) out.insert({x, y});
        return out;
    }
    std::vector<uint32_t> Pixels;
    RasterView View;
};

using Points = std::set<std::pair<int, int>>;

TEST(RasterLine, PaintsTheFirstPointAndStopsShortOfTheLast) {
    Raster r(12, 8);
    Raster_Line(r.View, 2, 5, 8, 5, RasterPen{kInk});
    Points expected;
    for (int x = 2; x <= 7; ++x) expected.insert({x, 5});
    EXPECT_EQ(r.Inked(), expected);

    Raster back(12, 8); // the other way round leaves out the other end
    Raster_Line(back.View, 8, 5, 2, 5, RasterPen{kInk});
    expected.clear();
    for (int x = 3; x <= 8; ++x) expected.insert({x, 5});
    EXPECT_EQ(back.Inked(), expected);

    Raster diagonal(12, 8);
    Raster_Line(diagonal.View, 1, 1, 4, 4, RasterPen{kInk});
    EXPECT_EQ(diagonal.Inked(), (Points{{1, 1}, {2, 2}, {3, 3}}));

    Raster nothing(12, 8);
    Raster_Line(nothing.View, 3, 3, 3, 3, RasterPen{kInk});
    EXPECT_TRUE(nothing.Inked().empty());
}

TEST(RasterLine, XorPolylinePaintsEachJointOnceAndTwiceRestores) {
    Raster r(20, 20);
    const RasterPen pen{kInk, DrawStyle::Solid, true};
    const int pts[][2] = {{2, 2}, {15, 2}, {15, 15}, {2, 15}, {2, 3}};
    for (int i = 0; i + 1 < 5; ++i)
        Raster_Line(r.View, pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1], pen);
    // Every joint is painted by exactly one segment, so the corners show in XOR.
    for (auto [x, y] : {std::pair{2, 2}, {15, 2}, {15, 15}, {2, 15}}) EXPECT_EQ(r.At(x, y), kBack ^ kInk);
    for (int i = 0; i + 1 < 5; ++i)
        Raster_Line(r.View, pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1], pen);
    EXPECT_TRUE(r.Inked().empty());
}

TEST(RasterLine, XorKeepsTheTopByte) {
    std::vector<uint32_t> px(4, 0xFF102030u);
    RasterView v{px.data(), 4, 1, 4};
    Raster_Line(v, 0, 0, 4, 0, RasterPen{0xFFFFFFFFu, DrawStyle::Solid, true});
    EXPECT_EQ(px[0], 0xFFEFDFCFu);
}

TEST(RasterLine, DashAndDotPatterns) {
    Raster dash(60, 1);
    Raster_Line(dash.View, 0, 0, 60, 0, RasterPen{kInk, DrawStyle::Dash});
    for (int x = 0; x < 60; ++x) EXPECT_EQ(dash.At(x, 0) == kInk, x % 24 < 18) << x;
    Raster dot(20, 1);
    Raster_Line(dot.View, 0, 0, 20, 0, RasterPen{kInk, DrawStyle::Dot});
    for (int x = 0; x < 20; ++x) EXPECT_EQ(dot.At(x, 0) == kInk, x % 6 < 3) << x;
}

TEST(RasterLine, ClipsWithoutWritingOutside) {
    std::vector<uint32_t> px(3 * 5 + 2, kBack); // guard pixels after a 3 x 5 raster
    RasterView v{px.data(), 3, 5, 3};
    Raster_Line(v, -10, -10, 20, 20, RasterPen{kInk});
    EXPECT_EQ(px[15], kBack);
    EXPECT_EQ(px[16], kBack);
    EXPECT_EQ(px[0], kInk);
    EXPECT_EQ(px[1 * 3 + 1], kInk);
}

TEST(RasterBox, OutlineIncludesBothCornersOnce) {
    Raster r(10, 10);
    Raster_Box(r.View, 7, 6, 2, 1, RasterPen{kInk, DrawStyle::Solid, true}); // corners given reversed
    Points expected;
    for (int x = 2; x <= 7; ++x) expected.insert({x, 1}), expected.insert({x, 6});
    for (int y = 1; y <= 6; ++y) expected.insert({2, y}), expected.insert({7, y});
    EXPECT_EQ(r.Inked(), expected); // in XOR, a pixel painted twice would vanish
    Raster_Box(r.View, 7, 6, 2, 1, RasterPen{kInk, DrawStyle::Solid, true});
    EXPECT_TRUE(r.Inked().empty());
}

TEST(RasterBox, FillIncludesBothCorners) {
    Raster r(10, 10);
    Raster_FillBox(r.View, 3, 2, 5, 4, kInk, false);
    EXPECT_EQ(r.Inked().size(), 9u);
    EXPECT_EQ(r.At(3, 2), kInk);
    EXPECT_EQ(r.At(5, 4), kInk);
    Raster_FillBox(r.View, -5, -5, 100, 100, kInk, true); // clipped, XOR everything
    EXPECT_EQ(r.At(3, 2), 0u);                            // ink XOR ink
    EXPECT_EQ(r.At(0, 0), kBack ^ kInk);
}

TEST(RasterStretch, OneSourcePixelBecomesACrispBlock) {
    // 3 x 2 source of distinct values into 9 x 4: blocks of 3 x 2.
    std::vector<uint32_t> src{1, 2, 3, 4, 5, 6};
    ConstRasterView s{src.data(), 3, 2, 3};
    Raster d(11, 6);
    Raster_Stretch(s, d.View, 1, 1, 9, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(d.At(1 + x, 1 + y), src[(y / 2) * 3 + x / 3]) << x << "," << y;
    EXPECT_EQ(d.At(0, 0), kBack);
    EXPECT_EQ(d.At(10, 5), kBack);
}

TEST(RasterStretch, UnevenAndShrinkingStretchesSampleCellCentres) {
    // 2 columns into 5: centres 0.5..4.5 times 2/5 -> 0.2, 0.6, 1.0, 1.4, 1.8 -> 0, 0, 1, 1, 1.
    std::vector<uint32_t> src{7, 9};
    Raster d(5, 1);
    Raster_Stretch(ConstRasterView{src.data(), 2, 1, 2}, d.View, 0, 0, 5, 1);
    EXPECT_EQ(d.Pixels, (std::vector<uint32_t>{7, 7, 9, 9, 9}));
    // 6 columns into 2: centres 0.5 and 1.5 times 3 -> columns 1 and 4.
    std::vector<uint32_t> wide{10, 11, 12, 13, 14, 15};
    Raster s(2, 1);
    Raster_Stretch(ConstRasterView{wide.data(), 6, 1, 6}, s.View, 0, 0, 2, 1);
    EXPECT_EQ(s.Pixels, (std::vector<uint32_t>{11, 14}));
}

TEST(RasterStretch, ClipsAtTheEdges) {
    std::vector<uint32_t> src{1, 2, 3, 4};
    Raster d(3, 3);
    Raster_Stretch(ConstRasterView{src.data(), 2, 2, 2}, d.View, -2, -2, 4, 4);
    // Only the bottom-right source pixel's block is visible, at the top-left 2 x 2.
    EXPECT_EQ(d.At(0, 0), 4u);
    EXPECT_EQ(d.At(1, 1), 4u);
    EXPECT_EQ(d.At(2, 2), kBack);
}

} // namespace
} // namespace mvx
