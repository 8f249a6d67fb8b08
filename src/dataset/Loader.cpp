#include "dataset/Loader.h"

#include "common/EnsembleTimeText.h"
#include "common/Rounding.h"
#include "dataset/DecodeState.h"
#include "dataset/MultiFile.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

constexpr int32_t kMaxCapacity = 8192;

// The capacities the arrays are dimensioned with: a damaged options record must not ask for a
// data set that cannot be held.
int32_t SubCapacity(const Options& o) {
    return std::clamp(o.MaxSubEnsembles, 1, kMaxCapacity);
}
int32_t WholeCapacity(const Options& o) {
    return std::clamp(o.MaxWholeEnsembles, 1, kMaxCapacity);
}

std::string IntervalText(double seconds) {
    return Duration_Clock_Text(RoundToInt64(seconds * 100, 0, INT64_MAX / 2));
}

DecodeTarget TargetOf(CoreState& state) {
    return DecodeTarget{state.Frame, state.Setup, state.Data};
}

} // namespace

std::string Information_Text(const OpenReport& report) {
    std::string text = Stats_Text(report.Stats);
    if (report.Loaded())
        text += "Average Ensemble Interval " + IntervalText(report.EnsembleInterval) + "\r\n";
    return text;
}

ProcessingSettings Processing_Settings(const CoreState& state) {
    return ProcessingSettings{state.Set.DataStructure, MakeDecodeSettings(state), state.Opts};
}

LoadReport Read_File_Selection(CoreState& state, int32_t first, int32_t last, bool showProgress) {
    SetDescriptors& set = state.Set;
    last = std::min(last, set.FileLastEnsemble);
    if (set.FileName.empty() || !state.Data.Allocated()) {
        LoadReport nothing;
        nothing.Refusal = LoadRefusal::Unreadable;
        return nothing;
    }
    const MenuState& menus = state.Menus;
    const bool progress = showProgress && !menus.AnimateContourGo && !menus.AnimateProfileGo &&
                          !menus.AnimateSeriesGo && !menus.MonitorOn;
    if (progress) {
        state.Progress.DoValue(0);
        state.Progress.DoShow("Loading Sub Set...");
    }
    const LoadReport report = Read_Selection(Read_Source(set), TargetOf(state), Processing_Settings(state),
                                             first, last, SubCapacity(state.Opts) + 1, set.FileValid,
                                             state.Yield, progress ? state.Progress : ProgressSink{});
    if (progress) state.Progress.DoHide();
    if (!report.Loaded) return report;

    set.CurrentEnsIndex = report.Stored;
    set.FirstEnsNumber = report.FirstNumber;
    // An indexed set's numbers may skip some: its last is the one stored last.
    set.LastEnsNumber = set.Index.Empty() ? set.FirstEnsNumber + set.CurrentEnsIndex - 1
                                          : std::max(report.LastNumber, set.FirstEnsNumber);
    set.SetDuration = report.Duration;
    set.ProfileEnsNumber = std::clamp(set.ProfileEnsNumber, set.FirstEnsNumber, set.LastEnsNumber);
    Compute_ErrVel_Stats(state.Data, set.CurrentEnsIndex, state.Setup.NumCells);
    set.RotateNeeded = true;
    return report;
}

OpenReport Load_Whole_Set(CoreState& state, const std::string& path) {
    return Load_Whole_Set(state, path, LoadHooks{});
}

