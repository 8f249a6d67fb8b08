#include "dataset/Loader.h"

#include "common/EnsembleTimeText.h"
#include "common/FileLength.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "dataset/DecodeState.h"
#include "dataset/FileStats.h"
#include "dataset/MultiFile.h"
#include "dataset/VelocityProcessing.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

constexpr int32_t kMaxCapacity = 8192;
constexpr int kSubSetFailureLimit = 1000;   // failed searches in one file before it is given up
constexpr int kWholeSetFailureLimit = 1001; // consecutive failed searches in one file
constexpr double kSecondsPerDay = 86400;
// The loads read a few hundred ensembles scattered over the file: a small read buffer keeps the
// bytes read per stored ensemble independent of the file's size.
constexpr size_t kReadBuffer = 64 * 1024;

// The capacities the arrays are dimensioned with: a damaged options record must not ask for a
// data set that cannot be held.
int32_t SubCapacity(const Options& o) {
    return std::clamp(o.MaxSubEnsembles, 1, kMaxCapacity);
}
int32_t WholeCapacity(const Options& o) {
    return std::clamp(o.MaxWholeEnsembles, 1, kMaxCapacity);
}

// Accumulates the ensemble-to-ensemble time steps of a load; a step back in time crosses midnight.
struct Clock {
    bool started = false;
    double previous = 0;
    double Step(double t) {
        if (!started) {
            started = true;
            previous = t;
        }
        double dt = t - previous;
        if (dt < 0) dt += kSecondsPerDay;
        previous = t;
        return dt;
    }
};

std::string IntervalText(double seconds) {
    return Duration_Clock_Text(RoundToInt64(seconds * 100, 0, INT64_MAX / 2));
}

} // namespace

void Process_Ensemble(CoreState& state) {
    const int slot = state.Set.CurrentEnsIndex;
    if (!state.Data.ValidSlot(slot)) return;
    // A reused slot must not keep data types that this ensemble does not carry.
    Clear_Slot(state.Data, slot);
    Decode_Ensemble(state);
    End_Of_Profile(state.Setup, state.Opts, state.Data, slot);
    Process_Velocities(state.Setup, state.Opts, state.Data, slot);
}

double Convert_Time(const CoreState& state) {
    const int slot = state.Set.CurrentEnsIndex;
    if (!state.Data.ValidSlot(slot)) return 0;
    const auto& t = state.Data.EnsTimes;
    return t(3, slot) * 3600.0 + t(4, slot) * 60.0 + t(5, slot) + t(6, slot) / 100.0;
}

