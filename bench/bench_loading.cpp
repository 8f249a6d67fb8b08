// Opening a file headless (statistics, whole set of 256, first sub set of 256) for 10 MB, 100 MB and
// 1 GB files, and decoding plus processing one beam-coordinate ensemble of 30 cells. The files are made
// once under /tmp by the simulated instrument and kept for later runs.
#include "BenchFiles.h"
#include "dataset/Loader.h"
#include "ensemble/Framing.h"
#include "model/CoreState.h"
#include "simulator/Simulator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace mvx;
namespace fs = std::filesystem;

SimulationSpec BeamSpec(int32_t ensembles) {
    SimulationSpec spec;
    spec.Ensembles = ensembles;
    spec.Cells = 30;
    spec.BeamCoordinates = true;
    spec.IntervalSeconds = 1;
    return spec;
}

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double CurrentRssMegabytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

void BM_OpenSimulatedFile(benchmark::State& state) {
    const std::string path = bench::BeamFileOfSize(state.range(0));
    const double fileMegabytes = static_cast<double>(fs::file_size(path)) / 1e6;
    bool loaded = true;
    int32_t wholeCount = 0, subCount = 0, ensembles = 0;
    for (auto _ : state) {
        CoreState core;
        loaded = Load_Whole_Set(core, path) && loaded;
        wholeCount = core.Set.WholeEnsCount;
        subCount = core.Set.CurrentEnsIndex;
        ensembles = core.Set.NumEnsembles;
        benchmark::DoNotOptimize(core.Data.Whole.VelData.Raw().data());
    }
    if (!loaded) state.SkipWithError("the simulated file did not load");
    state.counters["file_MB"] = fileMegabytes;
    state.counters["ensembles"] = ensembles;
    state.counters["whole_set"] = wholeCount;
    state.counters["sub_set"] = subCount;
    state.counters["rss_MB"] = CurrentRssMegabytes();
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_OpenSimulatedFile)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One ensemble held in the frame, decoded into a slot and processed, as the loader does per ensemble.
void BM_DecodeProcessBeam30(benchmark::State& state) {
    Simulator sim(BeamSpec(10));
    std::vector<uint8_t> bytes;
    sim.Next(bytes);
    CoreState core;
    Allocate_Data_Set(core.Data, 256, 256, true);
    core.Set.DataStructure = kBroadband;
    core.Frame.EnsembleBuffer = bytes;
    core.Frame.EnsembleBytes = static_cast<int32_t>(bytes.size()) - 2;
    const ProcessingSettings settings = Processing_Settings(core);
    int32_t slot = 0;
    for (auto _ : state) {
        Process_Ensemble({core.Frame, core.Setup, core.Data}, slot, settings, core.Set.FileValid);
        benchmark::DoNotOptimize(core.Data.VelData.SlotData(slot));
        slot = (slot + 1) & 255;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["ensemble_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_DecodeProcessBeam30);

// The same with the search and checksum of each ensemble in a file read front to back.
void BM_ReadDecodeProcessBeam30(benchmark::State& state) {
    const std::string path = bench::BeamFileOfSize(10);
    CoreState core;
    Allocate_Data_Set(core.Data, 256, 256, true);
    core.Set.DataStructure = kBroadband;
    EnsembleFile file;
    file.Open(path);
    const ProcessingSettings settings = Processing_Settings(core);
    int32_t slot = 0;
    for (auto _ : state) {
        if (!Get_Next_Ensemble(kBroadband, file, core.Frame, core.Set.FileValid, core.Yield)) {
            file.Seek(1);
            continue;
        }
        Process_Ensemble({core.Frame, core.Setup, core.Data}, slot, settings, core.Set.FileValid);
        slot = (slot + 1) & 255;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadDecodeProcessBeam30);

} // namespace
