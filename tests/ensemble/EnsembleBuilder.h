#pragma once
// Hand-built ensembles for the framing and decoder tests: each data type is laid out byte by byte from
// the field values a test names, so a test states its input rather than copying bytes.
#include "model/EnsembleFrame.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx::test {

using Bytes = std::vector<uint8_t>;
using Words4 = std::vector<std::array<uint16_t, 4>>; // four words (or 12-bit counts) per cell
using Bytes4 = std::vector<std::array<uint8_t, 4>>;  // four bytes per cell

void PutLE16(Bytes& b, size_t at, uint32_t v);
void PutBE16(Bytes& b, size_t at, uint32_t v);
Bytes Concat(std::initializer_list<Bytes> parts);

// Every data type is laid out at its full size and then cut to Length (fields beyond are lost).
struct FixedLeaderFields {
    uint8_t Version = 51, Revision = 41;
    uint16_t SystemConfig = 0x4A41; // bit 7 clear: down-looking
    uint8_t NumCells = 3;
    uint16_t Pings = 50, CellLengthCm = 100, Bin1Cm = 209, XmitCm = 113, LagCm = 49;
    uint8_t CoordTransform = 0x1F, BeamAngle = 20;
    size_t Length = 59;
};
struct VariableLeaderFields {
    uint32_t EnsembleNumber = 1; // 24 bits: bytes 2, 3 and 11
    std::array<uint8_t, 7> Time{17, 5, 24, 11, 50, 13, 40};
    uint16_t Bit = 0, DepthDm = 0, Heading = 19538, Salinity = 35;
    int16_t Pitch = 292, Roll = -128, Temperature = 729;
    uint8_t XmitVoltage = 150;
    uint32_t Pressure = 0;
    size_t Length = 65;
};
struct BottomTrackFields {
    uint16_t Delay = 0x1234;
    std::array<uint16_t, 4> Range{1000, 1100, 1200, 1300}, Vel{100, 0xFF9C, 0x8000, 0},
        RefVel{10, 20, 0x8000, 0xFFF6};
    std::array<uint8_t, 4> RangeHigh{0, 1, 2, 3};
    uint32_t Lat = 0;
    uint16_t LonHigh = 0;
    size_t Length = 85;
};
struct NavigationFields {
    int32_t FirstLat = 0, FirstLon = 0, LastLat = 0, LastLon = 0;
    uint16_t Speed = 0, Direction = 0;
    size_t Length = 78;
};

Bytes FixedLeader(const FixedLeaderFields& f);
Bytes VariableLeader(const VariableLeaderFields& f);
Bytes BottomTrack(const BottomTrackFields& f);
Bytes Navigation(const NavigationFields& f);
Bytes Velocity(const Words4& cells);
Bytes BeamBytes(uint16_t id, const Bytes4& cells); // 0x0200, 0x0300 or 0x0400
Bytes TextBlock(uint16_t id, const std::string& text, bool terminate = true);
Bytes FlowMeter(uint16_t depth, uint16_t velA, uint16_t velB, uint16_t qLow, uint16_t qHigh);

// A whole broadband ensemble: header, offset table (given, or following the data types), checksum.
Bytes Broadband(const std::vector<Bytes>& dataTypes, std::vector<uint16_t> offsets = {});
// A small valid ensemble numbered `number` with leaders and `cells` cells of velocity.
Bytes SimpleBroadband(uint32_t number, uint8_t cells = 3);

struct NarrowbandLeaderFields {
    std::array<uint8_t, 5> TimeBcd{0x06, 0x23, 0x14, 0x59, 0x07}; // month, day, hour, minute, second
    uint8_t NumCells = 3, CellCode = 2, Xmit = 4, Blank = 2, Delay = 1, Bit = 0, Config = 0x80,
            XmitVoltage = 99;
    uint16_t EnsembleNumber = 7, Heading = 0, TempCount = 2048; // 2048: 20.00 degC
    int16_t Pitch = 0, Roll = 0;
    std::array<uint16_t, 4> BTCounts{2048, 2048, 2048, 2048}, BTRange{0, 0, 0, 0};
};
Bytes NarrowbandLeader(const NarrowbandLeaderFields& f); // 63 bytes, so ensemble byte 3 is 0x3F
Bytes NarrowbandVelocity(const Words4& counts);          // six bytes per cell, four 12-bit counts
Bytes NarrowbandBeamBytes(const Bytes4& cells);
// A whole narrowband ensemble from its five blocks (an empty block is absent).
Bytes Narrowband(const Bytes& leader, const Bytes& velocity, const Bytes& spectrum = {},
                 const Bytes& agc = {}, const Bytes& percentGood = {});
Bytes SimpleNarrowband(uint16_t number);

EnsembleFrame FrameOf(const Bytes& ensemble, bool narrowband = false);
// Writes bytes to a fresh scratch file and returns its path.
std::string WriteScratch(const Bytes& bytes);

} // namespace mvx::test
