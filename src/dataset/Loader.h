#pragma once
// Loading the whole set (decimated over the file) and sub sets (consecutive ensembles) into the data set.
#include "model/CoreState.h"

#include <functional>
#include <string>

namespace mvx {

// Decodes the frame into slot CurrentEnsIndex, then trims the end of the profile and processes it.
void Process_Ensemble(CoreState& state);
// Seconds of the day of slot CurrentEnsIndex.
double Convert_Time(const CoreState& state);
// Loads ensembles first..last into slots 0.. of the loaded set; True when at least one was loaded.
bool Read_File_Selection(CoreState& state, int32_t first, int32_t last, bool showProgress);
// The loading half of the Open command: allocation, multi-file tests, statistics, the decimated whole
// set, its copy, and the first sub set. True when the file is loaded (state.Set.FileValid).
bool Load_Whole_Set(CoreState& state, const std::string& path);
// The two points of the Open command that belong to the windows: after the whole set is copied (the
// navigator is initialised and the series-bin choices are mapped onto the displayed bins using
// OrientationBalance) and after the first sub set has loaded (the sub-set charts are initialised).
struct LoadHooks {
    std::function<void(CoreState&)> WholeSetLoaded;
    std::function<void(CoreState&)> SubSetLoaded;
};
bool Load_Whole_Set(CoreState& state, const std::string& path, const LoadHooks& hooks);
void Copy_To_Whole_Set(CoreState& state);
void Compute_ErrVel_Stats(CoreState& state);
// "Max Ensembles": clamps to 128..8192, reallocates and reloads from FirstEnsNumber.
bool Maximum_Ens(CoreState& state, int32_t requested);

} // namespace mvx
