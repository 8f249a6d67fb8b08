#pragma once
// Building the bytes of one ensemble from plain values. EnsembleContents holds every value an ensemble
// can carry, as the raw numbers written to the file (scaled integers, binary angles, raw velocity words);
// the encoders lay them out exactly as an instrument does and close the ensemble with its checksum.
// The encoders do not check the values against each other: a fixed leader may announce more cells than
// the per-cell arrays hold, which is how tests make inconsistent ensembles on purpose.
#include "ensemble/EnsembleLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

constexpr uint16_t kBadVelocityWord = 0x8000;  // broadband: a velocity that could not be measured
constexpr uint16_t kBadNarrowbandCount = 2048; // narrowband: the 12-bit bad marker

// Fixed leader (offsets from its identifier). Distances and lengths in cm.
struct FixedLeaderContents {
    uint8_t FirmwareVersion = 51;       // 2
    uint8_t FirmwareRevision = 41;      // 3
    uint16_t SystemConfig = 0x414B;     // 4-5: 614.4 kHz, convex, head attached, down, 20 deg, 4-beam
    uint8_t RealSimFlag = 0;            // 6: 0 real data
    uint8_t LagLength = 53;             // 7
    uint8_t NumBeams = 4;               // 8
    uint8_t NumCells = 30;              // 9
    uint16_t PingsPerEnsemble = 60;     // 10-11
    uint16_t CellLength = 100;          // 12-13
    uint16_t Blank = 88;                // 14-15
    uint8_t ProfilingMode = 1;          // 16
    uint8_t CorrThreshold = 64;         // 17
    uint8_t CodeReps = 5;               // 18
    uint8_t PGoodMin = 0;               // 19
    uint16_t ErrVelMax = 2000;          // 20-21, mm/s
    uint8_t TimePerPing[3] = {0, 1, 0}; // 22-24: minutes, seconds, hundredths
    uint8_t CoordTransform = 0x1F;      // 25
    int16_t HeadingAlignment = 0;       // 26-27, 0.01 deg
    int16_t HeadingBias = 0;            // 28-29, 0.01 deg
    uint8_t SensorSource = 0x7D;        // 30
    uint8_t SensorsAvailable = 0x3D;    // 31
    uint16_t Bin1Distance = 200;        // 32-33
    uint16_t XmitPulseLength = 118;     // 34-35
    uint8_t RefLayerFirst = 1;          // 36
    uint8_t RefLayerLast = 5;           // 37
    uint8_t FalseTargetThreshold = 50;  // 38
    uint8_t Trigger = 0;                // 39
    uint16_t LagDistance = 24;          // 40-41
    uint8_t CpuSerial[8] = {0x2A, 0x00, 0x00, 0x06, 0xFE, 0xE8, 0xA5, 0x09}; // 42-49
    uint16_t Bandwidth = 0;                                                  // 50-51
    uint8_t HighPower = 255;                                                 // 52
    uint8_t Spare53 = 0;                                                     // 53
    uint32_t SerialNumber = 18655;                                           // 54-57
    uint8_t BeamAngle = 20;   // 58, degrees; absent from the short leader
    bool ShortLeader = false; // write 58 bytes (no beam-angle byte)
};

// Variable leader (offsets from its identifier).
struct VariableLeaderContents {
    uint32_t EnsembleNumber = 1; // 2-3 low word, 11 high byte (24 bits)
    uint8_t Year = 26;           // 4: two digits
    uint8_t Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0, Hundredths = 0; // 5..10
    uint16_t BitResult = 0;                                                       // 12-13
    uint16_t SpeedOfSound = 1500;                                                 // 14-15, m/s
    uint16_t DepthDm = 0;                              // 16-17, transducer depth, dm
    uint16_t Heading = 0;                              // 18-19, 0.01 deg
    int16_t Pitch = 0;                                 // 20-21, 0.01 deg
    int16_t Roll = 0;                                  // 22-23, 0.01 deg
    uint16_t Salinity = 35;                            // 24-25, ppt
    int16_t Temperature = 1200;                        // 26-27, 0.01 deg C
    uint8_t MinPrePingWait[3] = {0, 0, 0};             // 28-30: minutes, seconds, hundredths
    uint8_t HeadingStd = 0, PitchStd = 0, RollStd = 0; // 31-33
    uint8_t TransmitCurrent = 0;                       // 34
    uint8_t TransmitVoltage = 150;                     // 35, the battery count
    uint8_t OtherAdc[6] = {0, 0, 0, 0, 0, 0};          // 36-41
    uint32_t ErrorStatus = 0;                          // 42-45
    uint32_t Pressure = 0;                             // 48-51, decapascal
    uint32_t PressureVariance = 0;                     // 52-55
    uint8_t Century = 20;                              // 57; 58..64 repeat the clock with the century
};

