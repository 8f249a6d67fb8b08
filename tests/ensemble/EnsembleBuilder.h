#pragma once
// Hand-built ensembles for the framing and decoder tests: each data type is laid out byte by byte from
// the field values the test names, so a test states its input rather than copying bytes.
#include "ensemble/EnsembleFrame.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mvx::test {

using Bytes = std::vector<uint8_t>;

void PutLE16(Bytes& b, size_t at, uint32_t v);
void PutLE32(Bytes& b, size_t at, uint32_t v);
void PutBE16(Bytes& b, size_t at, uint32_t v);
void Append(Bytes& to, const Bytes& from);

struct FixedLeaderFields {
    uint8_t Version = 51, Revision = 41;
    uint16_t SystemConfig = 0x4A41; // 600 kHz, convex, down-looking (bit 7 clear)
    uint8_t NumCells = 3;
    uint16_t Pings = 50;
    uint16_t CellLengthCm = 100;
    uint8_t TimePerPing[3] = {0, 1, 20};
    uint8_t CoordTransform = 0x1F;
    uint16_t Bin1Cm = 209;
    uint16_t XmitCm = 113;
    uint16_t LagCm = 49;
    uint8_t BeamAngle = 20;
    size_t Length = 59; // the data type is cut to this many bytes (fields beyond are lost)
};
Bytes FixedLeader(const FixedLeaderFields& f);

struct VariableLeaderFields {
    uint32_t EnsembleNumber = 1; // 24 bits: bytes 2, 3 and 11
    std::array<uint8_t, 7> Time{17, 5, 24, 11, 50, 13, 40};
    uint16_t Bit = 0;
    uint16_t DepthDm = 0;
    uint16_t Heading = 19538;
    int16_t Pitch = 292, Roll = -128;
    uint16_t Salinity = 35;
    int16_t Temperature = 729;
    uint8_t XmitVoltage = 150;
    uint32_t Pressure = 0;
    size_t Length = 65;
};
Bytes VariableLeader(const VariableLeaderFields& f);

// Velocity words, four per cell (cell 0 first).
Bytes Velocity(const std::vector<std::array<uint16_t, 4>>& cells);
// Correlation (0x0200), echo intensity (0x0300) or percent good (0x0400): four bytes per cell.
Bytes BeamBytes(uint16_t id, const std::vector<std::array<uint8_t, 4>>& cells);

struct BottomTrackFields {
    uint16_t Pings = 1, Delay = 0x1234;
    uint8_t CorrMin = 220, EvalMin = 1, PGoodMin = 0, Mode = 5;
    uint16_t ErrMax = 1000;
    std::array<uint16_t, 4> Range{1000, 1100, 1200, 1300};
    std::array<uint16_t, 4> Vel{100, 0xFF9C, 0x8000, 0};
    uint32_t Lat = 0;
    uint16_t LonHigh = 0;
    std::array<uint16_t, 4> RefVel{10, 20, 0x8000, 0xFFF6};
    uint16_t MaxDepth = 999;
    std::array<uint8_t, 4> RangeHigh{0, 1, 2, 3};
    size_t Length = 85;
};
Bytes BottomTrack(const BottomTrackFields& f);

struct NavigationFields {
    int32_t FirstLat = 0, FirstLon = 0, LastLat = 0, LastLon = 0;
    uint16_t Speed = 0, Direction = 0;
    size_t Length = 78;
};
Bytes Navigation(const NavigationFields& f);

Bytes TextBlock(uint16_t id, const std::string& text, bool terminate = true);

struct FlowMeterFields {
    uint16_t Depth = 0, VelA = 0, VelB = 0, QLow = 0, QHigh = 0;
};
Bytes FlowMeter(const FlowMeterFields& f);

// A whole broadband ensemble: header, offset table, the data types in order, checksum.
Bytes Broadband(const std::vector<Bytes>& dataTypes);
// The same with the offset table given explicitly (count entries, data types laid out in order).
Bytes BroadbandWithOffsets(const std::vector<Bytes>& dataTypes, const std::vector<uint16_t>& offsets);
// Recomputes the little-endian checksum after a test edited the bytes.
void FixBroadbandChecksum(Bytes& ensemble);

// A small valid broadband ensemble numbered `number` with `cells` cells (leaders and velocity).
Bytes SimpleBroadband(uint32_t number, uint8_t cells = 3);

struct NarrowbandLeaderFields {
    std::array<uint8_t, 5> TimeBcd{0x06, 0x23, 0x14, 0x59, 0x07}; // month, day, hour, minute, second
    std::array<uint8_t, 3> PingTimeBcd{0x00, 0x02, 0x50};
    uint16_t Pings = 100;
    uint8_t NumCells = 3;
    uint8_t CellCode = 2; // 4 m
    uint8_t Xmit = 4, Blank = 2, Delay = 1;
    uint16_t EnsembleNumber = 7;
    uint8_t Bit = 0;
    uint8_t Config = 0x80;
    int16_t Pitch = 0, Roll = 0;
    uint16_t Heading = 0;
    uint16_t TempCount = 2048; // 20.00 degC
    uint8_t XmitVoltage = 99;
    std::array<uint16_t, 4> BTCounts{2048, 2048, 2048, 2048};
    std::array<uint16_t, 4> BTRange{0, 0, 0, 0};
};
Bytes NarrowbandLeader(const NarrowbandLeaderFields& f); // 63 bytes, so ensemble byte 3 is 0x3F
// Six bytes per cell, four 12-bit counts each.
Bytes NarrowbandVelocity(const std::vector<std::array<uint16_t, 4>>& cells);
Bytes NarrowbandBeamBytes(const std::vector<std::array<uint8_t, 4>>& cells);
// A whole narrowband ensemble from its five blocks (an empty block is absent).
Bytes Narrowband(const Bytes& leader, const Bytes& velocity, const Bytes& spectrum, const Bytes& agc,
                 const Bytes& percentGood);
Bytes SimpleNarrowband(uint16_t number);

EnsembleFrame FrameOf(const Bytes& ensemble, bool narrowband = false);
// Writes bytes to a fresh scratch file and returns its path.
std::string WriteScratch(const Bytes& bytes, const std::string& name = "ens.bin");

} // namespace mvx::test