bool Read_File_Selection(CoreState& state, int32_t first, int32_t last, bool showProgress) {
    SetDescriptors& set = state.Set;
    // What the loaded set was, for when nothing new can be loaded into it.
    const int32_t oldCount = set.CurrentEnsIndex, oldLast = set.LastEnsNumber;
    const double oldDuration = set.SetDuration;

    last = std::min(last, set.FileLastEnsemble);
    const int64_t n = std::max<int64_t>(1, static_cast<int64_t>(last) - first + 1);
    set.CurrentEnsIndex = 0;
    set.LastEnsNumber = 0;
    set.SetDuration = 0;
    auto nothingLoaded = [&] {
        set.CurrentEnsIndex = oldCount;
        set.LastEnsNumber = oldLast;
        set.SetDuration = oldDuration;
        return false;
    };
    if (set.FileName.empty() || !state.Data.Allocated()) return nothingLoaded();

    const MenuState& menus = state.Menus;
    const bool progress = showProgress && !menus.AnimateContourGo && !menus.AnimateProfileGo &&
                          !menus.AnimateSeriesGo && !menus.MonitorOn;
    if (progress) {
        state.Progress.DoValue(0);
        state.Progress.DoShow("Loading Sub Set...");
    }

    // Ensembles are taken to be of one length, so the first one's position is computed.
    int64_t p =
        (static_cast<int64_t>(first) - set.FileFirstEnsemble) * (int64_t{state.Frame.EnsembleBytes} + 2) + 1;
    p = std::max<int64_t>(p, 1);
    const std::vector<std::string> members =
        SetMemberPaths(set.FileName, set.MultiFileCount, set.QUARNFileCount);
    size_t start = 0;
    if (members.size() > 1) {
        for (; start < members.size(); ++start) {
            const int64_t length = File_Length(members[start]);
            if (length < 0) break; // a member has gone: the stream ends before it
            if (p < length) break;
            p -= length;
        }
        if (start >= members.size() || File_Length(members[start]) < 0) {
            if (progress) state.Progress.DoHide();
            return nothingLoaded();
        }
    }
    // Acquisition-program sets carry no set-up blocks between their ensembles.
    const bool skipNvram = set.QUARNFileCount <= 0;
    const int32_t maxSub = SubCapacity(state.Opts);

    EnsembleFile file(kReadBuffer);
    Clock clock;
    for (size_t k = start; k < members.size(); ++k) {
        if (!file.Open(members[k])) break;
        if (k == start) file.Seek(p);
        int failures = 0;
        while (!file.AtEnd() && set.CurrentEnsIndex - 1 < maxSub && set.CurrentEnsIndex < n &&
               set.CurrentEnsIndex < state.Data.Capacity) {
            if (!Get_Next_Ensemble(set.DataStructure, file, state.Frame, set.FileValid, state.Yield)) {
                if (++failures > kSubSetFailureLimit) break;
                continue;
            }
            if (skipNvram && Is_Nvram_Block(state.Frame)) {
                set.NvramFlag = true;
                continue;
            }
            Process_Ensemble(state);
            const double t = Convert_Time(state);
            if (set.CurrentEnsIndex == 0) set.FirstEnsNumber = state.Setup.EnsembleNumber;
            set.SetDuration += clock.Step(t);
            ++set.CurrentEnsIndex;
            if (progress)
                state.Progress.DoValue(static_cast<float>(set.CurrentEnsIndex) * 100.0f /
                                       static_cast<float>(n));
        }
        if (set.CurrentEnsIndex >= n || set.CurrentEnsIndex - 1 >= maxSub) break;
    }
    if (progress) state.Progress.DoHide();
    if (set.CurrentEnsIndex < 1) return nothingLoaded();

    set.LastEnsNumber = set.FirstEnsNumber + set.CurrentEnsIndex - 1;
    set.ProfileEnsNumber = std::clamp(set.ProfileEnsNumber, set.FirstEnsNumber, set.LastEnsNumber);
    Compute_ErrVel_Stats(state);
    return true;
}

bool Load_Whole_Set(CoreState& state, const std::string& path) {
    return Load_Whole_Set(state, path, LoadHooks{});
}

