#pragma once
// The exact index of the open file or multi-file set: the number and place of every verified ensemble,
// in file order. A file whose ensembles sit where the first one's length predicts has none (its
// positions are computed); any other file gets one from a framing pass, and every load, export, saved
// set and range of that file takes its places from here.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace mvx {

constexpr size_t kNoEntry = std::numeric_limits<size_t>::max();

// A place in the set: a member and a 1-based byte position in it, and the index entry that starts there
// when the place was taken from the index.
struct SetPosition {
    size_t Member = 0;
    int64_t Position = 1;
    size_t Entry = kNoEntry;
};

struct IndexEntry {
    int64_t Offset = 0; // 0-based offset of the ensemble's first byte in the members laid end to end
    int32_t Number = 0; // its ensemble number (the one before it when it carries none)
    uint16_t Bytes = 0; // N: its length without the two checksum bytes
};

struct EnsembleIndex {
    std::vector<std::string> Members;   // the files indexed, in set order
    std::vector<int64_t> MemberLengths; // their lengths as far as the pass has read them
    std::vector<int64_t> MemberStarts;  // the offset of each member's first byte (lengths summed)
    std::vector<IndexEntry> Entries;    // every ensemble, in file order
    // Entry indexes ordered by number and then file order; empty while the numbers never go down, when
    // Entries itself is in that order.
    std::vector<uint32_t> ByNumber;
    int32_t NvramBlocks = 0;  // set-up blocks met between the ensembles (not entries)
    int64_t CoveredBytes = 0; // bytes of all entries, checksums included
    int64_t ScannedBytes = 0; // bytes the last pass (a build or an extension) went through
    size_t ResumeMember = 0;  // where an extension starts: this member, at this 1-based position
    int64_t ResumePosition = 1;

    bool Empty() const { return Entries.empty(); }
    size_t Count() const { return Entries.size(); }
    int64_t TotalLength() const;
};

// The entry that a request for ensemble `number` starts at: the first one in file order that carries
// the number; when none does, the first one of the next higher number in the file. Nothing when every
// number of the file is lower.
std::optional<size_t> Entry_Of_Number(const EnsembleIndex& index, int32_t number);

// The member and 1-based position of entry i (which must exist).
SetPosition Entry_Position(const EnsembleIndex& index, size_t entry);

// Missing ensembles: for each entry whose number is more than one above the one before it, the numbers
// skipped. A step down (a reset) or a repeat misses none.
int64_t Missing_Ensembles(const EnsembleIndex& index);

// Orders ByNumber after entries were added (left empty while the numbers never go down).
void Order_By_Number(EnsembleIndex& index);

// The whole-set load's thinning of an indexed set: Step entries passed over after each stored one
// (entries / maxWhole, integer division), and the entries stored, 0, Step + 1, 2 (Step + 1), ..., at
// most maxWhole of them. The navigator maps its whole-set slots to ensembles through the same list.
struct WholeSetThinning {
    int32_t Step = 0;
    std::vector<size_t> Entries;
};
WholeSetThinning Thin_Whole_Set(const EnsembleIndex& index, int32_t maxWhole);

} // namespace mvx
