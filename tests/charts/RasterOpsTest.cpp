#include "charts/RasterOps.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace mvx {
namespace {

constexpr uint32_t kBack = 0x00112233;
constexpr uint32_t kInk = 0x00FFFFFF;
using Points = std::set<std::pair<int, int>>;

struct Raster {
    Raster(int w, int h) : Pixels(static_cast<size_t>(w) * h, kBack), View{Pixels.data(), w, h, w} {}
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * View.Width + x]; }
    Points Inked() const {
        Points out;
        for (int y = 0; y < View.Height; ++y)
            for (int x = 0; x < View.Width; ++x)
                if (At(x, y) != kBack) out.insert({x, y});
        return out;
    }
    std::vector<uint32_t> Pixels;
    RasterView View;
};

Points Drawn(int x1, int y1, int x2, int y2) {
    Raster r(12, 8);
    Raster_Line(r.View, x1, y1, x2, y2, RasterPen{kInk});
    return r.Inked();
}

TEST(RasterLine, PaintsTheFirstPointAndStopsShortOfTheLast) {
    EXPECT_EQ(Drawn(2, 5, 5, 5), (Points{{2, 5}, {3, 5}, {4, 5}}));
    EXPECT_EQ(Drawn(5, 5, 2, 5), (Points{{5, 5}, {4, 5}, {3, 5}})); // the other way round
    EXPECT_EQ(Drawn(1, 1, 4, 4), (Points{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(Drawn(-10, -10, 1, 1), (Points{{0, 0}})); // clipped to the raster
}

TEST(RasterLine, XorPolylinePaintsEachJointOnceAndTwiceRestores) {
    Raster r(20, 20);
    const RasterPen pen{kInk, DrawStyle::Solid, true};
    const int pts[][2] = {{2, 2}, {15, 2}, {15, 15}, {2, 15}, {2, 3}};
    auto draw = [&] {
        for (int i = 0; i + 1 < 5; ++i)
            Raster_Line(r.View, pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1], pen);
    };
    draw();
    for (auto [x, y] : {std::pair{2, 2}, {15, 2}, {15, 15}, {2, 15}}) EXPECT_EQ(r.At(x, y), kBack ^ kInk);
    draw();
    EXPECT_TRUE(r.Inked().empty());
}

TEST(RasterBox, OutlineAndFillIncludeBothCorners) {
    Raster r(10, 10);
    Raster_Box(r.View, 7, 6, 2, 1, RasterPen{kInk, DrawStyle::Solid, true}); // corners given reversed
    Points border;
    for (int x = 2; x <= 7; ++x) border.insert({x, 1}), border.insert({x, 6});
    for (int y = 1; y <= 6; ++y) border.insert({2, y}), border.insert({7, y});
    EXPECT_EQ(r.Inked(), border); // in XOR a pixel painted twice would vanish
    Raster_Box(r.View, 7, 6, 2, 1, RasterPen{kInk, DrawStyle::Solid, true});
    EXPECT_TRUE(r.Inked().empty());

    Raster_FillBox(r.View, -5, 2, 5, 4, kInk, false); // clipped at the left edge
    EXPECT_EQ(r.Inked().size(), 18u);
}

TEST(RasterStretch, NearestNeighbourBlocks) {
    // 3 x 2 distinct pixels into 9 x 4 at (1, 1): blocks of 3 x 2, nothing outside.
    std::vector<uint32_t> src{1, 2, 3, 4, 5, 6};
    Raster d(11, 6);
    Raster_Stretch(ConstRasterView{src.data(), 3, 2, 3}, d.View, 1, 1, 9, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(d.At(1 + x, 1 + y), src[(y / 2) * 3 + x / 3]) << x << "," << y;
    EXPECT_EQ(d.Inked().size(), 36u);

    // Uneven: 2 columns into 5 sample at 0.2, 0.6, 1.0, 1.4, 1.8; shrinking 6 into 2 at 1.5 and 4.5.
    std::vector<uint32_t> two{7, 9}, six{10, 11, 12, 13, 14, 15};
    Raster five(5, 1), pair(2, 1);
    Raster_Stretch(ConstRasterView{two.data(), 2, 1, 2}, five.View, 0, 0, 5, 1);
    Raster_Stretch(ConstRasterView{six.data(), 6, 1, 6}, pair.View, 0, 0, 2, 1);
    EXPECT_EQ(five.Pixels, (std::vector<uint32_t>{7, 7, 9, 9, 9}));
    EXPECT_EQ(pair.Pixels, (std::vector<uint32_t>{11, 14}));
    Raster clipped(3, 3); // only the bottom-right block of a 2 x 2 stretched to 4 x 4 at (-2, -2) shows
    Raster_Stretch(ConstRasterView{src.data(), 2, 2, 3}, clipped.View, -2, -2, 4, 4);
    EXPECT_EQ(clipped.Inked(), (Points{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
}

} // namespace
} // namespace mvx
