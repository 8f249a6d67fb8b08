// The file-details report with its statistics scan over every ensemble of a 1 GB simulated file, and of
// a file of ensembles of varying length (text blocks of varying size, changing cell counts), which the
// report indexes first.
#include "BenchFiles.h"
#include "ensemble/FileDetails.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace mvx;

void BM_FileDetailsScan(benchmark::State& state) {
    const std::string path = bench::BeamFileOfSize(state.range(0));
    const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
    int32_t last = 0;
    for (auto _ : state) {
        FileDetailsResult result;
        Show_File_Details(path, InstrumentSetup{}, result);
        last = result.Stats.Last;
        benchmark::DoNotOptimize(result.Text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["last_ensemble"] = last;
}
BENCHMARK(BM_FileDetailsScan)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_FileDetailsVarying(benchmark::State& state) {
    SimulationSpec spec;
    spec.TextVary = 700;
    spec.CellsVary = 8;
    const std::string path = bench::SimulatedFileOfSize("details_varying", spec, state.range(0));
    const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
    int32_t last = 0, wrong = 0;
    for (auto _ : state) {
        FileDetailsResult result;
        Show_File_Details(path, InstrumentSetup{}, result);
        last = result.Stats.Last;
        wrong = result.Stats.WrongSize;
        benchmark::DoNotOptimize(result.Text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["last_ensemble"] = last;
    state.counters["wrong_size"] = wrong;
}
BENCHMARK(BM_FileDetailsVarying)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
