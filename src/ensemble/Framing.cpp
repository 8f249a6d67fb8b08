#include "ensemble/Framing.h"

#include "ensemble/EnsembleFormats.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace mvx {

namespace {

// The smallest length that still covers the length word and the byte after it; a shorter narrowband
// candidate could be "valid" with zero bytes and would leave the file before its own sync byte.
constexpr int32_t kMinimumEnsembleBytes = 4;

// Sum of the bytes modulo 2^16. Kept as a plain loop over 32-bit partial sums so the compiler can
// vectorise it; a single ensemble is at most 65535 bytes, so 32 bits never overflow.
uint16_t ByteSum(const uint8_t* bytes, size_t count) {
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint16_t>(sum);
}

uint16_t Word(const uint8_t* b, bool bigEndian) {
    return static_cast<uint16_t>(bigEndian ? (b[0] << 8) | b[1] : b[0] | (b[1] << 8));
}

enum class HuntEnd { Found, FileEnd, BadByteLimit, ReachedStop };

// Consumes bytes up to and including the next byte equal to target whose 1-based position is at least
// minPosition, and before stopAt. Every other byte consumed counts as bad; the hunt stops exactly at the
// limit-th bad byte. Works on the file's buffer directly so that a long run of stray bytes costs one
// memchr per buffer.
HuntEnd HuntFor(EnsembleFile& file, uint8_t target, int64_t minPosition, const ScanLimits& limits,
                int64_t& badBytes, SearchPacer& pacer) {
    for (;;) {
        size_t avail = 0;
        const uint8_t* view = file.View(avail);
        if (avail == 0) {
            // The one-byte read of the hunt would have come up short.
            file.MarkAtEnd();
            return HuntEnd::FileEnd;
        }
        const int64_t firstPosition = file.NextPosition();
        const size_t window = static_cast<size_t>(std::min(
            {static_cast<int64_t>(avail), limits.BadByteLimit - badBytes, limits.StopAt - firstPosition}));
        size_t from = 0;
        const uint8_t* hit = nullptr;
        // A hunt that resumes on a wanted byte, as it does in a run of them, needs no memchr.
        if (view[0] == target && firstPosition >= minPosition) hit = view;
        while (!hit && from < window) {
            hit = static_cast<const uint8_t*>(std::memchr(view + from, target, window - from));
            if (!hit) break;
            const size_t index = static_cast<size_t>(hit - view);
            if (firstPosition + static_cast<int64_t>(index) >= minPosition) break;
            from = index + 1;
            hit = nullptr;
        }
        if (hit) {
            const size_t index = static_cast<size_t>(hit - view);
            badBytes += static_cast<int64_t>(index);
            file.Advance(index + 1);
            pacer.Examined(index + 1);
            return HuntEnd::Found;
        }
        badBytes += static_cast<int64_t>(window);
        file.Advance(window);
        pacer.Examined(window);
        if (badBytes >= limits.BadByteLimit) return HuntEnd::BadByteLimit;
        if (file.NextPosition() >= limits.StopAt) return HuntEnd::ReachedStop;
    }
}

// A read that meets the end at this position leaves the file there, at its end.
EnsembleScan EndedAt(EnsembleFile& file, int64_t position, int64_t badBytes) {
    file.Seek(position);
    file.MarkAtEnd();
    return {EnsembleScan::End::FileEnd, position, badBytes};
}

// The scan with the framing's rule known when compiled, so its tests cost no loads in the inner loop.
template <const FramingRule& rule>
EnsembleScan ScanWith(EnsembleFile& file, EnsembleFrame& frame, const ScanLimits& limits,
                      SearchPacer& pacer) {
    int64_t badBytes = 0;
    size_t directBudget = limits.DirectSumBytes;
    for (;;) {
        const int64_t from = file.NextPosition();
        if (from >= limits.StopAt) return {EnsembleScan::End::ReachedStop, from, badBytes};
        switch (HuntFor(file, rule.SyncByte, rule.SyncOffset + 1, limits, badBytes, pacer)) {
        case HuntEnd::Found:
            break;
        case HuntEnd::FileEnd:
            return {EnsembleScan::End::FileEnd, file.NextPosition(), badBytes};
        case HuntEnd::BadByteLimit:
            return {EnsembleScan::End::BadByteLimit, file.NextPosition(), badBytes};
        case HuntEnd::ReachedStop:
            continue;
        }
        int64_t sync = file.LastPositionRead();
        // Candidates one after another: where hunting would go on at a sync byte, it would stop there at
        // once without counting a bad byte, so the loop takes that byte as the next sync byte itself.
        for (;;) {
            const int64_t start = sync - rule.SyncOffset;
            const size_t synced = static_cast<size_t>(rule.SyncOffset) + 1;
            int64_t resume = sync + 1;
            size_t got = 0;
            const uint8_t* head = file.Peek(start, rule.HeadBytes, got);
            if (rule.SecondSyncByte && got <= synced)
                return EndedAt(file, start + static_cast<int64_t>(got), badBytes);
            if (rule.SecondSyncByte && head[synced] != rule.SyncByte) {
                resume = sync + 2; // not looked at again as a first byte, and not counted
            } else {
                if (got < rule.HeadBytes) return EndedAt(file, start + static_cast<int64_t>(got), badBytes);
                const int32_t n = Word(head + rule.LengthOffset, rule.BigEndian);
                const size_t total = static_cast<size_t>(n) + 2;
                const uint8_t* bytes = file.Peek(start, total, got);
                if (got < total) return EndedAt(file, start + static_cast<int64_t>(got), badBytes);
                if (n >= kMinimumEnsembleBytes) {
                    uint16_t sum;
                    if (directBudget >= static_cast<size_t>(n)) {
                        directBudget -= static_cast<size_t>(n);
                        pacer.Examined(static_cast<size_t>(n));
                        sum = ByteSum(bytes, static_cast<size_t>(n));
                    } else {
                        sum = file.RunningSum(start, static_cast<size_t>(n));
                    }
                    if (sum == Word(bytes + n, rule.BigEndian)) {
                        frame.EnsembleBuffer.assign(bytes, bytes + total);
                        frame.EnsembleBytes = n;
                        file.Seek(start + static_cast<int64_t>(total));
                        return {EnsembleScan::End::Found, sync, badBytes};
                    }
                }
            }
            pacer.Examined(static_cast<size_t>(resume - sync));
            const uint8_t* next = resume < limits.StopAt ? file.Peek(resume, 1, got) : nullptr;
            if (!next || got < 1 || *next != rule.SyncByte) {
                file.Seek(resume);
                break;
            }
            sync = resume;
        }
    }
}

} // namespace

