// The file-details report's own leader decoders: every set-up field of the leaders, read from ensembles
// that may be short (fields outside the ensemble read as 0), and never the data set.
#include "common/EnsembleTimeText.h"
#include "ensemble/DecoderDetail.h"
#include "ensemble/EnsembleLayout.h"
#include "ensemble/FileDetails.h"

namespace mvx {

namespace {

namespace fl = broadband::fixed;
namespace vl = broadband::variable;
namespace nl = narrowband::leader;

// Reads of leader fields that may lie outside a short ensemble: those read as 0.
class LeaderReads {
  public:
    explicit LeaderReads(const EnsembleFrame& frame) : view_(frame) {}
    bool Has(int64_t offset, int64_t width) const {
        return offset >= 0 && width >= 0 &&
               view_.Holds(static_cast<size_t>(offset), static_cast<size_t>(width));
    }
    int32_t U8(int64_t offset) const { return Has(offset, 1) ? view_.U8(static_cast<size_t>(offset)) : 0; }
    int32_t U16LE(int64_t offset) const {
        return Has(offset, 2) ? view_.LE16(static_cast<size_t>(offset)) : 0;
    }
    int32_t U16BE(int64_t offset) const {
        return Has(offset, 2) ? view_.BE16(static_cast<size_t>(offset)) : 0;
    }
    int32_t S16LE(int64_t offset) const { return detail::SignedWord(static_cast<uint16_t>(U16LE(offset))); }
    int32_t Bcd(int64_t offset) const { return detail::FromBcd(static_cast<uint8_t>(U8(offset))); }

