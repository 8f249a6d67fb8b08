#include "ensemble/LastEnsembleSearch.h"

#include "common/Rounding.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"

#include <limits>
#include <optional>
#include <vector>

namespace mvx {

namespace {

// What a search of the set from some position finds.
struct StepFind {
    bool Found = false;
    int32_t Bytes = 0;
    bool Nvram = false;
    int64_t Sync = 0; // set position of its sync byte
};

// The backward search's steps start one record apart and each searches forward as the set's own search
// does. Done plainly, every step would hunt again through everything after it. Instead a step's scan
// stops where the step after it started, in the same hunting state, and takes that step's outcome with
// its own bad bytes added (scans here count bad bytes without a limit and apply the limit afterwards),
// so every byte is hunted through once however long the stretch without ensembles is.
class BackwardSteps {
  public:
    BackwardSteps(SetStream& stream, EnsembleFrame& frame, int32_t structure, bool& fileValid,
                  const YieldFn& yield)
        : stream_(stream), frame_(frame), structure_(structure), fileValid_(fileValid), yield_(yield),
          pacer_(yield), fromMemberStart_(stream.MemberCount()) {}

    // False when the member at the position cannot be opened.
    bool Step(int64_t position, StepFind& found) {
        found = StepFind{};
        if (!stream_.Seek(position)) return false;
        if (!Ensemble_Format(structure_)) {
            stream_.NextEnsemble(structure_, frame_, fileValid_, yield_); // clears fileValid
            return true;
        }
        const size_t member = stream_.CurrentMember();
        EnsembleFile& file = stream_.File();
        const int64_t start = file.NextPosition();
        ScanLimits limits;
        limits.BadByteLimit = std::numeric_limits<int64_t>::max();
        limits.DirectSumBytes = 0;
        const bool joins = previous_.Member == member && previous_.Start > start;
        if (joins) {
            limits.StopAt = previous_.Start;
            KeepBuffered(file, member, start);
        }
        const EnsembleScan scan = Scan_For_Ensemble(structure_, file, frame_, limits, pacer_);
        Outcome outcome;
        outcome.Member = member;
        outcome.Start = start;
        outcome.BadBytes = scan.BadBytes;
        if (scan.How == EnsembleScan::End::Found) {
            outcome.Ensemble = {true, frame_.EnsembleBytes, Is_Nvram_Block(frame_),
                                stream_.MemberOffset(member) + scan.Position};
        } else if (scan.How == EnsembleScan::End::ReachedStop) {
            // Hunting reached the next step's start, or the byte after it when that byte was read as the
            // second byte of a header pair: then the next step counted it as bad and this one did not.
            outcome.MemberEnd = previous_.MemberEnd;
            outcome.Ensemble = previous_.Ensemble;
            outcome.BadBytes += previous_.BadBytes - (scan.Position - previous_.Start);
        } else {
            outcome.MemberEnd = true;
        }
        previous_ = outcome;

        if (outcome.BadBytes >= Ensemble_Format(structure_)->Framing.BadByteLimit) return true;
        found = outcome.MemberEnd ? FromMemberStart(member + 1) : outcome.Ensemble;
        return true;
    }

    // Puts the ensemble a step found into the frame.
    void Load(const StepFind& found) {
        stream_.Seek(found.Sync);
        stream_.NextEnsemble(structure_, frame_, fileValid_, yield_);
    }

  private:
    struct Outcome {
        size_t Member = std::numeric_limits<size_t>::max();
        int64_t Start = 0;      // position in the member where the step began
        bool MemberEnd = false; // the scan ran to the member's end (the set's search goes on in the next)
        StepFind Ensemble;      // otherwise what it met
        int64_t BadBytes = 0;   // before it, without a limit
    };

    // A member's start is searched as the set's search goes on into it after the member before ran out.
    StepFind FromMemberStart(size_t member) {
        if (member >= fromMemberStart_.size()) return {};
        if (!fromMemberStart_[member]) {
            StepFind found;
            if (stream_.Seek(stream_.MemberOffset(member) + 1) &&
                stream_.NextEnsemble(structure_, frame_, fileValid_, yield_)) {
                const int64_t total = int64_t{frame_.EnsembleBytes} + 2;
                found = {true, frame_.EnsembleBytes, Is_Nvram_Block(frame_),
                         stream_.MemberOffset(stream_.CurrentMember()) + stream_.File().NextPosition() -
                             total + Ensemble_Format(structure_)->Framing.SyncOffset};
            }
            fromMemberStart_[member] = found;
        }
        return *fromMemberStart_[member];
    }

    // Steps move back through a member a record at a time: the buffer is refilled well before the step,
    // so the steps that follow find their bytes (and the running sums) already there.
    void KeepBuffered(EnsembleFile& file, size_t member, int64_t start) {
        constexpr int64_t kBehind = 1 << 20;
        constexpr int64_t kAhead = 65537 + 16; // the longest candidate that starts before the next step
        const int64_t end = std::min(previous_.Start + kAhead, stream_.MemberLength(member) + 1);
        if (end <= start || file.Buffered(start, static_cast<size_t>(end - start))) return;
        const int64_t from = std::max<int64_t>(1, start - kBehind);
        size_t got = 0;
        file.Peek(from, static_cast<size_t>(end - from), got);
    }

    SetStream& stream_;
    EnsembleFrame& frame_;
    const int32_t structure_;
    bool& fileValid_;
    const YieldFn& yield_;
    SearchPacer pacer_;
    Outcome previous_;
    std::vector<std::optional<StepFind>> fromMemberStart_;
};

} // namespace

LastEnsembleResult Find_Last_Ensemble(SetStream& stream, EnsembleFrame& frame, int32_t dataStructure,
                                      int64_t totalLength, int32_t firstBytes, bool& fileValid,
                                      const std::function<void()>& decodeLast, const YieldFn& yield) {
    LastEnsembleResult result;
    // For ensembles of equal length this is the first byte of the second-to-last one.
    const int64_t nearEnd = totalLength - 2 * static_cast<int64_t>(firstBytes) - 3;
    if (!stream.Seek(nearEnd > 0 ? nearEnd : 1)) return result;
    if (stream.NextEnsemble(dataStructure, frame, fileValid, yield)) {
        decodeLast();
        if (stream.NextEnsemble(dataStructure, frame, fileValid, yield)) decodeLast();
        result.Found = true;
        return result;
    }

    const int64_t record = static_cast<int64_t>(firstBytes) + 2;
    const int64_t count =
        RoundToInt64(static_cast<double>(totalLength) / static_cast<double>(record), 0, INT64_MAX);
    BackwardSteps steps(stream, frame, dataStructure, fileValid, yield);
    for (int64_t k = 3; k <= count; ++k) {
        // A step that would start before the file ends the search: the stream would start it at the
        // first byte instead and take the first ensemble for the last.
        const int64_t position = totalLength - record * k + 1;
        StepFind found;
        if (position < 1 || !steps.Step(position, found)) break;
        frame.EnsembleBytes = firstBytes;
        if (!found.Found) continue;
        if (found.Bytes == firstBytes) {
            steps.Load(found);
            decodeLast();
            result.Found = true;
            return result;
        }
        if (found.Nvram) result.Nvram = true;
    }
    return result;
}

} // namespace mvx
