#include "dataset/ReadLoop.h"

#include "common/FileLength.h"
#include "dataset/MultiFile.h"
#include "dataset/VelocityProcessing.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"

#include <algorithm>
#include <optional>

namespace mvx {

namespace {

// Failed searches in one member before it is given up (the next failure ends it).
constexpr int kFailureLimit = 1000;
constexpr double kSecondsPerDay = 86400;
// The loads read a few hundred ensembles scattered over the file: a small read buffer keeps the
// bytes read per stored ensemble independent of the file's size.
constexpr size_t kReadBuffer = 64 * 1024;

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

} // namespace

void Process_Ensemble(DecodeTarget target, int slot, const ProcessingSettings& settings, bool& fileValid) {
    if (!target.Arrays.ValidSlot(slot)) return;
    Clear_Slot(target.Arrays, slot);
    Decode_Ensemble(settings.DataStructure, target.Frame, target.Setup, target.Arrays, slot, settings.Decode,
                    fileValid);
    End_Of_Profile(target.Setup, settings.Opts, target.Arrays, slot);
    Process_Velocities(target.Setup, settings.Opts, target.Arrays, slot);
}

double Convert_Time(const EnsembleSet& arrays, int slot) {
    if (!arrays.ValidSlot(slot)) return 0;
    const auto& t = arrays.EnsTimes;
    return t(3, slot) * 3600.0 + t(4, slot) * 60.0 + t(5, slot) + t(6, slot) / 100.0;
}

ReadSource Read_Source(const SetDescriptors& set) {
    ReadSource source;
    source.Members = SetMemberPaths(set.FileName, set.MultiFileCount, set.QUARNFileCount);
    source.DataStructure = set.DataStructure;
    source.FileFirstEnsemble = set.FileFirstEnsemble;
    source.SkipNvram = set.QUARNFileCount <= 0;
    return source;
}

std::optional<SetPosition> Ensemble_Position(const ReadSource& source, int64_t recordBytes, int32_t number) {
    SetPosition at;
    at.Position =
        std::max<int64_t>((static_cast<int64_t>(number) - source.FileFirstEnsemble) * recordBytes + 1, 1);
    if (source.Members.size() <= 1) return at;
    for (; at.Member < source.Members.size(); ++at.Member) {
        const int64_t length = File_Length(source.Members[at.Member]);
        if (length < 0) return std::nullopt; // a member has gone: the stream ends before it
        if (at.Position < length) return at;
        at.Position -= length;
    }
    return std::nullopt;
}

LoadReport Read_Ensembles(const ReadSource& source, const ReadPlan& plan, DecodeTarget target,
                          const ProcessingSettings& settings, bool& fileValid, const YieldFn& yield,
                          const ProgressSink& progress, EnsembleFile* kept) {
    LoadReport report;
    int32_t& stored = report.Stored;
    auto passEnds = [&] {
        return stored >= plan.Slots || int64_t{target.Setup.EnsembleNumber} + plan.Step >= plan.StopNumber;
    };
    std::optional<EnsembleFile> own;
    EnsembleFile& file = kept ? *kept : own.emplace(kReadBuffer);
    Clock clock;
    int64_t carry = 0;     // bytes of a skip that ran past the end of the previous member
    int64_t skipBytes = 0; // set by the first stored ensemble: Step ensembles of its length
    for (size_t k = plan.Start.Member; k < source.Members.size(); ++k) {
        const bool open = file.IsOpen() && file.Path() == source.Members[k];
        if (!open && !file.Open(source.Members[k])) break;
        if (k == plan.Start.Member) {
            file.Seek(plan.Start.Position);
        } else if (carry > 0) {
            const int64_t length = file.Length();
            if (carry >= length) {
                carry -= length;
                continue;
            }
            file.Seek(carry + 1);
            carry = 0;
        }
        int failures = 0;
        while (!file.AtEnd() && !passEnds()) {
            if (!Get_Next_Ensemble(source.DataStructure, file, target.Frame, fileValid, yield)) {
                ++report.FailedSearches;
                if (++failures > kFailureLimit) break;
                continue;
            }
            if (plan.FailuresInARow) failures = 0;
            // A set-up block is no ensemble: storing it would put a slot without a time into the set.
            if (source.SkipNvram && Is_Nvram_Block(target.Frame)) {
                ++report.NvramBlocks;
                continue;
            }
            Process_Ensemble(target, stored, settings, fileValid);
            const double t = Convert_Time(target.Arrays, stored);
            report.OrientationBalance += target.Setup.LooksUp() ? -1 : 1;
            if (stored == 0) {
                report.FirstNumber = target.Setup.EnsembleNumber;
                skipBytes = (int64_t{target.Frame.EnsembleBytes} + 2) * plan.Step;
            }
            report.Duration += clock.Step(t);
            ++stored;
            // Pass over the next Step ensembles without decoding them.
            if (skipBytes > 0)
                carry = skipBytes - static_cast<int64_t>(file.Skip(static_cast<size_t>(skipBytes)));
            if (!progress.DoValue(static_cast<float>(stored) * 100.0f /
                                  static_cast<float>(plan.ProgressFull))) {
                report.Stopped = true;
                return report;
            }
        }
        if (plan.ProgressZeroPerFile && !progress.DoValue(0)) {
            report.Stopped = true;
            return report;
        }
        if (passEnds()) break;
    }
    return report;
}

LoadReport Read_Selection(const ReadSource& source, DecodeTarget target, const ProcessingSettings& settings,
                          int32_t first, int32_t last, int32_t maxStored, bool& fileValid,
                          const YieldFn& yield, const ProgressSink& progress, EnsembleFile* kept) {
    const int64_t n = std::max<int64_t>(1, static_cast<int64_t>(last) - first + 1);
    const std::optional<SetPosition> start =
        Ensemble_Position(source, int64_t{target.Frame.EnsembleBytes} + 2, first);
    if (!start) {
        LoadReport nothing;
        nothing.Refusal = LoadRefusal::Unreadable;
        return nothing;
    }
    ReadPlan plan;
    plan.Start = *start;
    plan.Slots = static_cast<int32_t>(std::min<int64_t>({n, maxStored, target.Arrays.Capacity}));
    plan.ProgressFull = n;
    LoadReport report = Read_Ensembles(source, plan, target, settings, fileValid, yield, progress, kept);
    report.Loaded = report.Stored >= 1;
    if (!report.Loaded) report.Refusal = report.Stopped ? LoadRefusal::Stopped : LoadRefusal::NothingStored;
    return report;
}

} // namespace mvx
