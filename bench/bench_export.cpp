// Writing a full-size variable and a full-size report: a sub set of 8193 ensembles x 256 bins.
#include "analysis/ReportFile.h"
#include "export/MatWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr int kEnsembles = 8193;
constexpr int kBins = 256;

mvx::ReportSnapshot FullSnapshot() {
    mvx::ReportSnapshot s;
    s.Resize(kBins, kEnsembles);
    for (size_t i = 0; i < s.Matrix.size(); ++i) s.Matrix[i] = static_cast<int32_t>(i % 65536) - 32768;
    return s;
}

void BM_PutMatIntegerArray(benchmark::State& state) {
    const std::vector<int16_t> values(static_cast<size_t>(kEnsembles) * kBins, -1234);
    const auto path = std::filesystem::temp_directory_path() / "marevox-bench-vars.mat";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        mvx::OutputFile file;
        file.Open(path.string());
        mvx::Put_Mat_Integer_Array("SerEmmpersec", values, file, kEnsembles, kBins);
        if (!file.Close()) state.SkipWithError(file.Error().c_str());
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * values.size() * sizeof(int16_t));
}
BENCHMARK(BM_PutMatIntegerArray)->Unit(benchmark::kMillisecond);

void BM_ReportSave(benchmark::State& state) {
    const mvx::ReportSnapshot s = FullSnapshot();
    const auto path = std::filesystem::temp_directory_path() / "marevox-bench-save.mvr";
    std::string error;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        if (!mvx::Save_Data(s, path.string(), error)) state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * s.Matrix.size());
}
BENCHMARK(BM_ReportSave)->Unit(benchmark::kMillisecond);

void BM_ReportRead(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "marevox-bench-report.mvr";
    std::filesystem::remove(path);
    std::string error;
    mvx::Save_Data(FullSnapshot(), path.string(), error);
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    std::filesystem::remove(path);
    for (auto _ : state) {
        mvx::ReportSnapshot s;
        if (!mvx::Read_Report_Text(text, s, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(s.Matrix.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}
BENCHMARK(BM_ReportRead)->Unit(benchmark::kMillisecond);

} // namespace
