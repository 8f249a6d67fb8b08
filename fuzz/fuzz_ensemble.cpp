// Arbitrary bytes as an ensemble file searched with both framings, and as an ensemble handed straight to
// both decoders. Besides not crashing: every ensemble found is complete and checksum-valid, every search
// moves the file forward, a failed search restores the length, and decoding writes only its own slot.
// Small inputs are searched by the plain byte-by-byte readings too, and every search (and the backward
// search for the last ensemble) must agree with them exactly.
#include "ReferenceSearch.h"
#include "ensemble/Decoder.h"
#include "ensemble/Framing.h"
#include "ensemble/LastEnsembleSearch.h"
#include "model/DataSet.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace mvx;

constexpr int kSlot = 1;

uint16_t Checksum(const std::vector<uint8_t>& b, int32_t n) {
    uint32_t sum = 0;
    for (int32_t i = 0; i < n; ++i) sum += b[i];
    return static_cast<uint16_t>(sum);
}

// Slot 0 and 2 must come out exactly as they went in.
void CheckNeighbours(const DataSet& before, const DataSet& after) {
    for (int slot : {0, 2}) {
        if (before.EnsNumbers[slot] != after.EnsNumbers[slot]) std::abort();
        if (std::memcmp(before.VelData.SlotData(slot), after.VelData.SlotData(slot),
                        before.VelData.SlotSize() * sizeof(int16_t)) != 0)
            std::abort();
        if (std::memcmp(before.CorrData.SlotData(slot), after.CorrData.SlotData(slot),
                        before.CorrData.SlotSize()) != 0)
            std::abort();
        if (before.TextData[slot] != after.TextData[slot]) std::abort();
    }
}

void DecodeBoth(const EnsembleFrame& frame, DataSet& data, InstrumentSetup& setup,
                const DecodeSettings& settings, int32_t structure) {
    const DataSet before = data;
    bool valid = true;
    Decode_Ensemble(structure, frame, setup, data, kSlot, settings, valid);
    CheckNeighbours(before, data);
    if (data.TextData[kSlot].size() > 256) std::abort();
    // A slot outside the set is never written.
    Decode_Ensemble(structure, frame, setup, data, data.Capacity, settings, valid);
    Decode_Ensemble(structure, frame, setup, data, -1, settings, valid);
}

// Inputs small enough for the plain readings, which re-read every candidate in full.
constexpr size_t kReferenceBytes = 4096;

void CompareLastEnsemble(const std::string& path, const std::vector<uint8_t>& bytes, int32_t structure,
                         int32_t firstBytes) {
    reference::Stream ref;
    ref.Members = {bytes};
    const reference::LastSearch expected = reference::FindLast(ref, structure == kBroadband, firstBytes);
    SetStream stream;
    if (!stream.Open({path})) std::abort();
    EnsembleFrame frame;
    frame.EnsembleBytes = firstBytes;
    bool valid = true;
    std::vector<std::vector<uint8_t>> taken;
    const LastEnsembleResult result =
        Find_Last_Ensemble(stream, frame, structure, stream.TotalLength(), firstBytes, valid,
                           [&] { taken.push_back(frame.EnsembleBuffer); }, {});
    if (result.Found != expected.Found || result.Nvram != expected.Nvram || taken != expected.Taken ||
        frame.EnsembleBytes != expected.BytesAfter)
        std::abort();
}

