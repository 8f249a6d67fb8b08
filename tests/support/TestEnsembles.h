#pragma once
// Hand-built ensembles for tests: a broadband ensemble with fixed leader, variable leader, velocity,
// correlation, echo intensity and percent good (optionally padded to an exact length), a broadband
// set-up block of the kind some instruments write into their files, and a narrowband ensemble. Every
// field is written where the ensemble layout puts it, independently of the program's decoders.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mvx::test {

struct BroadbandSpec {
    int32_t Number = 1;
    uint8_t Time[7] = {26, 6, 14, 12, 0, 0, 0}; // yy mm dd hh mm ss hundredths
    int Cells = 4;
    int CellSizeCm = 50;
    int FirstBinCm = 200;
    bool UpLooking = true;
    int FrequencyCode = 3; // 614.4 kHz
    bool BeamCoordinates = false;
    int Pings = 50;
    uint8_t TimePerPing[3] = {0, 1, 20};
    uint16_t Heading = 0; // 0.01 deg; tests use it to mark an ensemble
    int16_t Velocity = 100;
    int16_t ErrorVelocity = 10;
    int TargetBytes = 0; // N (without checksum); 0 = as short as the data types allow
};

inline void PutLE16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

// Closes a broadband ensemble of N bytes with its little-endian checksum.
inline void CloseBroadband(std::vector<uint8_t>& b) {
    const size_t n = b.size();
    PutLE16(b, 2, static_cast<uint32_t>(n));
    uint32_t sum = 0;
    for (uint8_t x : b) sum += x;
    b.push_back(static_cast<uint8_t>(sum & 0xFF));
    b.push_back(static_cast<uint8_t>((sum >> 8) & 0xFF));
}

inline std::vector<uint8_t> BuildBroadband(const BroadbandSpec& s) {
    const int types = 6;
    const size_t fixedLen = 60, varLen = 66, velLen = 2 + 8 * s.Cells, perBeamLen = 2 + 4 * s.Cells;
    const size_t lengths[types] = {fixedLen, varLen, velLen, perBeamLen, perBeamLen, perBeamLen};
    size_t total = 6 + 2 * types;
    for (size_t len : lengths) total += len;
    std::vector<uint8_t> b(std::max(total, static_cast<size_t>(std::max(s.TargetBytes, 0))), 0);
    b[0] = b[1] = 0x7F;
    b[5] = types;
    size_t next = 6 + 2 * types;
    auto addType = [&](int index, size_t length) {
        const size_t at = next;
        PutLE16(b, 6 + 2 * index, static_cast<uint32_t>(at));
        next += length;
        return at;
    };
    // Fixed leader.
    size_t f = addType(0, fixedLen);
    PutLE16(b, f, 0x0000);
    b[f + 2] = 51;
    b[f + 3] = 41;
    const uint32_t config = 0x4000 | (1u << 8) | 0x08 | (s.UpLooking ? 0x80 : 0) | (s.FrequencyCode & 7);
    PutLE16(b, f + 4, config);
    b[f + 8] = 4;
    b[f + 9] = static_cast<uint8_t>(s.Cells);
    PutLE16(b, f + 10, static_cast<uint32_t>(s.Pings));
    PutLE16(b, f + 12, static_cast<uint32_t>(s.CellSizeCm));
    b[f + 22] = s.TimePerPing[0];
    b[f + 23] = s.TimePerPing[1];
    b[f + 24] = s.TimePerPing[2];
    b[f + 25] = s.BeamCoordinates ? 0x07 : 0x1F;
    PutLE16(b, f + 32, static_cast<uint32_t>(s.FirstBinCm));
    PutLE16(b, f + 34, 50);
    PutLE16(b, f + 40, 25);
    b[f + 58] = 20;
    // Variable leader.
    size_t v = addType(1, varLen);
    PutLE16(b, v, 0x0080);
    PutLE16(b, v + 2, static_cast<uint32_t>(s.Number & 0xFFFF));
    for (int i = 0; i < 7; ++i) b[v + 4 + i] = s.Time[i];
    b[v + 11] = static_cast<uint8_t>((s.Number >> 16) & 0xFF);
    PutLE16(b, v + 18, s.Heading);
    PutLE16(b, v + 26, 1500); // 15.00 degC
    // Velocity: beams 0..2 carry Velocity, beam 3 (the error velocity in earth data) ErrorVelocity.
    size_t w = addType(2, velLen);
    PutLE16(b, w, 0x0100);
    for (int c = 0; c < s.Cells; ++c)
        for (int beam = 0; beam < 4; ++beam)
            PutLE16(b, w + 2 + 8 * c + 2 * beam,
                    static_cast<uint16_t>(beam == 3 ? s.ErrorVelocity : s.Velocity));
    const uint16_t ids[3] = {0x0200, 0x0300, 0x0400};
    const uint8_t fill[3] = {120, 80, 100};
    for (int t = 0; t < 3; ++t) {
        size_t at = addType(3 + t, perBeamLen);
        PutLE16(b, at, ids[t]);
        for (size_t i = at + 2; i < at + perBeamLen; ++i) b[i] = fill[t];
    }
    CloseBroadband(b);
    return b;
}

