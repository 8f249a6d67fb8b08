#include "EnsembleBuilder.h"

#include "TestSupport.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace mvx::test {

void PutLE16(Bytes& b, size_t at, uint32_t v) {
    b.at(at) = static_cast<uint8_t>(v & 0xFF);
    b.at(at + 1) = static_cast<uint8_t>((v >> 8) & 0xFF);
}

void PutLE32(Bytes& b, size_t at, uint32_t v) {
    PutLE16(b, at, v & 0xFFFF);
    PutLE16(b, at + 2, v >> 16);
}

void PutBE16(Bytes& b, size_t at, uint32_t v) {
    b.at(at) = static_cast<uint8_t>((v >> 8) & 0xFF);
    b.at(at + 1) = static_cast<uint8_t>(v & 0xFF);
}

void Append(Bytes& to, const Bytes& from) {
    to.insert(to.end(), from.begin(), from.end());
}

namespace {
// A data type laid out at its full size, then cut to the length a test asks for.
Bytes Block(size_t full, size_t length) {
    return Bytes(std::max(full, length), 0);
}
void CutTo(Bytes& b, size_t length) {
    if (length < b.size()) b.erase(b.begin() + static_cast<long>(length), b.end());
}
} // namespace

Bytes FixedLeader(const FixedLeaderFields& f) {
    Bytes b = Block(59, f.Length);
    PutLE16(b, 0, 0x0000);
    b[2] = f.Version;
    b[3] = f.Revision;
    PutLE16(b, 4, f.SystemConfig);
    b[8] = 4; // beams
    b[9] = f.NumCells;
    PutLE16(b, 10, f.Pings);
    PutLE16(b, 12, f.CellLengthCm);
    for (int i = 0; i < 3; ++i) b[22 + i] = f.TimePerPing[i];
    b[25] = f.CoordTransform;
    PutLE16(b, 32, f.Bin1Cm);
    PutLE16(b, 34, f.XmitCm);
    PutLE16(b, 40, f.LagCm);
    b[58] = f.BeamAngle;
    CutTo(b, f.Length);
    return b;
}

Bytes VariableLeader(const VariableLeaderFields& f) {
    Bytes b = Block(65, f.Length);
    PutLE16(b, 0, 0x0080);
    b[2] = f.EnsembleNumber & 0xFF;
    b[3] = (f.EnsembleNumber >> 8) & 0xFF;
    b[11] = (f.EnsembleNumber >> 16) & 0xFF;
    for (int i = 0; i < 7; ++i) b[4 + i] = f.Time[i];
    PutLE16(b, 12, f.Bit);
    PutLE16(b, 16, f.DepthDm);
    PutLE16(b, 18, f.Heading);
    PutLE16(b, 20, static_cast<uint16_t>(f.Pitch));
    PutLE16(b, 22, static_cast<uint16_t>(f.Roll));
    PutLE16(b, 24, f.Salinity);
    PutLE16(b, 26, static_cast<uint16_t>(f.Temperature));
    b[35] = f.XmitVoltage;
    PutLE32(b, 48, f.Pressure);
    CutTo(b, f.Length);
    return b;
}

Bytes Velocity(const std::vector<std::array<uint16_t, 4>>& cells) {
    Bytes b(2 + 8 * cells.size(), 0);
    PutLE16(b, 0, 0x0100);
    for (size_t c = 0; c < cells.size(); ++c)
        for (int beam = 0; beam < 4; ++beam) PutLE16(b, 2 + 8 * c + 2 * beam, cells[c][beam]);
    return b;
}

Bytes BeamBytes(uint16_t id, const std::vector<std::array<uint8_t, 4>>& cells) {
    Bytes b(2 + 4 * cells.size(), 0);
    PutLE16(b, 0, id);
    for (size_t c = 0; c < cells.size(); ++c)
        for (int beam = 0; beam < 4; ++beam) b[2 + 4 * c + beam] = cells[c][beam];
    return b;
}