void Search(const std::string& path, const std::vector<uint8_t>& bytes, int32_t structure, size_t bufferSize,
            int32_t scanLimit, DataSet& data, InstrumentSetup& setup, const DecodeSettings& settings) {
    EnsembleFile file(bufferSize);
    if (!file.Open(path)) std::abort();
    EnsembleFrame frame;
    frame.EnsembleBytes = 12345;
    bool valid = true;
    const YieldFn yield = [] {};
    int calls = 0;
    const bool compare = bytes.size() <= kReferenceBytes;
    reference::File ref{&bytes};
    int32_t firstBytes = -1;
    while (!file.AtEnd()) {
        if (++calls > 100000) std::abort(); // every call consumes at least one byte of a small input
        const int64_t before = file.NextPosition();
        const int32_t lengthBefore = frame.EnsembleBytes;
        bool found = false;
        int32_t limit = 0; // the framing's own
        if (scanLimit > 0) {
            // The scan itself with a small bad-byte limit and running sums from the first candidate on.
            limit = scanLimit;
            if (!file.AtEnd()) {
                SearchPacer pacer(yield);
                ScanLimits limits;
                limits.BadByteLimit = limit;
                limits.DirectSumBytes = 0;
                found =
                    Scan_For_Ensemble(structure, file, frame, limits, pacer).How == EnsembleScan::End::Found;
            }
        } else {
            found = Get_Next_Ensemble(structure, file, frame, valid, yield);
        }
        if (file.NextPosition() <= before && !file.AtEnd()) std::abort();
        if (compare) {
            const reference::Found expected = reference::FindEnsemble(ref, structure == kBroadband, limit);
            if (found != expected.Ok || file.NextPosition() != ref.Next || file.AtEnd() != ref.AtEnd)
                std::abort();
            if (found && frame.EnsembleBuffer != expected.Ensemble) std::abort();
        }
        if (!found) {
            if (frame.EnsembleBytes != lengthBefore) std::abort();
            continue;
        }
        if (firstBytes < 0) firstBytes = frame.EnsembleBytes;
        const int32_t n = frame.EnsembleBytes;
        const auto& b = frame.EnsembleBuffer;
        if (n < 4 || b.size() != static_cast<size_t>(n) + 2) std::abort();
        const uint16_t stored = structure == kBroadband ? b[n] | (b[n + 1] << 8) : (b[n] << 8) | b[n + 1];
        if (stored != Checksum(b, n)) std::abort();
        if (structure == kBroadband && (b[0] != 0x7F || b[1] != 0x7F)) std::abort();
        if (structure == kNarrowband && b[3] != 0x3F) std::abort();
        DecodeBoth(frame, data, setup, settings, structure);
    }
    if (compare && scanLimit == 0 && firstBytes >= 0) CompareLastEnsemble(path, bytes, structure, firstBytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size > 300000) return 0;
    static const int fd = [] {
        const int f = memfd_create("fuzz_ensemble", 0);
        if (f < 0) std::abort();
        return f;
    }();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, bytes, size, 0) != static_cast<ssize_t>(size)) std::abort();
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    DataSet data;
    Allocate_Data_Set(data, 2, 2, false);
    InstrumentSetup setup;
    DecodeSettings settings;
    if (size > 0) {
        // The first byte varies the settings the decoders read.
        settings.FlipChecked = bytes[0] & 1;
        settings.FileValid = bytes[0] & 2;
        settings.WaterVelScale = (bytes[0] & 4) ? 2.5 : 1.0;
        settings.BottomVelScale = (bytes[0] & 8) ? -0.5 : 1.0;
        settings.WaterDensity = (bytes[0] & 16) ? 0.0f : 1025.0f;
    }
    const size_t bufferSize = 4096 + (size > 1 ? bytes[1] : 0) * 16;
    const std::vector<uint8_t> input(bytes, bytes + size);
    // The third byte chooses the searches' own limits or a small one (small inputs only).
    const int32_t scanLimit = size > 2 && size <= kReferenceBytes && (bytes[2] & 1) ? 1 + bytes[2] / 2 : 0;
    Search(path, input, kBroadband, bufferSize, scanLimit, data, setup, settings);
    Search(path, input, kNarrowband, bufferSize, scanLimit, data, setup, settings);

    // The input itself as an ensemble, with its claimed length and with its own size.
    EnsembleFrame frame;
    frame.EnsembleBuffer.assign(bytes, bytes + size);
    for (int32_t n : {size >= 4 ? bytes[2] | (bytes[3] << 8) : 0, size >= 2 ? (bytes[0] << 8) | bytes[1] : 0,
                      static_cast<int32_t>(size) - 2, static_cast<int32_t>(size) + 100}) {
        frame.EnsembleBytes = n;
        DecodeBoth(frame, data, setup, settings, kBroadband);
        DecodeBoth(frame, data, setup, settings, kNarrowband);
    }
    return 0;
}