// Bottom-track block (offsets from its identifier).
struct BottomTrackContents {
    uint16_t Pings = 1;              // 2-3
    uint16_t Delay = 0;              // 4-5
    uint8_t CorrMin = 220;           // 6
    uint8_t EvalMin = 30;            // 7
    uint8_t PGoodMin = 0;            // 8
    uint8_t Mode = 5;                // 9
    uint16_t ErrMax = 1000;          // 10-11, mm/s
    std::array<uint32_t, 4> Range{}; // cm: low words at 16 + 2b, high bytes at 77 + b
    std::array<uint16_t, 4> Velocity{kBadVelocityWord, kBadVelocityWord, kBadVelocityWord,
                                     kBadVelocityWord};              // 24
    std::array<uint8_t, 4> Correlation{};                            // 32
    std::array<uint8_t, 4> EvalAmplitude{};                          // 36
    std::array<uint8_t, 4> PercentGood{};                            // 40
    uint16_t RefLayerMin = 20, RefLayerNear = 50, RefLayerFar = 100; // 44-45, 46-47, 48-49, dm
    std::array<uint16_t, 4> RefVelocity{kBadVelocityWord, kBadVelocityWord, kBadVelocityWord,
                                        kBadVelocityWord}; // 50
    std::array<uint8_t, 4> RefCorrelation{};               // 58
    std::array<uint8_t, 4> RefIntensity{};   // 62; byte 64 (beam 2) below 4 marks a block with a position
    std::array<uint8_t, 4> RefPercentGood{}; // 66
    uint16_t MaxDepth = 900;                 // 70-71, dm
    std::array<uint8_t, 4> RssiAmplitude{};  // 72
    uint8_t Gain = 0;                        // 76
    // A block that carries a position: latitude at 12-15, longitude low word at 4-5 (in place of the
    // delay) and high word at 46-47 (in place of the near reference-layer boundary), marker at byte 64.
    bool CarriesPosition = false;
    int32_t Latitude = 0, Longitude = 0; // binary angles (degrees = value x 180 / 2^31)
    uint8_t PositionMarker = 0;
};

// Flow-meter block (offsets from its identifier).
struct FlowMeterContents {
    uint16_t Depth = 0;     // 2-3, 0.1 mm
    uint16_t Velocity1 = 0; // 8-9, mm/s
    uint16_t Velocity2 = 0; // 10-11, mm/s
    uint32_t Discharge = 0; // 36-37 low word, 38-39 high word, 1e-6 m3/s
};

// Navigation block (offsets from its identifier). Times in 0.1 ms since midnight.
struct NavigationContents {
    uint8_t Day = 1, Month = 1;        // 2, 3
    uint16_t Year = 2026;              // 4-5
    uint32_t FirstFixTime = 0;         // 6-9
    int32_t ClockOffset = 0;           // 10-13, ms
    int32_t FirstLatitude = 0;         // 14-17, binary angle
    int32_t FirstLongitude = 0;        // 18-21
    uint32_t LastFixTime = 0;          // 22-25
    int32_t LastLatitude = 0;          // 26-29
    int32_t LastLongitude = 0;         // 30-33
    uint16_t AverageSpeed = 0;         // 34-35, mm/s
    uint16_t AverageTrackTrue = 0;     // 36-37, x 360 / 65536 deg
    uint16_t AverageTrackMagnetic = 0; // 38-39
    uint16_t SpeedMadeGood = 0;        // 40-41, mm/s
    uint16_t DirectionMadeGood = 0;    // 42-43, x 360 / 65536 deg
    uint16_t Flags = 0;                // 46-47
    uint32_t EnsembleNumber = 0;       // 50-53
};