Bytes BottomTrack(const BottomTrackFields& f) {
    Bytes b = Block(85, f.Length);
    PutLE16(b, 0, 0x0600);
    PutLE16(b, 2, f.Pings);
    PutLE16(b, 4, f.Delay);
    b[6] = f.CorrMin;
    b[7] = f.EvalMin;
    b[8] = f.PGoodMin;
    b[9] = f.Mode;
    PutLE16(b, 10, f.ErrMax);
    PutLE32(b, 12, f.Lat);
    for (int beam = 0; beam < 4; ++beam) {
        PutLE16(b, 16 + 2 * beam, f.Range[beam]);
        PutLE16(b, 24 + 2 * beam, f.Vel[beam]);
        PutLE16(b, 50 + 2 * beam, f.RefVel[beam]);
    }
    PutLE16(b, 46, f.LonHigh);
    PutLE16(b, 70, f.MaxDepth);
    for (int beam = 0; beam < 4; ++beam) b[77 + beam] = f.RangeHigh[beam];
    CutTo(b, f.Length);
    return b;
}

Bytes Navigation(const NavigationFields& f) {
    Bytes b = Block(78, f.Length);
    PutLE16(b, 0, 0x2000);
    PutLE32(b, 14, static_cast<uint32_t>(f.FirstLat));
    PutLE32(b, 18, static_cast<uint32_t>(f.FirstLon));
    PutLE32(b, 26, static_cast<uint32_t>(f.LastLat));
    PutLE32(b, 30, static_cast<uint32_t>(f.LastLon));
    PutLE16(b, 40, f.Speed);
    PutLE16(b, 42, f.Direction);
    CutTo(b, f.Length);
    return b;
}

Bytes TextBlock(uint16_t id, const std::string& text, bool terminate) {
    Bytes b(2 + text.size() + (terminate ? 1 : 0), 0);
    PutLE16(b, 0, id);
    for (size_t i = 0; i < text.size(); ++i) b[2 + i] = static_cast<uint8_t>(text[i]);
    return b;
}

Bytes FlowMeter(const FlowMeterFields& f) {
    Bytes b(40, 0);
    PutLE16(b, 0, 0x1300);
    PutLE16(b, 2, f.Depth);
    PutLE16(b, 8, f.VelA);
    PutLE16(b, 10, f.VelB);
    PutLE16(b, 36, f.QLow);
    PutLE16(b, 38, f.QHigh);
    return b;
}

void FixBroadbandChecksum(Bytes& e) {
    const size_t n = e.size() - 2;
    const uint32_t sum = std::accumulate(e.begin(), e.begin() + static_cast<long>(n), 0u);
    PutLE16(e, n, sum & 0xFFFF);
}

Bytes BroadbandWithOffsets(const std::vector<Bytes>& dataTypes, const std::vector<uint16_t>& offsets) {
    Bytes e(6 + 2 * offsets.size(), 0);
    e[0] = e[1] = 0x7F;
    e[5] = static_cast<uint8_t>(offsets.size());
    for (size_t i = 0; i < offsets.size(); ++i) PutLE16(e, 6 + 2 * i, offsets[i]);
    for (const auto& t : dataTypes) Append(e, t);
    const size_t n = e.size();
    if (n > 65535) throw std::length_error("ensemble too long");
    PutLE16(e, 2, static_cast<uint32_t>(n));
    e.resize(n + 2);
    FixBroadbandChecksum(e);
    return e;
}

Bytes Broadband(const std::vector<Bytes>& dataTypes) {
    std::vector<uint16_t> offsets;
    size_t at = 6 + 2 * dataTypes.size();
    for (const auto& t : dataTypes) {
        offsets.push_back(static_cast<uint16_t>(at));
        at += t.size();
    }
    return BroadbandWithOffsets(dataTypes, offsets);
}

Bytes SimpleBroadband(uint32_t number, uint8_t cells) {
    FixedLeaderFields fl;
    fl.NumCells = cells;
    VariableLeaderFields vl;
    vl.EnsembleNumber = number;
    std::vector<std::array<uint16_t, 4>> vel(cells);
    for (uint8_t c = 0; c < cells; ++c)
        vel[c] = {static_cast<uint16_t>(number + c), static_cast<uint16_t>(c), 7, 0xFFFF};
    return Broadband({FixedLeader(fl), VariableLeader(vl), Velocity(vel)});
}

