#pragma once
// A deliberately plain reading of simulated files for the tests: walks a file whose layout is known
// (ensembles of one length separated by a known number of stray bytes) and reads fields by offset,
// without any of the program's readers or the generator's code.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mvx::test {

inline uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint16_t Be16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

inline uint16_t ByteSum(const uint8_t* p, size_t n) {
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i) sum += p[i];
    return static_cast<uint16_t>(sum);
}

// One ensemble inside a file buffer.
struct RawEnsemble {
    const uint8_t* Bytes = nullptr;
    size_t Start = 0;  // offset in the file
    size_t Length = 0; // N, bytes without the checksum
    bool ChecksumOk = false;

    // Broadband: offset of the data type with this id, or -1.
    long Find(uint16_t id) const {
        for (int i = 0; i < Bytes[5]; ++i) {
            const size_t at = Le16(Bytes + 6 + 2 * i);
            if (at + 2 <= Length && Le16(Bytes + at) == id) return static_cast<long>(at);
        }
        return -1;
    }
};

// Splits a broadband or narrowband file made of ensembles with `stray` bytes between consecutive ones.
// Stops (returning what it has) when a length does not fit the file.
inline std::vector<RawEnsemble> SplitFile(const std::vector<uint8_t>& file, size_t stray, bool narrowband) {
    std::vector<RawEnsemble> out;
    size_t at = 0;
    while (at + 4 <= file.size()) {
        RawEnsemble e;
        e.Bytes = file.data() + at;
        e.Start = at;
        e.Length = narrowband ? Be16(e.Bytes) : Le16(e.Bytes + 2);
        if (e.Length < 4 || at + e.Length + 2 > file.size()) break;
        const uint16_t stored = narrowband ? Be16(e.Bytes + e.Length) : Le16(e.Bytes + e.Length);
        e.ChecksumOk = ByteSum(e.Bytes, e.Length) == stored;
        out.push_back(e);
        at += e.Length + 2 + stray;
    }
    return out;
}

} // namespace mvx::test
