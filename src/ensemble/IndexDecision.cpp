#include "ensemble/IndexDecision.h"

#include "common/FileLength.h"
#include "common/Rounding.h"
#include "ensemble/EnsembleFile.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"
#include "model/EnsembleIndex.h"

#include <algorithm>
#include <cmath>

namespace mvx {

namespace {

// Numbers sampled between the first and the last ensemble (the last among them).
constexpr int64_t kSamples = 16;

class Prober {
  public:
    Prober(const std::vector<std::string>& members, int32_t structure, const ArithmeticFacts& facts,
           const YieldFn& yield)
        : members_(members), structure_(structure), facts_(facts), format_(Ensemble_Format(structure)),
          pacer_(yield) {
        int64_t start = 0;
        for (const std::string& member : members) {
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
            const EnsembleScan scan = Scan_For_Ensemble(structure_, file_, frame_, limits_, pacer_);
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
        // Where the arithmetic puts e: counted from the set's first byte, as the loads count it.
        const SetPosition at = PlaceOfOffset((int64_t{e} - facts_.FirstNumber) * record_);
        if (at.Position < 1 || !Open(at.Member)) return false;
        file_.Seek(at.Position);
        const EnsembleScan scan = Scan_For_Ensemble(structure_, file_, frame_, limits_, pacer_);
        if (scan.How != EnsembleScan::End::Found) return false;
        const int64_t number = format_->Number(frame_);
        return number >= e && InPlace(at.Member, scan, number);
    }

  private:
    bool Open(size_t member) {
        if (member >= members_.size()) return false;
        if (member == open_) return true;
        open_ = member;
        return file_.Open(members_[member]);
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

    const std::vector<std::string>& members_;
    int32_t structure_;
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

bool Arithmetic_Holds(const std::vector<std::string>& members, int32_t structure,
                      const ArithmeticFacts& facts, int32_t firstSubSet, const YieldFn& yield) {
    Prober probe(members, structure, facts, yield);
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

int32_t Arithmetic_Last_Ensemble(const ArithmeticFacts& facts, int64_t setSize, bool nvram) {
    const int64_t length = int64_t{facts.FirstBytes} + 2;
    const int64_t expected = (int64_t{facts.LastNumber} - facts.FirstNumber + 1) * length;
    if (expected >= setSize || nvram) return facts.LastNumber;
    return RoundToInt32(static_cast<double>(setSize) / static_cast<double>(length) + facts.FirstNumber - 1);
}

} // namespace mvx
