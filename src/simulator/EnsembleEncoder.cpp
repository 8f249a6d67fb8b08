#include "simulator/EnsembleEncoder.h"

namespace mvx {

namespace {

using namespace broadband;
namespace nl = narrowband::leader;

// Little-endian writer over a byte vector that grows as data types are appended.
class LeWriter {
  public:
    explicit LeWriter(std::vector<uint8_t>& out) : out_(out) {}
    size_t Begin(size_t size) {
        size_t at = out_.size();
        out_.resize(at + size, 0);
        base_ = at;
        return at;
    }
    void U8(size_t offset, uint8_t v) { out_[base_ + offset] = v; }
    void U16(size_t offset, uint16_t v) {
        out_[base_ + offset] = static_cast<uint8_t>(v & 0xFF);
        out_[base_ + offset + 1] = static_cast<uint8_t>(v >> 8);
    }
    void U32(size_t offset, uint32_t v) {
        U16(offset, static_cast<uint16_t>(v & 0xFFFF));
        U16(offset + 2, static_cast<uint16_t>(v >> 16));
    }

  private:
    std::vector<uint8_t>& out_;
    size_t base_ = 0;
};

void PutBigEndian16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
    out[at] = static_cast<uint8_t>(v >> 8);
    out[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

void WriteFixedLeader(LeWriter& w, const FixedLeaderContents& f) {
    w.Begin(f.ShortLeader ? fixed::kBytes - 1 : fixed::kBytes);
    w.U16(0, broadband::kFixedLeaderId);
    w.U8(fixed::kFirmwareVersion, f.FirmwareVersion);
    w.U8(fixed::kFirmwareRevision, f.FirmwareRevision);
    w.U16(fixed::kSystemConfig, f.SystemConfig);
    w.U8(fixed::kRealSimFlag, f.RealSimFlag);
    w.U8(fixed::kLagLength, f.LagLength);
    w.U8(fixed::kBeams, f.NumBeams);
    w.U8(fixed::kCells, f.NumCells);
    w.U16(fixed::kPings, f.PingsPerEnsemble);
    w.U16(fixed::kCellLength, f.CellLength);
    w.U16(fixed::kBlank, f.Blank);
    w.U8(fixed::kMode, f.ProfilingMode);
    w.U8(fixed::kCorrThreshold, f.CorrThreshold);
    w.U8(fixed::kCodeReps, f.CodeReps);
    w.U8(fixed::kMinPGood, f.PGoodMin);
    w.U16(fixed::kErrVelMax, f.ErrVelMax);
    for (int i = 0; i < 3; ++i) w.U8(fixed::kTimePerPing + i, f.TimePerPing[i]);
    w.U8(fixed::kCoordTransform, f.CoordTransform);
    w.U16(fixed::kHeadingAlignment, static_cast<uint16_t>(f.HeadingAlignment));
    w.U16(fixed::kHeadingBias, static_cast<uint16_t>(f.HeadingBias));
    w.U8(fixed::kSensorSource, f.SensorSource);
    w.U8(fixed::kSensorsAvailable, f.SensorsAvailable);
    w.U16(fixed::kBin1Distance, f.Bin1Distance);
    w.U16(fixed::kXmitPulseLength, f.XmitPulseLength);
    w.U8(fixed::kRefLayerFirst, f.RefLayerFirst);
    w.U8(fixed::kRefLayerLast, f.RefLayerLast);
    w.U8(fixed::kFalseTarget, f.FalseTargetThreshold);
    w.U8(fixed::kTrigger, f.Trigger);
    w.U16(fixed::kLagDistance, f.LagDistance);
    for (int i = 0; i < 8; ++i) w.U8(fixed::kCpuSerial + i, f.CpuSerial[i]);
    w.U16(fixed::kBandwidth, f.Bandwidth);
    w.U8(fixed::kHighPower, f.HighPower);
    w.U8(fixed::kSpare, f.Spare53);
    w.U32(fixed::kSerialNumber, f.SerialNumber);
    if (!f.ShortLeader) w.U8(fixed::kBeamAngle, f.BeamAngle);
}

void WriteVariableLeader(LeWriter& w, const VariableLeaderContents& v) {
    w.Begin(variable::kBytes);
    w.U16(0, broadband::kVariableLeaderId);
    w.U16(variable::kEnsembleNumber, static_cast<uint16_t>(v.EnsembleNumber & 0xFFFF));
    const uint8_t clock[7] = {v.Year, v.Month, v.Day, v.Hour, v.Minute, v.Second, v.Hundredths};
    for (int i = 0; i < 7; ++i) w.U8(variable::kClock + i, clock[i]);
    w.U8(variable::kEnsembleNumberHigh, static_cast<uint8_t>((v.EnsembleNumber >> 16) & 0xFF));
    w.U16(variable::kBitResult, v.BitResult);
    w.U16(variable::kSpeedOfSound, v.SpeedOfSound);
    w.U16(variable::kDepth, v.DepthDm);
    w.U16(variable::kHeading, v.Heading);
    w.U16(variable::kPitch, static_cast<uint16_t>(v.Pitch));
    w.U16(variable::kRoll, static_cast<uint16_t>(v.Roll));
    w.U16(variable::kSalinity, v.Salinity);
    w.U16(variable::kTemperature, static_cast<uint16_t>(v.Temperature));
    for (int i = 0; i < 3; ++i) w.U8(variable::kPrePingWait + i, v.MinPrePingWait[i]);
    w.U8(variable::kHeadingStd, v.HeadingStd);
    w.U8(variable::kPitchStd, v.PitchStd);
    w.U8(variable::kRollStd, v.RollStd);
    w.U8(variable::kTransmitCurrent, v.TransmitCurrent);
    w.U8(variable::kTransmitVoltage, v.TransmitVoltage);
    for (int i = 0; i < 6; ++i) w.U8(variable::kOtherAdc + i, v.OtherAdc[i]);
    w.U32(variable::kErrorStatus, v.ErrorStatus);
    w.U32(variable::kPressure, v.Pressure);
    w.U32(variable::kPressureVariance, v.PressureVariance);
    w.U8(variable::kCentury, v.Century);
    w.U8(variable::kCenturyClock, static_cast<uint8_t>(v.Year % 100));
    for (int i = 1; i < 7; ++i) w.U8(variable::kCenturyClock + i, clock[i]);
}

void WriteVelocity(LeWriter& w, const std::vector<std::array<uint16_t, 4>>& cells) {
    w.Begin(broadband::kCellsStart + broadband::kVelocityBytesPerCell * cells.size());
    w.U16(0, broadband::kVelocityId);
    for (size_t c = 0; c < cells.size(); ++c)
        for (size_t b = 0; b < 4; ++b)
            w.U16(broadband::kCellsStart + broadband::kVelocityBytesPerCell * c + 2 * b, cells[c][b]);
}

void WriteCellBytes(LeWriter& w, uint16_t id, const std::vector<std::array<uint8_t, 4>>& cells) {
    w.Begin(broadband::kCellsStart + broadband::kBeamBytesPerCell * cells.size());
    w.U16(0, id);
    for (size_t c = 0; c < cells.size(); ++c)
        for (size_t b = 0; b < 4; ++b)
            w.U8(broadband::kCellsStart + broadband::kBeamBytesPerCell * c + b, cells[c][b]);
}

void WriteBottomTrack(LeWriter& w, const BottomTrackContents& t) {
    w.Begin(bottom::kBytes);
    w.U16(0, broadband::kBottomTrackId);
    w.U16(bottom::kPings, t.Pings);
    w.U16(bottom::kDelay, t.Delay);
    w.U8(bottom::kCorrMin, t.CorrMin);
    w.U8(bottom::kEvalMin, t.EvalMin);
    w.U8(bottom::kPGoodMin, t.PGoodMin);
    w.U8(bottom::kMode, t.Mode);
    w.U16(bottom::kErrMax, t.ErrMax);
    for (size_t b = 0; b < 4; ++b) {
        w.U16(bottom::kRange + 2 * b, static_cast<uint16_t>(t.Range[b] & 0xFFFF));
        w.U16(bottom::kVelocity + 2 * b, t.Velocity[b]);
        w.U8(bottom::kCorrelation + b, t.Correlation[b]);
        w.U8(bottom::kEvalAmplitude + b, t.EvalAmplitude[b]);
        w.U8(bottom::kPercentGood + b, t.PercentGood[b]);
        w.U16(bottom::kRefVelocity + 2 * b, t.RefVelocity[b]);
        w.U8(bottom::kRefCorrelation + b, t.RefCorrelation[b]);
        w.U8(bottom::kRefIntensity + b, t.RefIntensity[b]);
        w.U8(bottom::kRefPercentGood + b, t.RefPercentGood[b]);
        w.U8(bottom::kRssiAmplitude + b, t.RssiAmplitude[b]);
        w.U8(bottom::kRangeHigh + b, static_cast<uint8_t>((t.Range[b] >> 16) & 0xFF));
    }
    w.U16(bottom::kRefLayerMin, t.RefLayerMin);
    w.U16(bottom::kRefLayerNear, t.RefLayerNear);
    w.U16(bottom::kRefLayerFar, t.RefLayerFar);
    w.U16(bottom::kMaxDepth, t.MaxDepth);
    w.U8(bottom::kGain, t.Gain);
    if (t.CarriesPosition) {
        const auto lon = static_cast<uint32_t>(t.Longitude);
        w.U16(bottom::kLongitudeLow, static_cast<uint16_t>(lon & 0xFFFF));
        w.U16(bottom::kLongitudeHigh, static_cast<uint16_t>(lon >> 16));
        w.U32(bottom::kLatitude, static_cast<uint32_t>(t.Latitude));
        w.U8(bottom::kPositionMarker, t.PositionMarker);
    }
}

void WriteText(LeWriter& w, uint16_t id, const std::string& text) {
    size_t size = broadband::kCellsStart + text.size() + 1;
    size += size % 2;
    w.Begin(size);
    w.U16(0, id);
    for (size_t i = 0; i < text.size(); ++i) w.U8(broadband::kCellsStart + i, static_cast<uint8_t>(text[i]));
}

void WriteFlowMeter(LeWriter& w, const FlowMeterContents& f) {
    w.Begin(flowmeter::kBytes);
    w.U16(0, broadband::kFlowMeterId);
    w.U16(flowmeter::kDepth, f.Depth);
    w.U16(flowmeter::kVelocity1, f.Velocity1);
    w.U16(flowmeter::kVelocity2, f.Velocity2);
    w.U16(flowmeter::kDischargeLow, static_cast<uint16_t>(f.Discharge & 0xFFFF));
    w.U16(flowmeter::kDischargeHigh, static_cast<uint16_t>(f.Discharge >> 16));
}

void WriteNavigation(LeWriter& w, const NavigationContents& n) {
    w.Begin(navigation::kBytes);
    w.U16(0, broadband::kNavigationId);
    w.U8(navigation::kDay, n.Day);
    w.U8(navigation::kMonth, n.Month);
    w.U16(navigation::kYear, n.Year);
    w.U32(navigation::kFirstFixTime, n.FirstFixTime);
    w.U32(navigation::kClockOffset, static_cast<uint32_t>(n.ClockOffset));
    w.U32(navigation::kFirstLatitude, static_cast<uint32_t>(n.FirstLatitude));
    w.U32(navigation::kFirstLongitude, static_cast<uint32_t>(n.FirstLongitude));
    w.U32(navigation::kLastFixTime, n.LastFixTime);
    w.U32(navigation::kLastLatitude, static_cast<uint32_t>(n.LastLatitude));
    w.U32(navigation::kLastLongitude, static_cast<uint32_t>(n.LastLongitude));
    w.U16(navigation::kAverageSpeed, n.AverageSpeed);
    w.U16(navigation::kAverageTrackTrue, n.AverageTrackTrue);
    w.U16(navigation::kAverageTrackMagnetic, n.AverageTrackMagnetic);
    w.U16(navigation::kSpeedMadeGood, n.SpeedMadeGood);
    w.U16(navigation::kDirectionMadeGood, n.DirectionMadeGood);
    w.U16(navigation::kFlags, n.Flags);
    w.U32(navigation::kEnsembleNumber, n.EnsembleNumber);
}

// Four 12-bit counts into six bytes: aaab bbcc cddd (beam 0 high first).
void PackCounts(uint8_t* q, const std::array<uint16_t, 4>& counts) {
    for (int pair = 0; pair < 2; ++pair) {
        const uint16_t a = counts[2 * pair] & 0x0FFF;
        const uint16_t b = counts[2 * pair + 1] & 0x0FFF;
        uint8_t* p = q + 3 * pair;
        p[0] = static_cast<uint8_t>(a >> 4);
        p[1] = static_cast<uint8_t>(((a & 0x0F) << 4) | (b >> 8));
        p[2] = static_cast<uint8_t>(b & 0xFF);
    }
}

} // namespace

uint16_t EnsembleChecksum(const uint8_t* bytes, size_t n) {
    uint32_t sum = 0;
    for (size_t i = 0; i < n; ++i) sum += bytes[i];
    return static_cast<uint16_t>(sum & 0xFFFF);
}

uint8_t ToBcd(int value) {
    if (value < 0) value = 0;
    value %= 100;
    return static_cast<uint8_t>((value / 10) * 16 + value % 10);
}

std::vector<uint8_t> EncodeBroadband(const EnsembleContents& c) {
    int count = 0;
    for (bool present : {c.HasFixedLeader, c.HasVariableLeader, c.HasVelocity, c.HasCorrelation, c.HasEcho,
                         c.HasPercentGood, c.HasBottomTrack, c.HasText, c.HasFlowMeter, c.HasNavigation})
        count += present ? 1 : 0;

    std::vector<uint8_t> out(broadband::kOffsetTable + 2 * static_cast<size_t>(count), 0);
    out[0] = 0x7F;
    out[1] = 0x7F;
    out[broadband::kDataTypeCount] = static_cast<uint8_t>(count);
    LeWriter w(out);
    size_t table = broadband::kOffsetTable;
    auto Offset = [&](size_t at) {
        out[table] = static_cast<uint8_t>(at & 0xFF);
        out[table + 1] = static_cast<uint8_t>((at >> 8) & 0xFF);
        table += 2;
    };
    if (c.HasFixedLeader) {
        Offset(out.size());
        WriteFixedLeader(w, c.Fixed);
    }
    if (c.HasVariableLeader) {
        Offset(out.size());
        WriteVariableLeader(w, c.Variable);
    }
    if (c.HasVelocity) {
        Offset(out.size());
        WriteVelocity(w, c.Velocity);
    }
    if (c.HasCorrelation) {
        Offset(out.size());
        WriteCellBytes(w, broadband::kCorrelationId, c.Correlation);
    }
    if (c.HasEcho) {
        Offset(out.size());
        WriteCellBytes(w, broadband::kEchoIntensityId, c.Echo);
    }
    if (c.HasPercentGood) {
        Offset(out.size());
        WriteCellBytes(w, broadband::kPercentGoodId, c.PercentGood);
    }
    if (c.HasBottomTrack) {
        Offset(out.size());
        WriteBottomTrack(w, c.BottomTrack);
    }
    if (c.HasText) {
        Offset(out.size());
        WriteText(w, c.TextId, c.Text);
    }
    if (c.HasFlowMeter) {
        Offset(out.size());
        WriteFlowMeter(w, c.FlowMeter);
    }
    if (c.HasNavigation) {
        Offset(out.size());
        WriteNavigation(w, c.Navigation);
    }
    out.resize(out.size() + c.PadBytes, 0);

    const size_t n = out.size();
    out[broadband::kLengthWord] = static_cast<uint8_t>(n & 0xFF);
    out[broadband::kLengthWord + 1] = static_cast<uint8_t>((n >> 8) & 0xFF);
    const uint16_t sum = EnsembleChecksum(out.data(), n);
    out.push_back(static_cast<uint8_t>(sum & 0xFF));
    out.push_back(static_cast<uint8_t>(sum >> 8));
    return out;
}

std::vector<uint8_t> EncodeNarrowband(const EnsembleContents& c) {
    const FixedLeaderContents& f = c.Fixed;
    const VariableLeaderContents& v = c.Variable;
    const NarrowbandLeaderContents& nb = c.Narrowband;

    // Block lengths first, so the ensemble is laid out in one buffer.
    constexpr size_t kBeamBytes = narrowband::kBeamBytesPerCell;
    size_t lengths[narrowband::kBlockCount] = {
        nl::kBytes, c.HasVelocity ? narrowband::kVelocityBytesPerCell * c.Velocity.size() : 0,
        c.HasCorrelation ? kBeamBytes * c.Correlation.size() : 0, c.HasEcho ? kBeamBytes * c.Echo.size() : 0,
        c.HasPercentGood ? kBeamBytes * c.PercentGood.size() : 0};
    // Padding belongs to the last block so that the block lengths still account for every byte.
    // (The leader's own length must keep its sync byte, so with no other block there is no padding.)
    int last = 4;
    while (last > 0 && lengths[last] == 0) --last;
    if (last > 0) lengths[last] += c.PadBytes;
    size_t n = narrowband::kFirstBlock;
    for (size_t length : lengths) n += length;
    std::vector<uint8_t> out(n + 2, 0);

    PutBigEndian16(out, narrowband::kLengthWord, static_cast<uint16_t>(n));
    for (size_t k = 0; k < narrowband::kBlockCount; ++k)
        PutBigEndian16(out, narrowband::kBlockLengths + 2 * k, static_cast<uint16_t>(lengths[k]));

    const size_t p = narrowband::kFirstBlock;
    const uint8_t clock[5] = {v.Month, v.Day, v.Hour, v.Minute, v.Second};
    for (int i = 0; i < 5; ++i) out[p + nl::kClock + i] = ToBcd(clock[i]);
    for (int i = 0; i < 3; ++i) out[p + nl::kTimePerPing + i] = ToBcd(f.TimePerPing[i]);
    PutBigEndian16(out, p + nl::kPings, f.PingsPerEnsemble);
    out[p + nl::kCells] = f.NumCells;
    out[p + nl::kCellLengthCode] = nb.BinLengthCode;
    out[p + nl::kXmitLength] = nb.TransmitLength;
    out[p + nl::kBlank] = nb.Blank;
    out[p + nl::kDelay] = nb.Delay;
    PutBigEndian16(out, p + nl::kEnsembleNumber, static_cast<uint16_t>(v.EnsembleNumber & 0xFFFF));
    out[p + nl::kBitResult] = static_cast<uint8_t>(v.BitResult & 0xFF);
    out[p + nl::kConfig] = nb.ConfigByte;
    out[p + nl::kSignalToNoise] = nb.SignalToNoise;
    out[p + nl::kPGoodThreshold] = nb.PGoodThreshold;
    PutBigEndian16(out, p + nl::kPitch, nb.PitchWord);
    PutBigEndian16(out, p + nl::kRoll, nb.RollWord);
    PutBigEndian16(out, p + nl::kHeading, nb.HeadingWord);
    PutBigEndian16(out, p + nl::kTemperature, nb.TemperatureCount);
    out[p + nl::kXmitVoltage] = v.TransmitVoltage;
    PackCounts(out.data() + p + nl::kBottomVelocity, nb.BTVelocity);
    for (size_t b = 0; b < 4; ++b) PutBigEndian16(out, p + nl::kBottomRange + 2 * b, nb.BTRange[b]);

    size_t at = p + nl::kBytes;
    if (c.HasVelocity) {
        for (size_t cell = 0; cell < c.Velocity.size(); ++cell)
            PackCounts(out.data() + at + narrowband::kVelocityBytesPerCell * cell, c.Velocity[cell]);
        at += lengths[1];
    }
    const std::vector<std::array<uint8_t, 4>>* perCell[3] = {&c.Correlation, &c.Echo, &c.PercentGood};
    for (int k = 0; k < 3; ++k) {
        if (lengths[2 + k] == 0) continue;
        size_t q = at;
        for (const auto& cell : *perCell[k])
            for (uint8_t byte : cell) out[q++] = byte;
        at += lengths[2 + k];
    }

    const uint16_t sum = EnsembleChecksum(out.data(), n);
    out[n] = static_cast<uint8_t>(sum >> 8);
    out[n + 1] = static_cast<uint8_t>(sum & 0xFF);
    return out;
}

} // namespace mvx
