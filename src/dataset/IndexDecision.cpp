#include "dataset/IndexDecision.h"

#include "common/FileLength.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"

#include <optional>
#include <vector>

namespace mvx {

namespace {

// Numbers sampled between the first and the last ensemble (the last among them).
constexpr int64_t kSamples = 16;

class Prober {
  public:
    Prober(const ReadSource& source, const ArithmeticFacts& facts, const YieldFn& yield)
        : source_(source), facts_(facts), format_(Ensemble_Format(source.DataStructure)), pacer_(yield) {
        int64_t start = 0;
        for (const std::string& member : source.Members) {
            starts_.push_back(start);
            start += std::max<int64_t>(File_Length(member), 0);
        }
        record_ = int64_t{facts.FirstBytes} + 2;
        // Damaged ensembles between two good ones are hunted through as bad bytes: a few are allowed.
        limits_.BadByteLimit = 4 * record_ + 64;
    }

    bool Usable() const { return format_ != nullptr && facts_.FirstBytes > 0; }

    // The first ensembles one after another, each in its own place.
    bool FirstSubSetInPlace(int32_t count) {
        SetPosition at = PlaceOfOffset(facts_.FirstOffset);
        for (int32_t read = 0; read < count;) {
            if (!Open(at.Member)) return true; // the set ends
            file_.Seek(at.Position);
            const EnsembleScan scan =
                Scan_For_Ensemble(source_.DataStructure, file_, frame_, limits_, pacer_);
            if (scan.How == EnsembleScan::End::FileEnd) {
                at = SetPosition{at.Member + 1, 1};
                continue;
            }
            if (scan.How != EnsembleScan::End::Found) return false;
            const int64_t number = format_->Number(frame_);
            if (!InPlace(at.Member, scan, number)) return false;
            if (number >= facts_.LastNumber) return true;
            at.Position = file_.NextPosition();
            ++read;
        }
        return true;
    }

    // The ensemble the arithmetic's position of e leads to.
    bool SampleInPlace(int32_t e) {
        const std::optional<SetPosition> at = Ensemble_Position(source_, record_, e);
        if (!at || !Open(at->Member)) return false;
        file_.Seek(at->Position);
        const EnsembleScan scan = Scan_For_Ensemble(source_.DataStructure, file_, frame_, limits_, pacer_);
        if (scan.How != EnsembleScan::End::Found) return false;
        const int64_t number = format_->Number(frame_);
        return number >= e && InPlace(at->Member, scan, number);
    }

  private:
    bool Open(size_t member) {
        if (member >= source_.Members.size()) return false;
        if (member == open_) return true;
        open_ = member;
        return file_.Open(source_.Members[member]);
    }

    SetPosition PlaceOfOffset(int64_t offset) const {
        size_t member = 0;
        while (member + 1 < starts_.size() && starts_[member + 1] <= offset) ++member;
        return SetPosition{member, offset - (starts_.empty() ? 0 : starts_[member]) + 1};
    }

    bool InPlace(size_t member, const EnsembleScan& scan, int64_t number) const {
        if (number < 0 || Is_Nvram_Block(frame_) || frame_.EnsembleBytes != facts_.FirstBytes) return false;
        const int64_t offset = starts_[member] + scan.Position - format_->Framing.SyncOffset - 1;
        return offset == facts_.FirstOffset + (number - facts_.FirstNumber) * record_;
    }

    const ReadSource& source_;
    const ArithmeticFacts& facts_;
    const EnsembleFormat* format_;
    SearchPacer pacer_;
    std::vector<int64_t> starts_;
    int64_t record_ = 0;
    ScanLimits limits_;
    EnsembleFile file_{64 * 1024};
    size_t open_ = SIZE_MAX;
    EnsembleFrame frame_;
};

} // namespace

bool Arithmetic_Holds(const ReadSource& source, const ArithmeticFacts& facts, int32_t firstSubSet,
                      const YieldFn& yield) {
    ReadSource arithmetic = source;
    arithmetic.Index = nullptr;
    arithmetic.FileFirstEnsemble = facts.FirstNumber;
    Prober probe(arithmetic, facts, yield);
    if (!probe.Usable() || facts.LastNumber < facts.FirstNumber) return false;
    if (!probe.FirstSubSetInPlace(firstSubSet)) return false;
    const int64_t span = int64_t{facts.LastNumber} - facts.FirstNumber;
    int64_t previous = -1;
    for (int64_t k = 1; k <= kSamples; ++k) {
        const int64_t e = facts.FirstNumber + span * k / kSamples;
        if (e == previous) continue;
        previous = e;
        if (!probe.SampleInPlace(static_cast<int32_t>(e))) return false;
    }
    return true;
}

} // namespace mvx
