#include "BenchFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace mvx::bench {

namespace fs = std::filesystem;

namespace {

// Writes the simulated ensembles of spec to path until it holds at least target bytes.
void WriteOfSize(const fs::path& path, SimulationSpec spec, int64_t target) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    spec.Ensembles = 16000000;
    Simulator sim(spec);
    std::vector<uint8_t> bytes;
    int64_t written = 0;
    while (written < target) {
        bytes.clear();
        for (int i = 0; i < 1000 && sim.Next(bytes); ++i) {
        }
        if (bytes.empty()) break;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        written += static_cast<int64_t>(bytes.size());
    }
}

} // namespace

std::string SimulatedFileOfSize(const std::string& name, SimulationSpec spec, int64_t megabytes) {
    const fs::path dir = "/tmp/marevox-bench-loading";
    const fs::path path = dir / (name + "_" + std::to_string(megabytes) + "MB.000");
    const int64_t target = megabytes * 1000 * 1000;
    std::error_code ec;
    if (fs::exists(path, ec) && static_cast<int64_t>(fs::file_size(path, ec)) >= target) return path.string();
    fs::create_directories(dir, ec);
    const fs::path part = path.string() + ".part";
    WriteOfSize(part, spec, target);
    fs::rename(part, path, ec);
    return path.string();
}

std::string TemporarySimulatedFile(SimulationSpec spec, int64_t megabytes) {
    static std::vector<fs::path> made;
    static const bool removedAtExit = [] {
        return std::atexit([] {
                   std::error_code ignored;
                   for (const fs::path& p : made) fs::remove(p, ignored);
               }) == 0;
    }();
    (void)removedAtExit;
    const fs::path path = fs::temp_directory_path() / ("marevox-bench-" + std::to_string(getpid()) + "-" +
                                                       std::to_string(made.size()) + ".000");
    made.push_back(path);
    WriteOfSize(path, spec, megabytes * 1000 * 1000);
    return path.string();
}

std::string BeamFileOfSize(int64_t megabytes) {
    SimulationSpec spec;
    spec.Cells = 30;
    spec.BeamCoordinates = true;
    spec.IntervalSeconds = 1;
    return SimulatedFileOfSize("beam30", spec, megabytes);
}

} // namespace mvx::bench
