#pragma once
// Simulated files for the benchmarks, made once under /tmp and kept for later runs.
#include "simulator/Simulator.h"

#include <cstdint>
#include <string>

namespace mvx::bench {

// A file of beam-coordinate ensembles with 30 cells (the loading benchmarks' standard file) of at least
// the given size in megabytes (10^6 bytes).
std::string BeamFileOfSize(int64_t megabytes);

// A file of at least the given size made from spec under /tmp for this run only: removed when the program
// ends (for files too large to keep).
std::string TemporarySimulatedFile(SimulationSpec spec, int64_t megabytes);

// A file of at least the given size made from spec (its Ensembles count is raised as needed); name
// distinguishes files of different specs.
std::string SimulatedFileOfSize(const std::string& name, SimulationSpec spec, int64_t megabytes);

} // namespace mvx::bench
