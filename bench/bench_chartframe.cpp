// Chart frame costs: palette indexes of a wide set, painting the one-pixel-per-cell raster, stretching it
// into a large plot, and drawing the bar and the four axes.
#include "charts/ChartFrame.h"
#include "charts/ColorScale.h"
#include "charts/ColorTable.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#ifdef MARVOX_HAVE_QT
#include "platform/QtSurface.h"

#include "BenchGui.h"
#endif

namespace {

constexpr int kEnsembles = 8192;
constexpr int kBins = 255;

// Velocities between -2000 and 2000 mm/s with every 97th value missing.
std::vector<int32_t> SampleValues() {
    std::vector<int32_t> v(static_cast<size_t>(kEnsembles) * kBins);
    uint32_t seed = 12345;
    for (size_t i = 0; i < v.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        v[i] = i % 97 == 0 ? mvx::kNoData : static_cast<int32_t>(seed >> 20) - 2048;
    }
    return v;
}

void BM_ColorIndexes(benchmark::State& state) {
    const std::vector<int32_t> values = SampleValues();
    mvx::ScaleRule rule;
    rule.ScaleMode = 2;
    mvx::ChartScale scale;
    std::vector<int32_t> work(values.size());
    for (auto _ : state) {
        state.PauseTiming();
        work = values;
        state.ResumeTiming();
        const mvx::ColorScaleRange range = Resolve_Scale(mvx::Compute_Scale_Statistics(work), rule, scale);
        mvx::Values_To_Color_Indexes(work, range);
        benchmark::DoNotOptimize(work.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(BM_ColorIndexes)->Unit(benchmark::kMillisecond);

#ifdef MARVOX_HAVE_QT
using mvx::bench::EnsureGuiApp;

void BM_RasterPaint(benchmark::State& state) {
    EnsureGuiApp();
    mvx::ColorTableArray colors;
    mvx::Init_Color_Table(colors);
    std::vector<int32_t> indexes = SampleValues();
    for (auto& v : indexes) v = v == mvx::kNoData ? mvx::BadDataColor : (v + 2048) % 100;
    mvx::QtSurface raster(kEnsembles, kBins);
    mvx::Surface& surface = raster;
    for (auto _ : state) {
        for (int e = 0; e < kEnsembles; ++e)
            for (int r = 0; r < kBins; ++r)
                surface.SetPixel(e, kBins - 1 - r, colors[indexes[static_cast<size_t>(e) * kBins + r]]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(indexes.size()));
}
BENCHMARK(BM_RasterPaint)->Unit(benchmark::kMillisecond);

void BM_RasterPaintByRows(benchmark::State& state) {
    EnsureGuiApp();
    mvx::ColorTableArray colors;
    mvx::Init_Color_Table(colors);
    std::vector<int32_t> indexes = SampleValues();
    for (auto& v : indexes) v = v == mvx::kNoData ? mvx::BadDataColor : (v + 2048) % 100;
    mvx::QtSurface raster(kEnsembles, kBins);
    mvx::Surface& surface = raster;
    std::vector<mvx::ColorRef> row(kEnsembles);
    for (auto _ : state) {
        for (int r = 0; r < kBins; ++r) {
            for (int e = 0; e < kEnsembles; ++e) row[e] = colors[indexes[static_cast<size_t>(e) * kBins + r]];
            surface.SetPixelRow(0, kBins - 1 - r, row.data(), kEnsembles);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(indexes.size()));
}
BENCHMARK(BM_RasterPaintByRows)->Unit(benchmark::kMillisecond);

void BM_StretchIntoPlot(benchmark::State& state) {
    EnsureGuiApp();
    mvx::QtSurface raster(kEnsembles, kBins);
    for (int e = 0; e < kEnsembles; ++e)
        for (int r = 0; r < kBins; ++r) raster.SetPixel(e, r, mvx::Rgb(e % 256, r, (e + r) % 256));
    mvx::QtSurface plot(1600, 900);
    for (auto _ : state) {
        plot.StretchFrom(raster, 0, 0, 1600, 900);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1600 * 900);
}
BENCHMARK(BM_StretchIntoPlot)->Unit(benchmark::kMillisecond);

void BM_BarAndAxes(benchmark::State& state) {
    EnsureGuiApp();
    mvx::ColorTableArray colors;
    mvx::Init_Color_Table(colors);
    mvx::QtSurface surface(10, 10);
    mvx::ChartState st;
    const mvx::ChartSurfaceSize size = Layout_Chart_Surface(surface, 1600, 900, kBins, st);
    surface.Resize(size.SurfaceWidth, size.SurfaceHeight);
    st.ScaleLabel = "Scale (mm/s)";
    st.ScaleMin = -1000;
    st.ScaleMax = 1000;
    st.DataMin = -2048;
    st.DataMax = 2047;
    Place_Chart_Texts(surface, st);
    mvx::ChartAxesInput in;
    in.OrientationBalance = 1;
    in.NumCells = kBins;
    in.LastBinShown = kBins;
    in.CellLength = 0.25;
    in.Bin1Distance = 0.9;
    in.FirstEnsNumber = 1;
    in.LastEnsNumber = kEnsembles;
    in.NumEnsembles = kEnsembles;
    in.SetDuration = 86400 * 3;
    in.ShowGrid = true;
    mvx::ChartTicks ticks;
    for (auto _ : state) {
        Draw_Color_Scale(surface, st, colors);
        Draw_Range_Axis(surface, st, in, ticks);
        Draw_Bin_Axis(surface, st, in);
        Draw_Ensemble_Axis(surface, st, in);
        Draw_Time_Axis(surface, st, in, ticks);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BarAndAxes)->Unit(benchmark::kMillisecond);
#endif

} // namespace
