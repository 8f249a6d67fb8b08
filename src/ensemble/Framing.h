#pragma once
// Finding the next complete, checksum-valid ensemble at or after the current file position.
#include "common/Callbacks.h"
#include "ensemble/EnsembleFile.h"
#include "model/EnsembleFrame.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace mvx {

// How one framing marks, sizes and closes an ensemble. The hunt looks for the sync byte; the candidate
// ensemble starts SyncOffset bytes before it, and its length word at LengthOffset counts the bytes
// without the two checksum bytes that follow them.
struct FramingRule {
    uint8_t SyncByte;
    int64_t SyncOffset;
    bool SecondSyncByte; // the byte after the sync byte must be a sync byte too (broadband)
    size_t LengthOffset;
    size_t HeadBytes; // bytes read from the candidate's start before its length is trusted
    bool BigEndian;   // of the length word and the checksum
    int32_t BadByteLimit;
};

// 7F 7F, little-endian length at byte 2, little-endian checksum, 10000 bad bytes.
inline constexpr FramingRule kBroadbandFraming{0x7F, 0, true, 2, 6, false, 10000};
// Sync byte 0x3F at byte 3 (never within the file's first three bytes), big-endian length at byte 0 and
// checksum, 65536 bad bytes.
inline constexpr FramingRule kNarrowbandFraming{0x3F, 3, false, 0, 4, true, 65536};

// Calls the yield callback once when a search starts and then once per 64 KiB of bytes examined, so a
// long hunt keeps the user interface alive without paying a call per byte.
class SearchPacer {
  public:
    explicit SearchPacer(const YieldFn& fn) : fn_(fn) {
        if (fn_) fn_();
    }
    void Examined(size_t bytes) {
        since_ += bytes;
        if (since_ >= kYieldEvery) {
            since_ = 0;
            if (fn_) fn_();
        }
    }

  private:
    static constexpr size_t kYieldEvery = 64 * 1024;
    const YieldFn& fn_;
    size_t since_ = 0;
};

struct ScanLimits {
    int64_t BadByteLimit = 0;
    // Hunting stops on reaching this position (the backward search joins one step to the next there).
    int64_t StopAt = std::numeric_limits<int64_t>::max();
    // Candidate bytes summed one by one before running sums over the file's buffer take over: a search
    // that meets an ensemble at once never builds them.
    size_t DirectSumBytes = 64 * 1024;
};

struct EnsembleScan {
    enum class End { Found, FileEnd, BadByteLimit, ReachedStop };
    End How = End::FileEnd;
    int64_t Position = 0; // Found: the ensemble's sync byte; ReachedStop: where hunting would go on
    int64_t BadBytes = 0; // bytes counted against the limit before the scan ended
};

// The search of one framing from the file's position: the candidates are tried in file order, a failed
// one resumes one byte after its sync byte, and bytes that cannot start an ensemble count against the
// limit. Found: frame holds the ensemble and the file is positioned after its checksum. FileEnd: the file
// is at its end. The frame is written only when an ensemble is found.
// Structure 2 scans broadband framing, anything else narrowband.
EnsembleScan Scan_For_Ensemble(int32_t structure, EnsembleFile& file, EnsembleFrame& frame,
                               const ScanLimits& limits, SearchPacer& pacer);

// Searches from the current position for the next valid broadband ensemble (0x7F 0x7F, little-endian
// length, checksum). True: frame holds it and the file is positioned on the byte after its checksum.
// False: end of file or 10000 bytes that cannot start an ensemble; the frame is left as it was.
// yield is called at a bounded rate (never once per byte); it may be empty.
bool Find_Broadband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield);

// The same for narrowband framing (big-endian length, sync byte 0x3F at offset 3, limit 65536).
bool Find_Narrowband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield);

// Structure 1 searches narrowband, 2 broadband; any other value clears fileValid and returns False.
bool Get_Next_Ensemble(int32_t dataStructure, EnsembleFile& file, EnsembleFrame& frame, bool& fileValid,
                       const YieldFn& yield);

// Tries broadband first, then narrowband; leaves the file at position 1. 0 unknown, 1 NB, 2 BB.
int32_t Determine_File_Data_Structure(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield);

} // namespace mvx