bool Load_Whole_Set(CoreState& state, const std::string& path, const LoadHooks& hooks) {
    SetDescriptors& set = state.Set;
    DataSet& data = state.Data;
    set.FileName = path;
    set.StatsText.clear();
    set.NvramFlag = false;
    state.Setup.PressureDepthCount = 0;
    const int32_t maxWhole = WholeCapacity(state.Opts);
    Allocate_Data_Set(data, SubCapacity(state.Opts), maxWhole, true);

    int64_t numberedSize = 0, acquisitionSize = 0;
    const bool multi = state.Menus.MultiFileChecked;
    set.MultiFileCount = Test_For_Multi_File(path, multi, numberedSize);
    set.QUARNFileCount = Test_For_QUARNMultiFile(path, multi, acquisitionSize);
    const std::vector<std::string> members = SetMemberPaths(path, set.MultiFileCount, set.QUARNFileCount);
    const int64_t setSize = set.MultiFileCount >= 1 ? numberedSize : acquisitionSize;
    if (!Show_File_Stats(state, members, setSize)) {
        set.FileValid = false;
        return false;
    }

    const bool progress = !state.Menus.MonitorOn;
    if (progress) {
        state.Progress.DoValue(0);
        state.Progress.DoShow("Loading Whole Set...");
    }
    set.CurrentEnsIndex = 0;
    set.WholeSetStep = static_cast<int32_t>(
        std::max<int64_t>(0, (static_cast<int64_t>(set.LastEnsNumber) - set.FirstEnsNumber + 1) / maxWhole));
    state.Setup.EnsembleNumber = 0;
    set.WholeSetDuration = 0;
    set.EnsembleInterval = 0;
    set.OrientationBalance = 0;
    state.Setup.PressureDepthCount = 0;

    const bool skipNvram = set.QUARNFileCount <= 0;
    EnsembleFile file(kReadBuffer);
    Clock clock;
    int64_t carry = 0;     // bytes of a skip that ran past the end of the previous member
    int64_t skipBytes = 0; // set by the first stored ensemble: WholeSetStep ensembles of its length
    for (size_t k = 0; k < members.size(); ++k) {
        if (!file.Open(members[k])) break;
        if (carry > 0) {
            const int64_t length = file.Length();
            if (carry >= length) {
                carry -= length;
                continue;
            }
            file.Seek(carry + 1);
            carry = 0;
        }
        int failures = 0;
        while (!file.AtEnd() && set.CurrentEnsIndex < maxWhole &&
               int64_t{state.Setup.EnsembleNumber} + set.WholeSetStep < set.LastEnsNumber &&
               failures < kWholeSetFailureLimit) {
            if (!Get_Next_Ensemble(set.DataStructure, file, state.Frame, set.FileValid, state.Yield)) {
                ++failures;
                continue;
            }
            failures = 0;
            // A set-up block is no ensemble: storing it would put a slot without a time into the set.
            if (skipNvram && Is_Nvram_Block(state.Frame)) {
                set.NvramFlag = true;
                continue;
            }
            Process_Ensemble(state);
            const double t = Convert_Time(state);
            set.OrientationBalance += state.Setup.LooksUp() ? -1 : 1;
            if (set.CurrentEnsIndex == 0) {
                set.FirstEnsNumber = state.Setup.EnsembleNumber;
                skipBytes = (int64_t{state.Frame.EnsembleBytes} + 2) * set.WholeSetStep;
            }
            set.WholeSetDuration += clock.Step(t);
            ++set.CurrentEnsIndex;
            if (skipBytes > 0) {
                // Pass over the next WholeSetStep ensembles without decoding them.
                carry = skipBytes - static_cast<int64_t>(file.Skip(static_cast<size_t>(skipBytes)));
            }
            if (progress)
                state.Progress.DoValue(static_cast<float>(set.CurrentEnsIndex) * 100.0f /
                                       static_cast<float>(maxWhole));
        }
        if (progress) state.Progress.DoValue(0);
        if (set.CurrentEnsIndex >= maxWhole ||
            int64_t{state.Setup.EnsembleNumber} + set.WholeSetStep >= set.LastEnsNumber)
            break;
    }
    file.Close();
    if (progress) state.Progress.DoHide();
    set.FirstBinShown = 1;
    set.LastBinShown = std::clamp(state.Setup.NumCells, 0, kMaxBins);

    if (set.CurrentEnsIndex <= 1) {
        // The arrays now belong to this file, so whatever was loaded before is gone.
        set.FileValid = false;
        return false;
    }
    Copy_To_Whole_Set(state);
    set.FileValid = true;
    set.SelFirstEns = set.WholeFirstEns;
    set.SelLastEns = set.FileLastEnsemble;
    const int64_t span = int64_t{state.Setup.EnsembleNumber} - set.FileFirstEnsemble;
    set.EnsembleInterval = span < 1 ? 0 : set.WholeSetDuration / static_cast<double>(span);
    set.StatsText += "Average Ensemble Interval " + IntervalText(set.EnsembleInterval) + "\r\n";
    if (hooks.WholeSetLoaded) hooks.WholeSetLoaded(state);

    const int32_t maxSub = SubCapacity(state.Opts);
    int32_t first = set.FirstEnsNumber;
    if (state.Menus.MonitorOn) {
        first = std::max(set.FileLastEnsemble - maxSub + 1, set.FirstEnsNumber);
        if (set.ProfileEnsNumber < first || set.ProfileEnsNumber > set.LastEnsNumber)
            set.ProfileEnsNumber = set.LastEnsNumber;
    }
    if (Read_File_Selection(state, first, first + maxSub - 1, true) && hooks.SubSetLoaded)
        hooks.SubSetLoaded(state);
    return true;
}

