// Finding and verifying broadband ensembles in a 1 GiB file read from the page cache, clean and with
// stray bytes between the ensembles, and decoding 30-cell ensembles that carry every data type.
#include "ensemble/Decoder.h"
#include "ensemble/Framing.h"
#include "model/DataSet.h"
#include "simulator/Simulator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace mvx;

constexpr int64_t kFileBytes = int64_t{1} << 30;

SimulationSpec ThirtyCellDeployment() {
    SimulationSpec deployment;
    deployment.Ensembles = 16000000; // more than a gibibyte's worth; the writer stops at the size
    deployment.Cells = 30;
    deployment.BottomTrack = true;
    deployment.Navigation = true;
    deployment.TextBlock = true;
    return deployment;
}

// Writes (once) a file of exactly kFileBytes bytes of simulated ensembles; the last one is cut off
// where the size ends. An existing file of that size is reused.
std::string BenchFile(const std::string& name, int32_t strayBytes) {
    const std::string path = "/tmp/marevox-bench-framing/" + name;
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) == static_cast<uintmax_t>(kFileBytes)) return path;
    std::filesystem::create_directories("/tmp/marevox-bench-framing", ec);
    SimulationSpec deployment = ThirtyCellDeployment();
    deployment.StrayBytes = strayBytes;
    Simulator simulator(deployment);
    const std::string partial = path + ".part";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out) return {};
    std::vector<uint8_t> buffer;
    int64_t written = 0;
    while (written < kFileBytes) {
        buffer.clear();
        while (buffer.size() < (8u << 20) && simulator.Next(buffer)) {
        }
        if (buffer.empty()) break;
        const size_t take =
            static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(buffer.size()), kFileBytes - written));
        if (std::fwrite(buffer.data(), 1, take, out) != take) break;
        written += static_cast<int64_t>(take);
    }
    std::fclose(out);
    if (written != kFileBytes) return {};
    std::filesystem::rename(partial, path, ec);
    return ec ? std::string() : path;
}

void SearchWholeFile(benchmark::State& state, const std::string& path) {
    if (path.empty()) {
        state.SkipWithError("cannot write the benchmark file");
        return;
    }
    int64_t found = 0;
    for (auto _ : state) {
        EnsembleFile file;
        if (!file.Open(path)) {
            state.SkipWithError("cannot open the benchmark file");
            return;
        }
        EnsembleFrame frame;
        found = 0;
        while (!file.AtEnd())
            if (Find_Broadband_Ensemble(file, frame, {})) ++found;
        benchmark::DoNotOptimize(frame.EnsembleBytes);
    }
    state.SetBytesProcessed(state.iterations() * kFileBytes);
    state.counters["ensembles"] = static_cast<double>(found);
}

void BM_FindCleanBroadband(benchmark::State& state) {
    static const std::string path = BenchFile("clean_30cells_1GiB.000", 0);
    SearchWholeFile(state, path);
}
BENCHMARK(BM_FindCleanBroadband)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_FindBroadbandThroughStrayBytes(benchmark::State& state) {
    static const std::string path = BenchFile("stray_30cells_1GiB.000", 1000);
    SearchWholeFile(state, path);
}
BENCHMARK(BM_FindBroadbandThroughStrayBytes)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Ensembles of every data type, decoded one after another into the slots of a loaded set.
void BM_DecodeThirtyCellEnsembles(benchmark::State& state) {
    SimulationSpec deployment = ThirtyCellDeployment();
    deployment.Ensembles = 1000;
    Simulator simulator(deployment);
    std::vector<EnsembleFrame> frames;
    std::vector<uint8_t> bytes;
    while (simulator.Next(bytes)) {
        EnsembleFrame frame;
        frame.EnsembleBuffer = bytes;
        frame.EnsembleBytes = static_cast<int32_t>(bytes.size()) - 2;
        frames.push_back(std::move(frame));
        bytes.clear();
    }
    if (frames.empty()) {
        state.SkipWithError("the simulator gave no ensembles");
        return;
    }
    DataSet data;
    Allocate_Data_Set(data, 256, 256, false);
    InstrumentSetup setup;
    DecodeSettings settings;
    size_t i = 0;
    for (auto _ : state) {
        const EnsembleFrame& frame = frames[i % frames.size()];
        Decode_Broadband_Ensemble(frame, setup, data, static_cast<int32_t>(i % 257), settings);
        benchmark::DoNotOptimize(setup.EnsembleNumber);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["data_types"] = setup.DataTypeCount;
}
BENCHMARK(BM_DecodeThirtyCellEnsembles);

} // namespace
