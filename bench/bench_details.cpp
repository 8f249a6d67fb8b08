// The file-details report with its statistics scan over every ensemble of a 1 GB simulated file.
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

} // namespace