  private:
    detail::EnsembleBytesView view_;
};

void FixedLeader(const LeaderReads& b, int64_t p, DetailsConfig& cfg) {
    int32_t revision = b.U8(p + fl::kFirmwareRevision);
    if (revision > 99) revision -= 100;
    cfg.FirmwareVersion = b.U8(p + fl::kFirmwareVersion) + revision / 100.0;
    cfg.SystemConfigWord = b.U16LE(p + fl::kSystemConfig);
    cfg.Config = cfg.SystemConfigWord;
    cfg.RealSimFlag = b.U8(p + fl::kRealSimFlag);
    cfg.LagLength = b.U8(p + fl::kLagLength);
    cfg.Beams = b.U8(p + fl::kBeams);
    cfg.Bins = b.U8(p + fl::kCells);
    cfg.Pings = b.U16LE(p + fl::kPings);
    cfg.BinSize = b.U16LE(p + fl::kCellLength) / 100.0;
    cfg.Blank = b.U16LE(p + fl::kBlank) / 100.0;
    cfg.Mode = b.U8(p + fl::kMode);
    cfg.CorrThreshold = b.U8(p + fl::kCorrThreshold);
    cfg.CodeReps = b.U8(p + fl::kCodeReps);
    cfg.MinPGood = b.U8(p + fl::kMinPGood);
    cfg.ErrThreshold = b.U16LE(p + fl::kErrVelMax);
    for (int k = 0; k < 3; ++k) cfg.TimePerPing[k] = b.U8(p + fl::kTimePerPing + k);
    cfg.CoordXform = b.U8(p + fl::kCoordTransform);
    cfg.HeadAlign = b.S16LE(p + fl::kHeadingAlignment) / 100.0;
    cfg.HeadBias = b.S16LE(p + fl::kHeadingBias) / 100.0;
    cfg.SensorSource = b.U8(p + fl::kSensorSource);
    cfg.SensorsAvailable = b.U8(p + fl::kSensorsAvailable);
    cfg.Bin1 = b.U16LE(p + fl::kBin1Distance) / 100.0;
    cfg.XmtLength = b.U16LE(p + fl::kXmitPulseLength) / 100.0;
    cfg.RefLayerFirst = b.U8(p + fl::kRefLayerFirst);
    cfg.RefLayerLast = b.U8(p + fl::kRefLayerLast);
    cfg.FalseTarget = b.U8(p + fl::kFalseTarget);
    cfg.Trigger = b.U8(p + fl::kTrigger);
    cfg.LagDistance = b.U16LE(p + fl::kLagDistance) / 100.0;
    for (int k = 0; k < 8; ++k) cfg.CpuSerial[k] = static_cast<uint8_t>(b.U8(p + fl::kCpuSerial + k));
    cfg.BandWidth = b.U16LE(p + fl::kBandwidth);
    cfg.HighPower = b.U8(p + fl::kHighPower);
}

} // namespace

void Decode_Broadband_Leaders(const EnsembleFrame& frame, DetailsConfig& cfg, bool recordTypes) {
    LeaderReads b(frame);
    const int32_t count = b.U8(broadband::kDataTypeCount);
    bool fixedSeen = false, variableSeen = false;
    if (recordTypes) cfg.DataTypeIds.clear();
    for (int32_t i = 0; i < count; ++i) {
        const int64_t offsetAt = broadband::kOffsetTable + 2 * static_cast<int64_t>(i);
        if (!b.Has(offsetAt, 2)) break;
        const int64_t p = b.U16LE(offsetAt);
        if (!b.Has(p, 2)) continue;
        const int32_t id = b.U16LE(p);
        if (recordTypes) cfg.DataTypeIds.push_back(id);
        if (id == broadband::kFixedLeaderId && !fixedSeen) {
            fixedSeen = true;
            FixedLeader(b, p, cfg);
        } else if (id == broadband::kVariableLeaderId && !variableSeen) {
            variableSeen = true;
            cfg.EnsembleNumber = b.U16LE(p + vl::kEnsembleNumber) + 65536 * b.U8(p + vl::kEnsembleNumberHigh);
            for (int k = 0; k < 7; ++k) cfg.Time[k] = static_cast<uint8_t>(b.U8(p + vl::kClock + k));
            if (cfg.Time[0] > 99) cfg.Time[0] -= 100;
        } else if (id == broadband::kBottomTrackId && recordTypes) {
            const int64_t marker = p + broadband::bottom::kPositionMarker;
            if (b.Has(marker, 1)) cfg.Strandex = b.U8(marker) < 4;
        }
    }
}

void Decode_Narrowband_Leader(const EnsembleFrame& frame, DetailsConfig& cfg, bool) {
    LeaderReads b(frame);
    for (int k = 0; k < narrowband::kBlockCount; ++k)
        cfg.NBBlockLengths[k] = b.U16BE(narrowband::kBlockLengths + 2 * k);
    if (cfg.NBBlockLengths[0] == 0) return;
    const int64_t p = narrowband::kFirstBlock;
    cfg.Time[0] = kNoYear;
    for (int k = 0; k < 5; ++k) cfg.Time[1 + k] = static_cast<uint8_t>(b.Bcd(p + nl::kClock + k));
    cfg.Time[6] = 0;
    for (int k = 0; k < 3; ++k) cfg.TimePerPing[k] = b.Bcd(p + nl::kTimePerPing + k);
    cfg.Pings = b.U16BE(p + nl::kPings);
    cfg.Bins = b.U8(p + nl::kCells);
    cfg.NBBinLengthCode = b.U8(p + nl::kCellLengthCode);
    cfg.NBXmtLength = b.U8(p + nl::kXmitLength);
    cfg.NBBlank = b.U8(p + nl::kBlank);
    cfg.NBDelay = b.U8(p + nl::kDelay);
    cfg.EnsembleNumber = b.U16BE(p + nl::kEnsembleNumber);
    cfg.NBConfig = b.U8(p + nl::kConfig);
    cfg.Config = cfg.NBConfig;
    cfg.NBSnr = b.U8(p + nl::kSignalToNoise);
    cfg.NBPGoodThreshold = b.U8(p + nl::kPGoodThreshold);
}

} // namespace mvx
