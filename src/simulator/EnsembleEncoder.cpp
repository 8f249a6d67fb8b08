#include "simulator/EnsembleEncoder.h"

namespace mvx {

namespace {

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
    w.Begin(f.ShortLeader ? kFixedLeaderBytes - 1 : kFixedLeaderBytes);
    w.U16(0, kFixedLeaderId);
    w.U8(2, f.FirmwareVersion);
    w.U8(3, f.FirmwareRevision);
    w.U16(4, f.SystemConfig);
    w.U8(6, f.RealSimFlag);
    w.U8(7, f.LagLength);
    w.U8(8, f.NumBeams);
    w.U8(9, f.NumCells);
    w.U16(10, f.PingsPerEnsemble);
    w.U16(12, f.CellLength);
    w.U16(14, f.Blank);
    w.U8(16, f.ProfilingMode);
    w.U8(17, f.CorrThreshold);
    w.U8(18, f.CodeReps);
    w.U8(19, f.PGoodMin);
    w.U16(20, f.ErrVelMax);
    for (int i = 0; i < 3; ++i) w.U8(22 + i, f.TimePerPing[i]);
    w.U8(25, f.CoordTransform);
    w.U16(26, static_cast<uint16_t>(f.HeadingAlignment));
    w.U16(28, static_cast<uint16_t>(f.HeadingBias));
    w.U8(30, f.SensorSource);
    w.U8(31, f.SensorsAvailable);
    w.U16(32, f.Bin1Distance);
    w.U16(34, f.XmitPulseLength);
    w.U8(36, f.RefLayerFirst);
    w.U8(37, f.RefLayerLast);
    w.U8(38, f.FalseTargetThreshold);
    w.U8(39, f.Trigger);
    w.U16(40, f.LagDistance);
    for (int i = 0; i < 8; ++i) w.U8(42 + i, f.CpuSerial[i]);
    w.U16(50, f.Bandwidth);
    w.U8(52, f.HighPower);
    w.U8(53, f.Spare53);
    w.U32(54, f.SerialNumber);
    if (!f.ShortLeader) w.U8(58, f.BeamAngle);
}

void WriteVariableLeader(LeWriter& w, const VariableLeaderContents& v) {
    w.Begin(kVariableLeaderBytes);
    w.U16(0, kVariableLeaderId);
    w.U16(2, static_cast<uint16_t>(v.EnsembleNumber & 0xFFFF));
    const uint8_t clock[7] = {v.Year, v.Month, v.Day, v.Hour, v.Minute, v.Second, v.Hundredths};
    for (int i = 0; i < 7; ++i) w.U8(4 + i, clock[i]);
    w.U8(11, static_cast<uint8_t>((v.EnsembleNumber >> 16) & 0xFF));
    w.U16(12, v.BitResult);
    w.U16(14, v.SpeedOfSound);
    w.U16(16, v.DepthDm);
    w.U16(18, v.Heading);
    w.U16(20, static_cast<uint16_t>(v.Pitch));
    w.U16(22, static_cast<uint16_t>(v.Roll));
    w.U16(24, v.Salinity);
    w.U16(26, static_cast<uint16_t>(v.Temperature));
    for (int i = 0; i < 3; ++i) w.U8(28 + i, v.MinPrePingWait[i]);
    w.U8(31, v.HeadingStd);
    w.U8(32, v.PitchStd);
    w.U8(33, v.RollStd);
    w.U8(34, v.TransmitCurrent);
    w.U8(35, v.TransmitVoltage);
    for (int i = 0; i < 6; ++i) w.U8(36 + i, v.OtherAdc[i]);
    w.U32(42, v.ErrorStatus);
    w.U32(48, v.Pressure);
    w.U32(52, v.PressureVariance);
    w.U8(57, v.Century);
    w.U8(58, static_cast<uint8_t>(v.Year % 100));
    for (int i = 1; i < 7; ++i) w.U8(58 + i, clock[i]);
}

void WriteVelocity(LeWriter& w, const std::vector<std::array<uint16_t, 4>>& cells) {
    w.Begin(2 + 8 * cells.size());
    w.U16(0, kVelocityId);
    for (size_t c = 0; c < cells.size(); ++c)
        for (size_t b = 0; b < 4; ++b) w.U16(2 + 8 * c + 2 * b, cells[c][b]);
}

void WriteCellBytes(LeWriter& w, uint16_t id, const std::vector<std::array<uint8_t, 4>>& cells) {
    w.Begin(2 + 4 * cells.size());
    w.U16(0, id);
    for (size_t c = 0; c < cells.size(); ++c)
        for (size_t b = 0; b < 4; ++b) w.U8(2 + 4 * c + b, cells[c][b]);
}

void WriteBottomTrack(LeWriter& w, const BottomTrackContents& t) {
    w.Begin(kBottomTrackBytes);
    w.U16(0, kBottomTrackId);
    w.U16(2, t.Pings);
    w.U16(4, t.Delay);
    w.U8(6, t.CorrMin);
    w.U8(7, t.EvalMin);
    w.U8(8, t.PGoodMin);
    w.U8(9, t.Mode);
    w.U16(10, t.ErrMax);
    for (size_t b = 0; b < 4; ++b) {
        w.U16(16 + 2 * b, static_cast<uint16_t>(t.Range[b] & 0xFFFF));
        w.U16(24 + 2 * b, t.Velocity[b]);
        w.U8(32 + b, t.Correlation[b]);
        w.U8(36 + b, t.EvalAmplitude[b]);
        w.U8(40 + b, t.PercentGood[b]);
        w.U16(50 + 2 * b, t.RefVelocity[b]);
        w.U8(58 + b, t.RefCorrelation[b]);
        w.U8(62 + b, t.RefIntensity[b]);
        w.U8(66 + b, t.RefPercentGood[b]);
        w.U8(72 + b, t.RssiAmplitude[b]);
        w.U8(77 + b, static_cast<uint8_t>((t.Range[b] >> 16) & 0xFF));
    }
    w.U16(44, t.RefLayerMin);
    w.U16(46, t.RefLayerNear);
    w.U16(48, t.RefLayerFar);
    w.U16(70, t.MaxDepth);
    w.U8(76, t.Gain);
    if (t.CarriesPosition) {
        const auto lon = static_cast<uint32_t>(t.Longitude);
        w.U16(4, static_cast<uint16_t>(lon & 0xFFFF));
        w.U16(46, static_cast<uint16_t>(lon >> 16));
        w.U32(12, static_cast<uint32_t>(t.Latitude));
        w.U8(64, t.PositionMarker);
    }
}

void WriteText(LeWriter& w, uint16_t id, const std::string& text) {
    size_t size = 2 + text.size() + 1;
    size += size % 2;
    w.Begin(size);
    w.U16(0, id);
    for (size_t i = 0; i < text.size(); ++i) w.U8(2 + i, static_cast<uint8_t>(text[i]));
}

void WriteFlowMeter(LeWriter& w, const FlowMeterContents& f) {
    w.Begin(kFlowMeterBytes);
    w.U16(0, kFlowMeterId);
    w.U16(2, f.Depth);
    w.U16(8, f.Velocity1);
    w.U16(10, f.Velocity2);
    w.U16(36, static_cast<uint16_t>(f.Discharge & 0xFFFF));
    w.U16(38, static_cast<uint16_t>(f.Discharge >> 16));
}

void WriteNavigation(LeWriter& w, const NavigationContents& n) {
    w.Begin(kNavigationBytes);
    w.U16(0, kNavigationId);
    w.U8(2, n.Day);
    w.U8(3, n.Month);
    w.U16(4, n.Year);
    w.U32(6, n.FirstFixTime);
    w.U32(10, static_cast<uint32_t>(n.ClockOffset));
    w.U32(14, static_cast<uint32_t>(n.FirstLatitude));
    w.U32(18, static_cast<uint32_t>(n.FirstLongitude));
    w.U32(22, n.LastFixTime);
    w.U32(26, static_cast<uint32_t>(n.LastLatitude));
    w.U32(30, static_cast<uint32_t>(n.LastLongitude));
    w.U16(34, n.AverageSpeed);
    w.U16(36, n.AverageTrackTrue);
    w.U16(38, n.AverageTrackMagnetic);
    w.U16(40, n.SpeedMadeGood);
    w.U16(42, n.DirectionMadeGood);
    w.U16(46, n.Flags);
    w.U32(50, n.EnsembleNumber);
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

    std::vector<uint8_t> out(6 + 2 * static_cast<size_t>(count), 0);
    out[0] = 0x7F;
    out[1] = 0x7F;
    out[5] = static_cast<uint8_t>(count);
    LeWriter w(out);
    size_t table = 6;
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
        WriteCellBytes(w, kCorrelationId, c.Correlation);
    }
    if (c.HasEcho) {
        Offset(out.size());
        WriteCellBytes(w, kEchoIntensityId, c.Echo);
    }
    if (c.HasPercentGood) {
        Offset(out.size());
        WriteCellBytes(w, kPercentGoodId, c.PercentGood);
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
    out[2] = static_cast<uint8_t>(n & 0xFF);
    out[3] = static_cast<uint8_t>((n >> 8) & 0xFF);
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
    size_t lengths[5] = {kNarrowbandLeaderBytes, c.HasVelocity ? 6 * c.Velocity.size() : 0,
                         c.HasCorrelation ? 4 * c.Correlation.size() : 0, c.HasEcho ? 4 * c.Echo.size() : 0,
                         c.HasPercentGood ? 4 * c.PercentGood.size() : 0};
    // Padding belongs to the last block so that the block lengths still account for every byte.
    // (The leader's own length must keep its sync byte, so with no other block there is no padding.)
    int last = 4;
    while (last > 0 && lengths[last] == 0) --last;
    if (last > 0) lengths[last] += c.PadBytes;
    size_t n = 14;
    for (size_t length : lengths) n += length;
    std::vector<uint8_t> out(n + 2, 0);

    PutBigEndian16(out, 0, static_cast<uint16_t>(n));
    for (size_t k = 0; k < 5; ++k) PutBigEndian16(out, 2 + 2 * k, static_cast<uint16_t>(lengths[k]));

    uint8_t* p = out.data() + 14;
    p[0] = ToBcd(v.Month);
    p[1] = ToBcd(v.Day);
    p[2] = ToBcd(v.Hour);
    p[3] = ToBcd(v.Minute);
    p[4] = ToBcd(v.Second);
    for (int i = 0; i < 3; ++i) p[5 + i] = ToBcd(f.TimePerPing[i]);
    p[8] = static_cast<uint8_t>(f.PingsPerEnsemble >> 8);
    p[9] = static_cast<uint8_t>(f.PingsPerEnsemble & 0xFF);
    p[10] = f.NumCells;
    p[11] = nb.BinLengthCode;
    p[12] = nb.TransmitLength;
    p[13] = nb.Blank;
    p[14] = nb.Delay;
    p[15] = static_cast<uint8_t>((v.EnsembleNumber >> 8) & 0xFF);
    p[16] = static_cast<uint8_t>(v.EnsembleNumber & 0xFF);
    p[17] = static_cast<uint8_t>(v.BitResult & 0xFF);
    p[18] = nb.ConfigByte;
    p[19] = nb.SignalToNoise;
    p[20] = nb.PGoodThreshold;
    const uint16_t words[4] = {nb.PitchWord, nb.RollWord, nb.HeadingWord, nb.TemperatureCount};
    for (int i = 0; i < 4; ++i) {
        p[21 + 2 * i] = static_cast<uint8_t>(words[i] >> 8);
        p[22 + 2 * i] = static_cast<uint8_t>(words[i] & 0xFF);
    }
    p[29] = v.TransmitVoltage;
    PackCounts(p + 41, nb.BTVelocity);
    for (int b = 0; b < 4; ++b) {
        p[47 + 2 * b] = static_cast<uint8_t>(nb.BTRange[b] >> 8);
        p[48 + 2 * b] = static_cast<uint8_t>(nb.BTRange[b] & 0xFF);
    }

    size_t at = 14 + kNarrowbandLeaderBytes;
    if (c.HasVelocity) {
        for (size_t cell = 0; cell < c.Velocity.size(); ++cell)
            PackCounts(out.data() + at + 6 * cell, c.Velocity[cell]);
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
