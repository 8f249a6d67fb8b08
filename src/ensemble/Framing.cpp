#include "ensemble/Framing.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace mvx {

namespace {

constexpr int32_t kBroadbandBadByteLimit = 10000;
constexpr int32_t kNarrowbandBadByteLimit = 65536;
constexpr uint8_t kBroadbandHeaderByte = 0x7F;
constexpr uint8_t kNarrowbandSyncByte = 0x3F;
// The smallest length that still covers the length word and the byte after it; a shorter narrowband
// candidate could be "valid" with zero bytes and would leave the file before its own sync byte.
constexpr int32_t kMinimumEnsembleBytes = 4;

// Calls the yield callback once when a search starts and then once per yieldEvery bytes examined, so
// a long hunt keeps the user interface alive without paying a call per byte.
class YieldPacer {
  public:
    explicit YieldPacer(const YieldFn& fn) : fn_(fn) {
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

// Sum of the bytes modulo 2^16. Kept as a plain loop over 32-bit partial sums so the compiler can
// vectorise it; a single ensemble is at most 65535 bytes, so 32 bits never overflow.
uint16_t ByteSum(const uint8_t* bytes, size_t count) {
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint16_t>(sum);
}

// Reads the candidate that starts at the 1-based position start and holds n bytes plus its checksum
// into the frame. False when the file ends before the candidate does (the file is then at its end).
bool ReadCandidate(EnsembleFile& file, EnsembleFrame& frame, int64_t start, int32_t n) {
    file.Seek(start);
    frame.EnsembleBytes = n;
    const size_t total = static_cast<size_t>(n) + 2;
    frame.EnsembleBuffer.resize(total);
    return file.Read(frame.EnsembleBuffer.data(), total) == total;
}

struct HuntResult {
    bool found = false; // a byte value at an acceptable position was consumed
    bool stop = false;  // the file ended or the bad-byte limit was reached
};

// Consumes bytes up to and including the next byte equal to target whose 1-based position is at least
// minPosition. Every other byte consumed counts as bad; the hunt stops exactly at the limit-th bad byte.
// Works on the file's buffer directly so that a long run of stray bytes costs one memchr per buffer.
HuntResult HuntFor(EnsembleFile& file, uint8_t target, int64_t minPosition, int32_t limit, int32_t& badBytes,
                   YieldPacer& pacer) {
    HuntResult result;
    for (;;) {
        size_t avail = 0;
        const uint8_t* view = file.View(avail);
        if (avail == 0) {
            // The one-byte read of the hunt would have come up short.
            file.MarkAtEnd();
            result.stop = true;
            return result;
        }
        const size_t window = std::min(avail, static_cast<size_t>(limit - badBytes));
        const int64_t firstPosition = file.NextPosition();
        size_t from = 0;
        const uint8_t* hit = nullptr;
        while (from < window) {
            hit = static_cast<const uint8_t*>(std::memchr(view + from, target, window - from));
            if (!hit) break;
            const size_t index = static_cast<size_t>(hit - view);
            if (firstPosition + static_cast<int64_t>(index) >= minPosition) break;
            from = index + 1;
            hit = nullptr;
        }
        if (hit) {
            const size_t index = static_cast<size_t>(hit - view);
            badBytes += static_cast<int32_t>(index);
            file.Advance(index + 1);
            pacer.Examined(index + 1);
            result.found = true;
            return result;
        }
        badBytes += static_cast<int32_t>(window);
        file.Advance(window);
        pacer.Examined(window);
        if (badBytes >= limit) {
            result.stop = true;
            return result;
        }
    }
}

} // namespace

bool Find_Broadband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield) {
    const int32_t savedBytes = frame.EnsembleBytes;
    if (file.AtEnd()) return false;
    YieldPacer pacer(yield);
    int32_t badBytes = 0;
    for (;;) {
        // First header byte: every other byte is a bad byte.
        const HuntResult hunt =
            HuntFor(file, kBroadbandHeaderByte, 1, kBroadbandBadByteLimit, badBytes, pacer);
        if (hunt.stop) break;
        const int64_t candidate = file.LastPositionRead();

        // Second header byte: anything else sends the search back to the first, uncounted and not
        // looked at again as a first byte.
        const int second = file.ReadByte();
        if (second < 0) break;
        if (second != kBroadbandHeaderByte) continue;

        uint8_t head[4];
        if (file.Read(head, sizeof head) != sizeof head) break;
        const int32_t n = head[0] | (head[1] << 8);
        if (!ReadCandidate(file, frame, candidate, n)) break;
        pacer.Examined(static_cast<size_t>(n) + 2);

        const uint8_t* bytes = frame.EnsembleBuffer.data();
        const uint16_t stored = static_cast<uint16_t>(bytes[n] | (bytes[n + 1] << 8));
        if (n >= kMinimumEnsembleBytes && ByteSum(bytes, static_cast<size_t>(n)) == stored) return true;
        // Resume on the byte after the candidate's first header byte.
        file.Seek(candidate + 1);
    }
    frame.EnsembleBytes = savedBytes;
    return false;
}

bool Find_Narrowband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield) {
    const int32_t savedBytes = frame.EnsembleBytes;
    if (file.AtEnd()) return false;
    YieldPacer pacer(yield);
    int32_t badBytes = 0;
    for (;;) {
        // The sync byte is ensemble byte 3, so one within the first three bytes of the file cannot be one.
        const HuntResult hunt =
            HuntFor(file, kNarrowbandSyncByte, 4, kNarrowbandBadByteLimit, badBytes, pacer);
        if (hunt.stop) break;
        const int64_t sync = file.LastPositionRead();
        const int64_t candidate = sync - 3;

        file.Seek(candidate);
        uint8_t head[4];
        if (file.Read(head, sizeof head) != sizeof head) break;
        const int32_t n = (head[0] << 8) | head[1];
        if (!ReadCandidate(file, frame, candidate, n)) break;
        pacer.Examined(static_cast<size_t>(n) + 2);

        const uint8_t* bytes = frame.EnsembleBuffer.data();
        const uint16_t stored = static_cast<uint16_t>((bytes[n] << 8) | bytes[n + 1]);
        if (n >= kMinimumEnsembleBytes && ByteSum(bytes, static_cast<size_t>(n)) == stored) return true;
        // Resume after the sync byte so that it is not found again.
        file.Seek(sync + 1);
    }
    frame.EnsembleBytes = savedBytes;
    return false;
}

bool Get_Next_Ensemble(int32_t dataStructure, EnsembleFile& file, EnsembleFrame& frame, bool& fileValid,
                       const YieldFn& yield) {
    switch (dataStructure) {
    case kNarrowband:
        return Find_Narrowband_Ensemble(file, frame, yield);
    case kBroadband:
        return Find_Broadband_Ensemble(file, frame, yield);
    default:
        fileValid = false;
        return false;
    }
}

int32_t Determine_File_Data_Structure(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield) {
    int32_t structure = kStructureUnknown;
    file.Seek(1);
    if (Find_Broadband_Ensemble(file, frame, yield)) {
        structure = kBroadband;
    } else {
        file.Seek(1);
        if (Find_Narrowband_Ensemble(file, frame, yield)) structure = kNarrowband;
    }
    file.Seek(1);
    return structure;
}

} // namespace mvx