void Copy_To_Whole_Set(CoreState& state) {
    SetDescriptors& set = state.Set;
    DataSet& d = state.Data;
    set.WholeEnsCount = set.CurrentEnsIndex;
    set.WholeFirstEns = set.FirstEnsNumber;
    set.WholeStepSaved = set.WholeSetStep;
    const int count = std::min({set.CurrentEnsIndex, d.Capacity, d.WholeCapacity});
    const int bins = std::clamp(state.Setup.NumCells, 0, kMaxBins);
    auto copyRows = [](const auto& from, auto& to, int rows, int bins, int slot) {
        for (int b = 0; b < bins; ++b)
            for (int r = 0; r < rows; ++r) to(r, b, slot) = from(r, b, slot);
    };
    for (int s = 0; s < count; ++s) {
        copyRows(d.VelData, d.WholeVelData, 6, bins, s);
        copyRows(d.CorrData, d.WholeCorrData, 5, bins, s);
        copyRows(d.IntensityData, d.WholeIntensityData, 5, bins, s);
        copyRows(d.PGoodData, d.WholePGoodData, 4, bins, s);
        copyRows(d.BTVelData, d.WholeBTVelData, 6, 1, s);
        copyRows(d.RefVelData, d.WholeRefVelData, 6, 1, s);
        copyRows(d.NavData, d.WholeNavData, 6, 1, s);
        copyRows(d.RefVelWork, d.WholeRefVelWork, 6, 1, s);
        copyRows(d.BTRangeData, d.WholeBTRangeData, 5, 1, s);
        copyRows(d.EnsTimes, d.WholeEnsTimes, 7, 1, s);
        copyRows(d.AncData, d.WholeAncData, 8, 1, s);
    }
}

void Compute_ErrVel_Stats(CoreState& state) {
    DataSet& d = state.Data;
    if (d.ErrVelStats.Empty()) return;
    const int count = std::min(state.Set.CurrentEnsIndex, d.Capacity);
    const int bins = std::clamp(state.Setup.NumCells, 0, kMaxBins);
    for (int b = 0; b < bins; ++b) {
        double n = 0, s = 0, q = 0;
        for (int slot = 0; slot < count; ++slot) {
            const int16_t v = d.VelData(3, b, slot);
            if (v == kBadValue) continue;
            n += 1;
            s += v;
            q += static_cast<double>(v) * v;
        }
        if (n <= 1) {
            d.ErrVelStats(0, b, 0) = kBadValue;
            d.ErrVelStats(1, b, 0) = kBadValue;
            d.ErrVelStats(2, b, 0) = 0;
            continue;
        }
        d.ErrVelStats(0, b, 0) = RoundToInt32(s / n);
        d.ErrVelStats(1, b, 0) = RoundToInt32(std::sqrt(std::max(0.0, (q - s * s / n) / (n - 1))));
        d.ErrVelStats(2, b, 0) = RoundToInt32(n * 100 / state.Set.CurrentEnsIndex);
    }
}

bool Maximum_Ens(CoreState& state, int32_t requested) {
    state.Opts.MaxSubEnsembles = std::clamp(requested, 128, kMaxCapacity);
    Allocate_Data_Set(state.Data, state.Opts.MaxSubEnsembles, WholeCapacity(state.Opts), false);
    // The loaded set was discarded with the arrays.
    state.Set.CurrentEnsIndex = 0;
    if (!state.Set.FileValid) return false;
    const int32_t first = state.Set.FirstEnsNumber;
    return Read_File_Selection(state, first, first + state.Opts.MaxSubEnsembles - 1, true);
}

} // namespace mvx