Bytes NarrowbandLeader(const NarrowbandLeaderFields& f) {
    Bytes b(63, 0);
    for (int i = 0; i < 5; ++i) b[i] = f.TimeBcd[i];
    for (int i = 0; i < 3; ++i) b[5 + i] = f.PingTimeBcd[i];
    PutBE16(b, 8, f.Pings);
    b[10] = f.NumCells;
    b[11] = f.CellCode;
    b[12] = f.Xmit;
    b[13] = f.Blank;
    b[14] = f.Delay;
    PutBE16(b, 15, f.EnsembleNumber);
    b[17] = f.Bit;
    b[18] = f.Config;
    PutBE16(b, 21, static_cast<uint16_t>(f.Pitch));
    PutBE16(b, 23, static_cast<uint16_t>(f.Roll));
    PutBE16(b, 25, f.Heading);
    PutBE16(b, 27, f.TempCount);
    b[29] = f.XmitVoltage;
    const auto& c = f.BTCounts;
    b[41] = static_cast<uint8_t>(c[0] >> 4);
    b[42] = static_cast<uint8_t>(((c[0] & 0x0F) << 4) | (c[1] >> 8));
    b[43] = static_cast<uint8_t>(c[1] & 0xFF);
    b[44] = static_cast<uint8_t>(c[2] >> 4);
    b[45] = static_cast<uint8_t>(((c[2] & 0x0F) << 4) | (c[3] >> 8));
    b[46] = static_cast<uint8_t>(c[3] & 0xFF);
    for (int beam = 0; beam < 4; ++beam) PutBE16(b, 47 + 2 * beam, f.BTRange[beam]);
    return b;
}

Bytes NarrowbandVelocity(const std::vector<std::array<uint16_t, 4>>& cells) {
    Bytes b;
    for (const auto& c : cells) {
        b.push_back(static_cast<uint8_t>(c[0] >> 4));
        b.push_back(static_cast<uint8_t>(((c[0] & 0x0F) << 4) | (c[1] >> 8)));
        b.push_back(static_cast<uint8_t>(c[1] & 0xFF));
        b.push_back(static_cast<uint8_t>(c[2] >> 4));
        b.push_back(static_cast<uint8_t>(((c[2] & 0x0F) << 4) | (c[3] >> 8)));
        b.push_back(static_cast<uint8_t>(c[3] & 0xFF));
    }
    return b;
}

Bytes NarrowbandBeamBytes(const std::vector<std::array<uint8_t, 4>>& cells) {
    Bytes b;
    for (const auto& c : cells) b.insert(b.end(), c.begin(), c.end());
    return b;
}

Bytes Narrowband(const Bytes& leader, const Bytes& velocity, const Bytes& spectrum, const Bytes& agc,
                 const Bytes& percentGood) {
    Bytes e(14, 0);
    const Bytes* blocks[5] = {&leader, &velocity, &spectrum, &agc, &percentGood};
    for (int k = 0; k < 5; ++k) {
        PutBE16(e, 2 + 2 * k, static_cast<uint32_t>(blocks[k]->size()));
        Append(e, *blocks[k]);
    }
    const size_t n = e.size();
    PutBE16(e, 0, static_cast<uint32_t>(n));
    const uint32_t sum = std::accumulate(e.begin(), e.end(), 0u);
    e.push_back(static_cast<uint8_t>((sum >> 8) & 0xFF));
    e.push_back(static_cast<uint8_t>(sum & 0xFF));
    return e;
}

Bytes SimpleNarrowband(uint16_t number) {
    NarrowbandLeaderFields f;
    f.EnsembleNumber = number;
    return Narrowband(NarrowbandLeader(f), NarrowbandVelocity({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}),
                      {}, {}, {});
}

EnsembleFrame FrameOf(const Bytes& ensemble, bool narrowband) {
    EnsembleFrame frame;
    frame.EnsembleBuffer = ensemble;
    frame.EnsembleBytes =
        narrowband ? (ensemble.at(0) << 8) | ensemble.at(1) : ensemble.at(2) | (ensemble.at(3) << 8);
    return frame;
}

std::string WriteScratch(const Bytes& bytes, const std::string& name) {
    const auto path = ScratchDir() / name;
    WriteAll(path, bytes);
    return path.string();
}

} // namespace mvx::test