EnsembleScan Scan_For_Ensemble(int32_t structure, EnsembleFile& file, EnsembleFrame& frame,
                               const ScanLimits& limits, SearchPacer& pacer) {
    if (structure == kBroadband) return ScanWith<kBroadbandFraming>(file, frame, limits, pacer);
    return ScanWith<kNarrowbandFraming>(file, frame, limits, pacer);
}

namespace {

bool Find(int32_t structure, const FramingRule& rule, EnsembleFile& file, EnsembleFrame& frame,
          const YieldFn& yield) {
    if (file.AtEnd()) return false;
    SearchPacer pacer(yield);
    ScanLimits limits;
    limits.BadByteLimit = rule.BadByteLimit;
    return Scan_For_Ensemble(structure, file, frame, limits, pacer).How == EnsembleScan::End::Found;
}

} // namespace

bool Find_Broadband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield) {
    return Find(kBroadband, kBroadbandFraming, file, frame, yield);
}

bool Find_Narrowband_Ensemble(EnsembleFile& file, EnsembleFrame& frame, const YieldFn& yield) {
    return Find(kNarrowband, kNarrowbandFraming, file, frame, yield);
}

bool Get_Next_Ensemble(int32_t dataStructure, EnsembleFile& file, EnsembleFrame& frame, bool& fileValid,
                       const YieldFn& yield) {
    if (const EnsembleFormat* format = Ensemble_Format(dataStructure))
        return format->Find(file, frame, yield);
    fileValid = false;
    return false;
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