// A set-up block: two data types and more than 8000 bytes.
inline std::vector<uint8_t> BuildNvramBlock(int bytes) {
    std::vector<uint8_t> b(static_cast<size_t>(bytes), 0x11);
    b[0] = b[1] = 0x7F;
    b[4] = 0;
    b[5] = 2;
    PutLE16(b, 6, 10);
    PutLE16(b, 8, 100);
    PutLE16(b, 10, 0x4455);
    PutLE16(b, 100, 0x4321);
    CloseBroadband(b);
    return b;
}

struct NarrowbandSpec {
    int32_t Number = 1;
    uint8_t TimeBcd[5] = {0x06, 0x25, 0x10, 0x00, 0x00}; // month day hour minute second
    int Cells = 8;
    int BinLengthCode = 0; // 2^L m
    int XmitLength = 3, Blank = 1, Delay = 0;
    int FrequencyCode = 5; // C bits 4..6
    bool UpLooking = true;
};

inline std::vector<uint8_t> BuildNarrowband(const NarrowbandSpec& s) {
    const size_t leader = 0x3F, vel = 6 * static_cast<size_t>(s.Cells);
    std::vector<uint8_t> b(14 + leader + vel, 0);
    auto be16 = [&](size_t at, uint32_t v) {
        b[at] = static_cast<uint8_t>((v >> 8) & 0xFF);
        b[at + 1] = static_cast<uint8_t>(v & 0xFF);
    };
    be16(2, leader);
    be16(4, static_cast<uint32_t>(vel));
    const size_t p = 14;
    for (int i = 0; i < 5; ++i) b[p + i] = s.TimeBcd[i];
    b[p + 5] = 0x00;
    b[p + 6] = 0x02;
    b[p + 7] = 0x50;
    be16(p + 8, 100);
    b[p + 10] = static_cast<uint8_t>(s.Cells);
    b[p + 11] = static_cast<uint8_t>(s.BinLengthCode);
    b[p + 12] = static_cast<uint8_t>(s.XmitLength);
    b[p + 13] = static_cast<uint8_t>(s.Blank);
    b[p + 14] = static_cast<uint8_t>(s.Delay);
    be16(p + 15, static_cast<uint32_t>(s.Number));
    b[p + 18] = static_cast<uint8_t>(0x80 | ((s.FrequencyCode & 7) << 4) | (s.UpLooking ? 0 : 0x04));
    be16(p + 27, 2048);
    // Velocities: every 12-bit count 0x010 (16 counts).
    for (int c = 0; c < s.Cells; ++c) {
        const size_t q = p + leader + 6 * static_cast<size_t>(c);
        const uint8_t pattern[6] = {0x01, 0x00, 0x10, 0x01, 0x00, 0x10};
        for (int i = 0; i < 6; ++i) b[q + i] = pattern[i];
    }
    const size_t n = b.size();
    be16(0, static_cast<uint32_t>(n));
    uint32_t sum = 0;
    for (uint8_t x : b) sum += x;
    b.push_back(static_cast<uint8_t>((sum >> 8) & 0xFF));
    b.push_back(static_cast<uint8_t>(sum & 0xFF));
    return b;
}

// Builds a file of consecutive broadband ensembles numbered first..last (step of interval seconds
// from the start time it describes), the heading of each set to its number x 10 so a test can tell which one
// a slot holds.
inline std::vector<uint8_t> BuildBroadbandRun(BroadbandSpec spec, int32_t first, int32_t last,
                                              int intervalSeconds = 1) {
    std::vector<uint8_t> out;
    const int start = spec.Time[3] * 3600 + spec.Time[4] * 60 + spec.Time[5];
    for (int32_t k = first; k <= last; ++k) {
        const int t = (start + (k - first) * intervalSeconds) % 86400;
        spec.Number = k;
        spec.Time[3] = static_cast<uint8_t>(t / 3600);
        spec.Time[4] = static_cast<uint8_t>(t / 60 % 60);
        spec.Time[5] = static_cast<uint8_t>(t % 60);
        spec.Heading = static_cast<uint16_t>(k * 10);
        auto e = BuildBroadband(spec);
        out.insert(out.end(), e.begin(), e.end());
    }
    return out;
}

} // namespace mvx::test