OpenReport Load_Whole_Set(CoreState& state, const std::string& path, const LoadHooks& hooks) {
    OpenReport report;
    SetDescriptors& set = state.Set;
    set.FileName = path;
    set.StatsText.clear();
    state.Setup.PressureDepthCount = 0;
    const int32_t maxWhole = WholeCapacity(state.Opts);
    Allocate_Data_Set(state.Data, SubCapacity(state.Opts), maxWhole, true);
    // The arrays now belong to this file, so whatever was loaded before is gone.
    set.CurrentEnsIndex = 0;

    int64_t numberedSize = 0, acquisitionSize = 0;
    const bool multi = state.Menus.MultiFileChecked;
    set.MultiFileCount = Test_For_Multi_File(path, multi, numberedSize);
    set.QUARNFileCount = Test_For_QUARNMultiFile(path, multi, acquisitionSize);
    ReadSource source = Read_Source(set);
    const int64_t setSize = set.MultiFileCount >= 1 ? numberedSize : acquisitionSize;
    IndexSettings indexing;
    indexing.FirstSubSet = SubCapacity(state.Opts) + 1;
    indexing.ExtendKept = state.Menus.MonitorOn;
    if (!state.Menus.MonitorOn) indexing.Progress = state.Progress;
    report.Stats = Show_File_Stats(source.Members, setSize, TargetOf(state), MakeDecodeSettings(state), set,
                                   state.Yield, indexing);
    if (!report.Stats.Valid()) {
        set.FileValid = false;
        report.WholeSet.Refusal = report.Stats.Refusal;
        set.StatsText = Information_Text(report);
        return report;
    }
    source = Read_Source(set);

    const bool progress = !state.Menus.MonitorOn;
    if (progress) {
        state.Progress.DoValue(0);
        state.Progress.DoShow("Loading Whole Set...");
    }
    // An indexed set is thinned over its entries, each read at its own place; any other skips Step
    // ensembles of the first one's length after each one it stores.
    WholeSetThinning thinning;
    if (source.Index) {
        thinning = Thin_Whole_Set(set.Index, maxWhole);
        set.WholeSetStep = thinning.Step;
    } else {
        set.WholeSetStep = static_cast<int32_t>(std::max<int64_t>(
            0, (static_cast<int64_t>(set.LastEnsNumber) - set.FirstEnsNumber + 1) / maxWhole));
    }
    state.Setup.EnsembleNumber = 0;
    set.EnsembleInterval = 0;
    state.Setup.PressureDepthCount = 0;

    ReadPlan plan;
    plan.Slots = std::min(maxWhole, state.Data.Capacity);
    plan.Step = set.WholeSetStep;
    plan.StopNumber = set.LastEnsNumber;
    plan.FailuresInARow = true;
    plan.ProgressFull = maxWhole;
    plan.ProgressZeroPerFile = true;
    plan.Entries = std::move(thinning.Entries);
    LoadReport& whole = report.WholeSet;
    whole = Read_Ensembles(source, plan, TargetOf(state), Processing_Settings(state), set.FileValid,
                           state.Yield, progress ? state.Progress : ProgressSink{});
    if (progress) state.Progress.DoHide();
    // The index pass met every set-up block of the set; the entries read pass over none.
    if (source.Index) whole.NvramBlocks = set.Index.NvramBlocks;
    set.CurrentEnsIndex = whole.Stored;
    if (whole.Stored > 0) set.FirstEnsNumber = whole.FirstNumber;
    set.WholeSetDuration = whole.Duration;
    set.OrientationBalance = whole.OrientationBalance;
    set.FirstBinShown = 1;
    set.LastBinShown = std::clamp(state.Setup.NumCells, 0, kMaxBins);

    if (whole.Stopped || whole.Stored <= 1) {
        set.FileValid = false;
        whole.Refusal = whole.Stopped ? LoadRefusal::Stopped : LoadRefusal::TooFewStored;
        set.StatsText = Information_Text(report);
        return report;
    }
    whole.Loaded = true;
    Copy_To_Whole_Set(state.Data, set);
    set.FileValid = true;
    set.SelFirstEns = set.WholeFirstEns;
    set.SelLastEns = set.FileLastEnsemble;
    const int64_t span = int64_t{state.Setup.EnsembleNumber} - set.FileFirstEnsemble;
    set.EnsembleInterval = span < 1 ? 0 : set.WholeSetDuration / static_cast<double>(span);
    report.EnsembleInterval = set.EnsembleInterval;
    set.StatsText = Information_Text(report);
    if (hooks.WholeSetLoaded) hooks.WholeSetLoaded(state);

    const int32_t maxSub = SubCapacity(state.Opts);
    int32_t first = set.FirstEnsNumber;
    if (state.Menus.MonitorOn) {
        first = std::max(set.FileLastEnsemble - maxSub + 1, set.FirstEnsNumber);
        if (set.ProfileEnsNumber < first || set.ProfileEnsNumber > set.LastEnsNumber)
            set.ProfileEnsNumber = set.LastEnsNumber;
    }
    report.FirstSubSet = Read_File_Selection(state, first, first + maxSub - 1, true);
    if (report.FirstSubSet.Loaded && hooks.SubSetLoaded) hooks.SubSetLoaded(state);
    return report;
}

void Copy_To_Whole_Set(DataSet& data, SetDescriptors& set) {
    set.WholeEnsCount = set.CurrentEnsIndex;
    set.WholeFirstEns = set.FirstEnsNumber;
    set.WholeStepSaved = set.WholeSetStep;
    Copy_Slots(data, data.Whole, set.CurrentEnsIndex);
}

void Compute_ErrVel_Stats(DataSet& data, int32_t loaded, int32_t numCells) {
    if (data.ErrVelStats.Empty()) return;
    const int count = std::min(loaded, data.Capacity);
    const int bins = std::clamp(numCells, 0, kMaxBins);
    for (int b = 0; b < bins; ++b) {
        double n = 0, s = 0, q = 0;
        for (int slot = 0; slot < count; ++slot) {
            const int16_t v = data.VelData(3, b, slot);
            if (v == kBadValue) continue;
            n += 1;
            s += v;
            q += static_cast<double>(v) * v;
        }
        if (n <= 1) {
            data.ErrVelStats(0, b, 0) = kBadValue;
            data.ErrVelStats(1, b, 0) = kBadValue;
            data.ErrVelStats(2, b, 0) = 0;
            continue;
        }
        data.ErrVelStats(0, b, 0) = RoundToInt32(s / n);
        data.ErrVelStats(1, b, 0) = RoundToInt32(std::sqrt(std::max(0.0, (q - s * s / n) / (n - 1))));
        data.ErrVelStats(2, b, 0) = RoundToInt32(n * 100 / loaded);
    }
}

bool Maximum_Ens(CoreState& state, int32_t requested) {
    state.Opts.MaxSubEnsembles = std::clamp(requested, 128, kMaxCapacity);
    Allocate_Data_Set(state.Data, state.Opts.MaxSubEnsembles, WholeCapacity(state.Opts), false);
    // The loaded set was discarded with the arrays.
    state.Set.CurrentEnsIndex = 0;
    if (!state.Set.FileValid) return false;
    const int32_t first = state.Set.FirstEnsNumber;
    return Read_File_Selection(state, first, first + state.Opts.MaxSubEnsembles - 1, true).Loaded;
}

} // namespace mvx