// Values only the narrowband leader carries (offsets from the leader's first byte); the rest of the
// narrowband leader comes from the fixed and variable leader structs (time, time per ping, pings, cells,
// ensemble number, built-in test, transmit voltage).
struct NarrowbandLeaderContents {
    uint8_t BinLengthCode = 0;     // 11: cell length 2^code m
    uint8_t TransmitLength = 1;    // 12, m
    uint8_t Blank = 1;             // 13, m
    uint8_t Delay = 0;             // 14, m
    uint8_t ConfigByte = 0xA6;     // 18
    uint8_t SignalToNoise = 30;    // 19, 0.1 dB
    uint8_t PGoodThreshold = 25;   // 20
    uint16_t PitchWord = 0;        // 21-22, signed, x 36000 / 65536 = 0.01 deg
    uint16_t RollWord = 0;         // 23-24
    uint16_t HeadingWord = 0;      // 25-26
    uint16_t TemperatureCount = 0; // 27-28: T = 45 - count x 50 / 4096 deg C
    std::array<uint16_t, 4> BTVelocity{kBadNarrowbandCount, kBadNarrowbandCount, kBadNarrowbandCount,
                                       kBadNarrowbandCount}; // 41..46, 12-bit counts
    std::array<uint16_t, 4> BTRange{};                       // 47..54, words
};

struct EnsembleContents {
    // Which data types (broadband) or blocks (narrowband) are present. Narrowband always has its
    // leader; velocity, correlation (spectrum), echo (AGC) and percent good are its other four blocks.
    bool HasFixedLeader = true;
    bool HasVariableLeader = true;
    bool HasVelocity = true;
    bool HasCorrelation = true;
    bool HasEcho = true;
    bool HasPercentGood = true;
    bool HasBottomTrack = false;
    bool HasText = false;
    bool HasFlowMeter = false;
    bool HasNavigation = false;
    uint16_t TextId = broadband::kTextId; // or broadband::kTextAltId

    FixedLeaderContents Fixed;
    VariableLeaderContents Variable;
    // Per cell (cell 0 nearest the transducer), per beam or component, as written: broadband 16-bit
    // words (kBadVelocityWord = bad), narrowband 12-bit counts (kBadNarrowbandCount = bad).
    std::vector<std::array<uint16_t, 4>> Velocity;
    std::vector<std::array<uint8_t, 4>> Correlation;
    std::vector<std::array<uint8_t, 4>> Echo;
    std::vector<std::array<uint8_t, 4>> PercentGood;
    BottomTrackContents BottomTrack;
    std::string Text; // written with a terminating zero, padded to an even length
    FlowMeterContents FlowMeter;
    NavigationContents Navigation;
    NarrowbandLeaderContents Narrowband;
    // Zero bytes after the last data type or block, before the checksum (narrowband: counted in the
    // last block's length, and not written when the leader is the only block), so a generator can keep
    // length bytes away from sync values.
    size_t PadBytes = 0;
};

// The 16-bit sum of bytes [0, n) that closes every ensemble.
uint16_t EnsembleChecksum(const uint8_t* bytes, size_t n);

// The whole broadband ensemble: 7F 7F, N (little-endian), a spare byte, the data-type count, the offset
// table (fixed leader first), the data types in the order fixed leader, variable leader, velocity,
// correlation, echo intensity, percent good, bottom track, text, flow meter, navigation, then the
// checksum (little-endian) at N. Returns N + 2 bytes.
std::vector<uint8_t> EncodeBroadband(const EnsembleContents& contents);

// The whole narrowband ensemble: N (big-endian), the five block lengths at 2..11 (leader, velocity,
// spectrum, AGC, percent good; 0 for an absent block), the blocks from byte 14, the checksum
// (big-endian) at N. Velocities are packed as 12-bit counts, 6 bytes per cell; the time stamp and the
// time per ping are written as BCD; the narrowband leader has no year.
std::vector<uint8_t> EncodeNarrowband(const EnsembleContents& contents);

// BCD byte of 0..99 (0x59 for 59).
uint8_t ToBcd(int value);

} // namespace mvx
