#pragma once
// Where every field sits in the two ensemble formats. Broadband: the ensemble header, the data-type ids
// and the offsets of each data type's fields counted from its id (little-endian words). Narrowband: the
// block table and the leader's fields counted from the leader's first byte (big-endian words, BCD times).
// The decoders, the file-details report and the encoder all read their bytes from here.
#include <cstddef>
#include <cstdint>

namespace mvx {

namespace broadband {

// Ensemble header: 7F 7F, the length without the checksum, a spare byte, the data-type count, then one
// offset word per data type.
constexpr size_t kLengthWord = 2;
constexpr size_t kDataTypeCount = 5;
constexpr size_t kOffsetTable = 6;

constexpr uint16_t kFixedLeaderId = 0x0000;
constexpr uint16_t kVariableLeaderId = 0x0080;
constexpr uint16_t kVelocityId = 0x0100;
constexpr uint16_t kCorrelationId = 0x0200;
constexpr uint16_t kEchoIntensityId = 0x0300;
constexpr uint16_t kPercentGoodId = 0x0400;
constexpr uint16_t kBottomTrackId = 0x0600;
constexpr uint16_t kTextId = 0x0800;
constexpr uint16_t kTextAltId = 0x0703;
constexpr uint16_t kFlowMeterId = 0x1300;
constexpr uint16_t kNavigationId = 0x2000;

// Per-cell data types: from byte 2, four velocity words or four beam bytes per cell.
constexpr size_t kCellsStart = 2;
constexpr size_t kVelocityBytesPerCell = 8;
constexpr size_t kBeamBytesPerCell = 4;

namespace fixed {
constexpr size_t kFirmwareVersion = 2, kFirmwareRevision = 3, kSystemConfig = 4, kRealSimFlag = 6;
constexpr size_t kLagLength = 7, kBeams = 8, kCells = 9, kPings = 10, kCellLength = 12, kBlank = 14;
constexpr size_t kMode = 16, kCorrThreshold = 17, kCodeReps = 18, kMinPGood = 19, kErrVelMax = 20;
constexpr size_t kTimePerPing = 22; // minutes, seconds, hundredths
constexpr size_t kCoordTransform = 25, kHeadingAlignment = 26, kHeadingBias = 28, kSensorSource = 30;
constexpr size_t kSensorsAvailable = 31, kBin1Distance = 32, kXmitPulseLength = 34, kRefLayerFirst = 36;
constexpr size_t kRefLayerLast = 37, kFalseTarget = 38, kTrigger = 39, kLagDistance = 40;
constexpr size_t kCpuSerial = 42; // eight bytes
constexpr size_t kBandwidth = 50, kHighPower = 52, kSpare = 53, kSerialNumber = 54, kBeamAngle = 58;
constexpr size_t kBytes = 59; // 58 in the short leader without the beam angle
} // namespace fixed

namespace variable {
constexpr size_t kEnsembleNumber = 2; // low word; the high byte is at kEnsembleNumberHigh
constexpr size_t kClock = 4;          // year (two digits), month, day, hour, minute, second, hundredths
constexpr size_t kEnsembleNumberHigh = 11, kBitResult = 12, kSpeedOfSound = 14, kDepth = 16;
constexpr size_t kHeading = 18, kPitch = 20, kRoll = 22, kSalinity = 24, kTemperature = 26;
constexpr size_t kPrePingWait = 28; // minutes, seconds, hundredths
constexpr size_t kHeadingStd = 31, kPitchStd = 32, kRollStd = 33, kTransmitCurrent = 34;
constexpr size_t kTransmitVoltage = 35, kOtherAdc = 36, kErrorStatus = 42, kPressure = 48;
constexpr size_t kPressureVariance = 52, kCentury = 57;
constexpr size_t kCenturyClock = 58; // the clock again, after the century
constexpr size_t kBytes = 65;
} // namespace variable

namespace bottom {
constexpr size_t kPings = 2, kDelay = 4, kCorrMin = 6, kEvalMin = 7, kPGoodMin = 8, kMode = 9;
constexpr size_t kErrMax = 10;
constexpr size_t kLatitude = 12;      // in a block that carries a position
constexpr size_t kLongitudeLow = 4;   // in place of the delay
constexpr size_t kLongitudeHigh = 46; // in place of the near reference-layer boundary
constexpr size_t kRange = 16, kVelocity = 24, kCorrelation = 32, kEvalAmplitude = 36, kPercentGood = 40;
constexpr size_t kRefLayerMin = 44, kRefLayerNear = 46, kRefLayerFar = 48, kRefVelocity = 50;
constexpr size_t kRefCorrelation = 58, kRefIntensity = 62, kRefPercentGood = 66;
constexpr size_t kPositionMarker = 64; // below 4 in a block that carries a position
constexpr size_t kMaxDepth = 70, kRssiAmplitude = 72, kGain = 76;
constexpr size_t kRangeHigh = 77; // a high byte per beam
constexpr size_t kBytes = 85;
} // namespace bottom

namespace flowmeter {
constexpr size_t kDepth = 2, kVelocity1 = 8, kVelocity2 = 10, kDischargeLow = 36, kDischargeHigh = 38;
constexpr size_t kBytes = 40;
} // namespace flowmeter

namespace navigation {
constexpr size_t kDay = 2, kMonth = 3, kYear = 4, kFirstFixTime = 6, kClockOffset = 10;
constexpr size_t kFirstLatitude = 14, kFirstLongitude = 18, kLastFixTime = 22, kLastLatitude = 26;
constexpr size_t kLastLongitude = 30, kAverageSpeed = 34, kAverageTrackTrue = 36;
constexpr size_t kAverageTrackMagnetic = 38, kSpeedMadeGood = 40, kDirectionMadeGood = 42, kFlags = 46;
constexpr size_t kEnsembleNumber = 50;
constexpr size_t kBytes = 78;
} // namespace navigation

} // namespace broadband

namespace narrowband {

// The length without the checksum, then the lengths of the five blocks (leader, velocity, spectrum, AGC,
// percent good); the first present block starts at kFirstBlock.
constexpr size_t kLengthWord = 0;
constexpr size_t kBlockLengths = 2;
constexpr int kBlockCount = 5;
constexpr size_t kFirstBlock = 14;
constexpr size_t kVelocityBytesPerCell = 6; // four 12-bit counts
constexpr size_t kBeamBytesPerCell = 4;

namespace leader {
constexpr size_t kClock = 0;       // month, day, hour, minute, second (BCD)
constexpr size_t kTimePerPing = 5; // minutes, seconds, hundredths (BCD)
constexpr size_t kPings = 8, kCells = 10, kCellLengthCode = 11, kXmitLength = 12, kBlank = 13, kDelay = 14;
constexpr size_t kEnsembleNumber = 15, kBitResult = 17, kConfig = 18, kSignalToNoise = 19;
constexpr size_t kPGoodThreshold = 20, kPitch = 21, kRoll = 23, kHeading = 25, kTemperature = 27;
constexpr size_t kXmitVoltage = 29;
constexpr size_t kBottomVelocity = 41; // four 12-bit counts
constexpr size_t kBottomRange = 47;    // four words
constexpr size_t kBytes = 0x3F;        // its length's low byte is the sync byte of the framing
} // namespace leader

} // namespace narrowband

} // namespace mvx
