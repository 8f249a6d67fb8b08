#pragma once
// The bytes of the current ensemble, including its two checksum bytes.
#include <cstdint>
#include <vector>

namespace mvx {

struct EnsembleFrame {
    std::vector<uint8_t> EnsembleBuffer; // indices 0 .. EnsembleBytes + 1
    int32_t EnsembleBytes = 0;           // N: bytes without the checksum
};

// File data structure codes.
enum DataStructureCode : int32_t { kStructureUnknown = 0, kNarrowband = 1, kBroadband = 2 };

} // namespace mvx
