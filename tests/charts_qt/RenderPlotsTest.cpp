// marevox-cli render draws the profile and the series: on a simulated file with bottom track and
// navigation, the left and lower areas of the picture carry the trace colours they lacked without types.
#include "charts/SeriesChart.h"

#include "GuiApp.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace mvx {
namespace {

// Pixels of a colour in a rectangle of an image.
int Count(const QImage& image, const QRect& r, ColorRef colour) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += Rgb(qRed(p), qGreen(p), qBlue(p)) == colour;
        }
    return n;
}

TEST(RenderPlots, ProfileAndSeriesAreasCarryTheirTraces) {
    test::EnsureGuiApp();
    const auto dir = test::ScratchDir();
    const std::string input = (dir / "nav.000").string();
    ASSERT_EQ(test::RunCli("simulate --out " + input + " --ensembles 300 --cells 20 --navigation", nullptr),
              0);
    struct Case {
        std::string Args;
        bool Drawn;
    };
    const Case cases[] = {
        {" --profile-types 14 --profile-ensemble 40 --series-types 500,10000,1000000 --series-bins 5"
         " --anc-types 2",
         true},
        {" --profile-types 14 --series-types 500,10000,1000000 --series-bins 5 --anc-types 2 --first 1 "
         "--last 1",
         true},
        {" --profile-types none --series-types none --anc-types none", false},
    };
    int k = 0;
    for (const Case& c : cases) {
        const std::string out = (dir / ("plots" + std::to_string(k++) + ".png")).string();
        ASSERT_EQ(test::RunCli("render " + input + " --out " + out + " --size 1000x700" + c.Args, nullptr), 0)
            << c.Args;
        const QImage image(QString::fromStdString(out));
        ASSERT_FALSE(image.isNull());
        // The profile takes the left fifth; the series lies below the contour (at most half the height).
        const QRect profile(0, 0, 195, 700), series(205, 355, 795, 345);
        EXPECT_EQ(Count(image, profile, Rgb(208, 0, 0)) > 20, c.Drawn) << c.Args;
        EXPECT_EQ(Count(image, series, Series_Color(0)) > 20, c.Drawn) << c.Args;
        EXPECT_EQ(Count(image, series, Series_Color(1)) > 20, c.Drawn) << c.Args;
    }
    // A profile ensemble outside the sub set, a code that is no series code, a bin beyond the file's 20
    // cells and lists that are not lists of numbers are refused.
    for (const char* bad : {" --profile-ensemble 9999", " --series-types 700", " --series-bins 21",
                            " --series-bins 0x10", " --series-bins 4,", " --profile-types 23"})
        EXPECT_EQ(
            test::RunCli("render " + input + " --out " + (dir / "no.png").string() + bad, nullptr, nullptr),
            2)
            << bad;
}

} // namespace
} // namespace mvx
