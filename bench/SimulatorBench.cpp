// How fast the simulated instrument makes ensembles (the bundled sample and big test files).
#include "simulator/EnsembleEncoder.h"
#include "simulator/Simulator.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SimulateBroadbandEnsembles(benchmark::State& state) {
    mvx::SimulationSpec spec;
    spec.Ensembles = 1 << 30;
    spec.Cells = static_cast<int32_t>(state.range(0));
    spec.Navigation = true;
    mvx::Simulator sim(spec);
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        bytes.clear();
        sim.Next(bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_SimulateBroadbandEnsembles)->Arg(30)->Arg(128);

void BM_SimulateNarrowbandEnsembles(benchmark::State& state) {
    mvx::SimulationSpec spec;
    spec.Ensembles = 1 << 30;
    spec.Narrowband = true;
    mvx::Simulator sim(spec);
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        bytes.clear();
        sim.Next(bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_SimulateNarrowbandEnsembles);

void BM_EncodeBroadband(benchmark::State& state) {
    mvx::EnsembleContents c;
    c.Fixed.NumCells = 30;
    c.Velocity.assign(30, {100, 200, 300, 400});
    c.Correlation.assign(30, {120, 121, 122, 123});
    c.Echo.assign(30, {150, 151, 152, 153});
    c.PercentGood.assign(30, {0, 0, 0, 100});
    c.HasBottomTrack = true;
    for (auto _ : state) {
        auto bytes = mvx::EncodeBroadband(c);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeBroadband);

} // namespace
