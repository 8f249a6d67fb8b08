#pragma once
// Loading the open file into the program's data set: the Open's whole set (decimated over the file),
// then sub sets of consecutive ensembles, all read through the one read loop.
#include "dataset/FileStats.h"
#include "dataset/LoadReport.h"
#include "dataset/ReadLoop.h"
#include "model/CoreState.h"

#include <functional>
#include <string>

namespace mvx {

// What the Open's load did: the file's statistics, the whole-set load and the first sub-set load (not
// run when the whole set was not loaded). WholeSet.Refusal says why a file was not loaded.
struct OpenReport {
    FileStatsReport Stats;
    LoadReport WholeSet;
    LoadReport FirstSubSet;
    double EnsembleInterval = 0; // s
    bool Loaded() const { return WholeSet.Loaded; }
    explicit operator bool() const { return Loaded(); }
};

// The information window's text of an Open: the statistics, and the average ensemble interval as
// hh:mm:ss.ss once the whole set is loaded.
std::string Information_Text(const OpenReport& report);

// What the program's decode and processing read now: the file's structure, the scales, the water
// density and the Flip mark, and the processing options.
ProcessingSettings Processing_Settings(const CoreState& state);

// Loads ensembles first..last into slots 0.. of the loaded set and makes them the set on display
// (CurrentEnsIndex, FirstEnsNumber, LastEnsNumber, SetDuration, the profile ensemble kept inside the
// set, the error-velocity statistics). When nothing is stored the set on display stays as it was.
// showProgress shows the progress window unless an animation or monitor mode runs.
LoadReport Read_File_Selection(CoreState& state, int32_t first, int32_t last, bool showProgress);

// The loading half of the Open command: allocation, multi-file tests, statistics, the decimated whole
// set, its copy, and the first sub set. The file is loaded (state.Set.FileValid) when the whole set
// holds at least two ensembles; state.Set.StatsText is the report's information text.
OpenReport Load_Whole_Set(CoreState& state, const std::string& path);
// The two points of the Open command that belong to the windows: after the whole set is copied (the
// navigator is initialised and the series-bin choices are mapped onto the displayed bins using
// OrientationBalance) and after the first sub set has loaded (the sub-set charts are initialised).
struct LoadHooks {
    std::function<void(CoreState&)> WholeSetLoaded;
    std::function<void(CoreState&)> SubSetLoaded;
};
OpenReport Load_Whole_Set(CoreState& state, const std::string& path, const LoadHooks& hooks);

// Copies the loaded set (set.CurrentEnsIndex slots) into the whole-set copy and records its count,
// first ensemble and step.
void Copy_To_Whole_Set(DataSet& data, SetDescriptors& set);
// Fills ErrVelStats over bins 0..numCells-1 from the first `loaded` slots of the loaded set.
void Compute_ErrVel_Stats(DataSet& data, int32_t loaded, int32_t numCells);
// "Max Ensembles": clamps to 128..8192, reallocates and reloads from FirstEnsNumber.
bool Maximum_Ens(CoreState& state, int32_t requested);

} // namespace mvx
