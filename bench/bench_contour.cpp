// The contour of a full sub set, 8,192 ensembles by 255 bins, built and drawn into a 1,600 x 900
// surface: cell array and palette indexes, the one-pixel-per-cell raster (cut to a 1,920-pixel screen),
// the stretch into the plot, and the titles, bar and axes.
#include "charts/ContourChart.h"

#include <benchmark/benchmark.h>

#include <cstdint>

#ifdef MARVOX_HAVE_QT
#include "platform/QtSurface.h"

#include "BenchGui.h"

namespace {

constexpr int kEnsembles = 8192;
constexpr int kBins = 255;

using mvx::bench::EnsureGuiApp;

// A down-looking set of velocities between -2000 and 2000 mm/s with every 97th value missing, and a
// bottom range on every ensemble.
struct Set {
    mvx::SlotArray<int16_t> Vel;
    mvx::SlotArray<uint8_t> Intensity, Corr, PGood;
    mvx::SlotArray<int32_t> BTRange;
    mvx::ContourView View;

    Set() {
        Vel.Allocate(8, mvx::kMaxBins, kEnsembles, 0);
        Intensity.Allocate(5, mvx::kMaxBins, kEnsembles, 0);
        Corr.Allocate(5, mvx::kMaxBins, kEnsembles, 0);
        PGood.Allocate(5, mvx::kMaxBins, kEnsembles, 0);
        BTRange.Allocate(5, 1, kEnsembles, 0);
        uint32_t seed = 12345;
        size_t k = 0;
        for (int e = 0; e < kEnsembles; ++e) {
            for (int b = 0; b < kBins; ++b, ++k) {
                seed = seed * 1664525u + 1013904223u;
                Vel(0, b, e) = k % 97 == 0 ? mvx::kBadValue : static_cast<int16_t>((seed >> 20) - 2048);
            }
            for (int beam = 0; beam < 4; ++beam) BTRange(beam, 0, e) = 4000 + e % 500;
        }
        View.Source = mvx::ContourSource{&Vel, &Intensity, &Corr, &PGood, &BTRange, kEnsembles};
        mvx::ChartAxesInput& a = View.Axes;
        a.OrientationBalance = 1;
        a.CellLength = 0.25;
        a.Bin1Distance = 0.9;
        a.NumCells = kBins;
        a.FirstBinShown = 1;
        a.LastBinShown = kBins;
        a.FirstEnsNumber = 1;
        a.LastEnsNumber = kEnsembles;
        a.NumEnsembles = kEnsembles;
        a.SetDuration = 86400 * 3;
        a.ShowGrid = true;
        View.ScaleMode = 2;
        View.ShowBTDepth = true;
        View.ShowLocators = true;
        View.ProfileEnsNumber = 4000;
    }
};

void BM_ContourBuildAndDraw(benchmark::State& state) {
    EnsureGuiApp();
    static const Set set;
    mvx::ColorTableArray colors;
    mvx::Init_Color_Table(colors);
    std::array<bool, 256> bins{};
    bins[20] = bins[200] = true;
    mvx::ContourView view = set.View;
    view.SeriesBins = &bins;
    mvx::QtSurface picture1(1600, 900), picture2;
    mvx::ContourChart chart;
    chart.Axes = view.Axes;
    Layout_Chart_Surface(picture1, 1600, 900, kBins, chart.Frame);
    mvx::ChartTicks ticks;
    for (auto _ : state) {
        Move_Data_To_Chart3d_Array(chart, view, 100);
        Create_Chart3d(chart, picture2, colors, 1920);
        Place_Chart_Texts(picture1, chart.Frame);
        Move_Clip_To_Chart3d(chart, picture1, picture2);
        Chart3d_DisplayTitles(chart, picture1, view, colors, ticks);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kEnsembles} * kBins);
}
BENCHMARK(BM_ContourBuildAndDraw)->Unit(benchmark::kMillisecond);

// The redraw after a resize: the stretch and the titles only.
void BM_ContourRedraw(benchmark::State& state) {
    EnsureGuiApp();
    static const Set set;
    mvx::ColorTableArray colors;
    mvx::Init_Color_Table(colors);
    mvx::QtSurface picture1(1600, 900), picture2;
    mvx::ContourChart chart;
    Move_Data_To_Chart3d_Array(chart, set.View, 100);
    Create_Chart3d(chart, picture2, colors, 1920);
    Layout_Chart_Surface(picture1, 1600, 900, kBins, chart.Frame);
    Place_Chart_Texts(picture1, chart.Frame);
    mvx::ChartTicks ticks;
    for (auto _ : state) {
        Move_Clip_To_Chart3d(chart, picture1, picture2);
        Chart3d_DisplayTitles(chart, picture1, set.View, colors, ticks);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ContourRedraw)->Unit(benchmark::kMillisecond);

} // namespace
#endif
