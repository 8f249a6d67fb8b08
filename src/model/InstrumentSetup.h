#pragma once
// The set-up values of the last decoded ensemble and the once-per-ensemble flags. One instance per
// application (or per file-details report); every decode overwrites what its data types carry.
#include <cstdint>

namespace mvx {

struct InstrumentSetup {
    int32_t DataTypeCount = 0;
    double FirmwareVersion = 0;
    bool FlowMeterFirmware = false;
    int32_t SystemConfig = 0;
    int32_t NumCells = 0;
    int32_t PingsPerEnsemble = 0;
    double CellLength = 0;
    double CellLengthCos20x10 = 0;
    double CellLengthCos30x20 = 0;
    uint8_t CoordTransform = 0;
    uint8_t TimePerPing[3] = {0, 0, 0}; // minutes, seconds, hundredths
    double Bin1Distance = 0;
    double Bin1DistanceCos20x10 = 0;
    double Bin1DistanceCos30x20 = 0;
    double XmitPulseLength = 0;
    double XmitLagDistance = 0;
    // Beam angle in whole degrees from the fixed leader (byte 58) when the leader carries it, else 0.
    int32_t BeamAngleFromLeader = 0;
    int32_t EnsembleNumber = 0;
    int32_t PressureDepthCount = 0;

    int32_t BTPings = 0, BTDelay = 0, BTCorrMin = 0, BTEvalMin = 0, BTPGoodMin = 0, BTMode = 0, BTErrMax = 0,
            BTMaxDepth = 0;

    // Narrowband only.
    double NBVelResolution = 0;
    double NBRangeFactor = 153600.0 / 1475.1;

    // Which data types the last ensemble carried; cleared at the start of every decode.
    bool FixedLeaderSeen = false;
    bool VariableLeaderSeen = false;
    bool VelocitySeen = false;
    bool CorrelationSeen = false;
    bool IntensitySeen = false;
    bool PercentGoodSeen = false;
    bool BottomTrackSeen = false;
    bool TextBlockSeen = false;
    bool FlowMeterSeen = false;
    bool NavigationSeen = false;

    void ClearSeenFlags() {
        FixedLeaderSeen = VariableLeaderSeen = VelocitySeen = CorrelationSeen = IntensitySeen = false;
        PercentGoodSeen = BottomTrackSeen = TextBlockSeen = FlowMeterSeen = NavigationSeen = false;
    }
    bool LooksUp() const { return (SystemConfig & 0x80) != 0; }
};

} // namespace mvx
