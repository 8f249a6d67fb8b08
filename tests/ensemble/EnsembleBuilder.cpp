#include "EnsembleBuilder.h"

#include "TestSupport.h"

#include <algorithm>
#include <numeric>

namespace mvx::test {

void PutLE16(Bytes& b, size_t at, uint32_t v) {
    b.at(at) = static_cast<uint8_t>(v & 0xFF);
    b.at(at + 1) = static_cast<uint8_t>((v >> 8) & 0xFF);
}

void PutBE16(Bytes& b, size_t at, uint32_t v) {
    b.at(at) = static_cast<uint8_t>((v >> 8) & 0xFF);
    b.at(at + 1) = static_cast<uint8_t>(v & 0xFF);
}

static void PutLE32(Bytes& b, size_t at, uint32_t v) {
    PutLE16(b, at, v & 0xFFFF);
    PutLE16(b, at + 2, v >> 16);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A data type of `full` bytes starting with its id; Cut trims it to the length a test asks for.
static Bytes Block(uint16_t id, size_t full, size_t length) {
    Bytes b(std::max(full, length), 0);
    PutLE16(b, 0, id);
    return b;
}
static Bytes Cut(Bytes b, size_t length) {
    if (length < b.size()) b.erase(b.begin() + static_cast<long>(length), b.end());
    return b;
}

Bytes FixedLeader(const FixedLeaderFields& f) {
    Bytes b = Block(0x0000, 59, f.Length);
    b[2] = f.Version;
    b[3] = f.Revision;
    PutLE16(b, 4, f.SystemConfig);
    b[9] = f.NumCells;
    PutLE16(b, 10, f.Pings);
    PutLE16(b, 12, f.CellLengthCm);
    b[23] = 1; // time per ping 00:01.20
    b[24] = 20;
    b[25] = f.CoordTransform;
    PutLE16(b, 32, f.Bin1Cm);
    PutLE16(b, 34, f.XmitCm);
    PutLE16(b, 40, f.LagCm);
    b[58] = f.BeamAngle;
    return Cut(b, f.Length);
}

Bytes VariableLeader(const VariableLeaderFields& f) {
    Bytes b = Block(0x0080, 65, f.Length);
    b[2] = f.EnsembleNumber & 0xFF;
    b[3] = (f.EnsembleNumber >> 8) & 0xFF;
    b[11] = (f.EnsembleNumber >> 16) & 0xFF;
    std::copy(f.Time.begin(), f.Time.end(), b.begin() + 4);
    PutLE16(b, 12, f.Bit);
    PutLE16(b, 16, f.DepthDm);
    PutLE16(b, 18, f.Heading);
    PutLE16(b, 20, static_cast<uint16_t>(f.Pitch));
    PutLE16(b, 22, static_cast<uint16_t>(f.Roll));
    PutLE16(b, 24, f.Salinity);
    PutLE16(b, 26, static_cast<uint16_t>(f.Temperature));
    b[35] = f.XmitVoltage;
    PutLE32(b, 48, f.Pressure);
    return Cut(b, f.Length);
}

Bytes BottomTrack(const BottomTrackFields& f) {
    Bytes b = Block(0x0600, 85, f.Length);
    const uint8_t setUp[8] = {1, 0, 0, 0, 220, 1, 0, 5}; // pings 1, delay (below), corr 220, eval 1, mode 5
    std::copy(setUp, setUp + 8, b.begin() + 2);
    PutLE16(b, 4, f.Delay);
    PutLE16(b, 10, 1000); // error velocity maximum
    PutLE32(b, 12, f.Lat);
    for (int beam = 0; beam < 4; ++beam) {
        PutLE16(b, 16 + 2 * beam, f.Range[beam]);
        PutLE16(b, 24 + 2 * beam, f.Vel[beam]);
        PutLE16(b, 50 + 2 * beam, f.RefVel[beam]);
        b[77 + beam] = f.RangeHigh[beam];
    }
    PutLE16(b, 46, f.LonHigh);
    PutLE16(b, 70, 999); // maximum depth
    return Cut(b, f.Length);
}

Bytes Navigation(const NavigationFields& f) {
    Bytes b = Block(0x2000, 78, f.Length);
    PutLE32(b, 14, static_cast<uint32_t>(f.FirstLat));
    PutLE32(b, 18, static_cast<uint32_t>(f.FirstLon));
    PutLE32(b, 26, static_cast<uint32_t>(f.LastLat));
    PutLE32(b, 30, static_cast<uint32_t>(f.LastLon));
    PutLE16(b, 40, f.Speed);
    PutLE16(b, 42, f.Direction);
    return Cut(b, f.Length);
}

Bytes Velocity(const Words4& cells) {
    Bytes b = Block(0x0100, 2 + 8 * cells.size(), 0);
    for (size_t c = 0; c < cells.size(); ++c)
        for (int beam = 0; beam < 4; ++beam) PutLE16(b, 2 + 8 * c + 2 * beam, cells[c][beam]);
    return b;
}

Bytes BeamBytes(uint16_t id, const Bytes4& cells) {
    Bytes b = Block(id, 2 + 4 * cells.size(), 0);
    for (size_t c = 0; c < cells.size(); ++c)
        std::copy(cells[c].begin(), cells[c].end(), b.begin() + 2 + 4 * c);
    return b;
}

Bytes TextBlock(uint16_t id, const std::string& text, bool terminate) {
    Bytes b = Block(id, 2 + text.size() + (terminate ? 1 : 0), 0);
    std::copy(text.begin(), text.end(), b.begin() + 2);
    return b;
}

Bytes FlowMeter(uint16_t depth, uint16_t velA, uint16_t velB, uint16_t qLow, uint16_t qHigh) {
    Bytes b = Block(0x1300, 40, 0);
    PutLE16(b, 2, depth);
    PutLE16(b, 8, velA);
    PutLE16(b, 10, velB);
    PutLE16(b, 36, qLow);
    PutLE16(b, 38, qHigh);
    return b;
}

static void FixBroadbandChecksum(Bytes& e) {
    const size_t n = e.size() - 2;
    PutLE16(e, n, std::accumulate(e.begin(), e.begin() + static_cast<long>(n), 0u) & 0xFFFF);
}

Bytes Broadband(const std::vector<Bytes>& dataTypes, std::vector<uint16_t> offsets) {
    if (offsets.empty()) {
        size_t at = 6 + 2 * dataTypes.size();
        for (const auto& t : dataTypes) {
            offsets.push_back(static_cast<uint16_t>(at));
            at += t.size();
        }
    }
    Bytes e(6 + 2 * offsets.size(), 0);
    e[0] = e[1] = 0x7F;
    e[5] = static_cast<uint8_t>(offsets.size());
    for (size_t i = 0; i < offsets.size(); ++i) PutLE16(e, 6 + 2 * i, offsets[i]);
    for (const auto& t : dataTypes) e.insert(e.end(), t.begin(), t.end());
    PutLE16(e, 2, static_cast<uint32_t>(e.size()));
    e.resize(e.size() + 2);
    FixBroadbandChecksum(e);
    return e;
}

Bytes SimpleBroadband(uint32_t number, uint8_t cells) {
    FixedLeaderFields fl;
    fl.NumCells = cells;
    VariableLeaderFields vl;
    vl.EnsembleNumber = number;
    Words4 vel(cells);
    for (uint8_t c = 0; c < cells; ++c) vel[c] = {static_cast<uint16_t>(number + c), c, 7, 0xFFFF};
    return Broadband({FixedLeader(fl), VariableLeader(vl), Velocity(vel)});
}

Bytes NarrowbandLeader(const NarrowbandLeaderFields& f) {
    Bytes b(63, 0);
    std::copy(f.TimeBcd.begin(), f.TimeBcd.end(), b.begin());
    b[6] = 0x02; // time per ping 00:02.50
    b[7] = 0x50;
    PutBE16(b, 8, 100); // pings
    const uint8_t setUp[5] = {f.NumCells, f.CellCode, f.Xmit, f.Blank, f.Delay};
    std::copy(setUp, setUp + 5, b.begin() + 10);
    PutBE16(b, 15, f.EnsembleNumber);
    b[17] = f.Bit;
    b[18] = f.Config;
    PutBE16(b, 21, static_cast<uint16_t>(f.Pitch));
    PutBE16(b, 23, static_cast<uint16_t>(f.Roll));
    PutBE16(b, 25, f.Heading);
    PutBE16(b, 27, f.TempCount);
    b[29] = f.XmitVoltage;
    const Bytes counts = NarrowbandVelocity({f.BTCounts});
    std::copy(counts.begin(), counts.end(), b.begin() + 41);
    for (int beam = 0; beam < 4; ++beam) PutBE16(b, 47 + 2 * beam, f.BTRange[beam]);
    return b;
}

Bytes NarrowbandVelocity(const Words4& counts) {
    Bytes b;
    for (const auto& c : counts) {
        for (int pair = 0; pair < 2; ++pair) {
            const uint16_t a = c[2 * pair], d = c[2 * pair + 1];
            b.push_back(static_cast<uint8_t>(a >> 4));
            b.push_back(static_cast<uint8_t>(((a & 0x0F) << 4) | (d >> 8)));
            b.push_back(static_cast<uint8_t>(d & 0xFF));
        }
    }
    return b;
}

Bytes NarrowbandBeamBytes(const Bytes4& cells) {
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
        e.insert(e.end(), blocks[k]->begin(), blocks[k]->end());
    }
    PutBE16(e, 0, static_cast<uint32_t>(e.size()));
    const uint32_t sum = std::accumulate(e.begin(), e.end(), 0u);
    e.resize(e.size() + 2);
    PutBE16(e, e.size() - 2, sum & 0xFFFF);
    return e;
}

Bytes SimpleNarrowband(uint16_t number) {
    NarrowbandLeaderFields f;
    f.EnsembleNumber = number;
    return Narrowband(NarrowbandLeader(f), NarrowbandVelocity({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}));
}

EnsembleFrame FrameOf(const Bytes& ensemble, bool narrowband) {
    EnsembleFrame frame;
    frame.EnsembleBuffer = ensemble;
    frame.EnsembleBytes =
        narrowband ? (ensemble.at(0) << 8) | ensemble.at(1) : ensemble.at(2) | (ensemble.at(3) << 8);
    return frame;
}

std::string WriteScratch(const Bytes& bytes) {
    const auto path = ScratchDir() / "ensembles.bin";
    WriteAll(path, bytes);
    return path.string();
}

} // namespace mvx::test
