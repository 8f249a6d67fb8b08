// Arbitrary bytes as an ensemble file searched with both framings, and as an ensemble handed straight to
// both decoders. Besides not crashing: every ensemble found is complete and checksum-valid, every search
// moves the file forward, a failed search restores the length, and decoding writes only its own slot.
#include "ensemble/Decoder.h"
#include "ensemble/Framing.h"
#include "model/DataSet.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

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

void Search(const std::string& path, int32_t structure, size_t bufferSize, DataSet& data,
            InstrumentSetup& setup, const DecodeSettings& settings) {
    EnsembleFile file(bufferSize);
    if (!file.Open(path)) std::abort();
    EnsembleFrame frame;
    frame.EnsembleBytes = 12345;
    bool valid = true;
    const YieldFn yield = [] {};
    int calls = 0;
    while (!file.AtEnd()) {
        if (++calls > 100000) std::abort(); // every call consumes at least one byte of a small input
        const int64_t before = file.NextPosition();
        const int32_t lengthBefore = frame.EnsembleBytes;
        const bool found = Get_Next_Ensemble(structure, file, frame, valid, yield);
        if (file.NextPosition() <= before && !file.AtEnd()) std::abort();
        if (!found) {
            if (frame.EnsembleBytes != lengthBefore) std::abort();
            continue;
        }
        const int32_t n = frame.EnsembleBytes;
        const auto& b = frame.EnsembleBuffer;
        if (n < 4 || b.size() != static_cast<size_t>(n) + 2) std::abort();
        const uint16_t stored = structure == kBroadband ? b[n] | (b[n + 1] << 8) : (b[n] << 8) | b[n + 1];
        if (stored != Checksum(b, n)) std::abort();
        if (structure == kBroadband && (b[0] != 0x7F || b[1] != 0x7F)) std::abort();
        if (structure == kNarrowband && b[3] != 0x3F) std::abort();
        DecodeBoth(frame, data, setup, settings, structure);
    }
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
    Search(path, kBroadband, bufferSize, data, setup, settings);
    Search(path, kNarrowband, bufferSize, data, setup, settings);

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
