#pragma once
// Classifying a file and writing its statistics text.
#include "common/Callbacks.h"
#include "ensemble/EnsembleFile.h"
#include "model/EnsembleFrame.h"

#include <string>
#include <vector>

namespace mvx {

struct CoreState;

// Writes the statistics text into state.Set.StatsText (appending), sets DataStructure, FileSize, the
// first and last ensemble numbers and NumEnsembles, and decodes the first ensemble into slot 0 and the
// last into slot 1. memberPaths lists the files of the set (one entry for a single file) and
// setSize their total length. True when the file has enough valid ensembles to load.
bool Show_File_Stats(CoreState& state, const std::vector<std::string>& memberPaths, int64_t setSize);

} // namespace mvx
