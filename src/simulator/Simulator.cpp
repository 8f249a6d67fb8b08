#include "simulator/Simulator.h"

#include "common/Angles.h"
#include "common/OutputFile.h"
#include "simulator/EnsembleEncoder.h"
#include "simulator/SimulatedDeployment.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mvx {

namespace {

using sim::Attitude;
using sim::BeamGeometry;
using sim::CivilTime;
using sim::Deployment;
using sim::Rotation;
using sim::SimRandom;
using sim::Vec3;

constexpr double kBeamAngle = 20.0;
constexpr double kBaseLatitude = 50.1042; // where the platform is moored
constexpr double kBaseLongitude = -4.9318;
constexpr uint8_t kNarrowbandFrequencyCode = 2; // 307.2 kHz
constexpr int32_t kMaxEnsembleNumber = 0xFFFFFF;

double Clamp(double v, double lo, double hi) {
    return std::min(std::max(v, lo), hi);
}

// Rounds to the nearest integer, halves to even.
int64_t RoundEven(double v) {
    return static_cast<int64_t>(std::nearbyint(v));
}

uint8_t ClampByte(double v) {
    return static_cast<uint8_t>(Clamp(static_cast<double>(RoundEven(v)), 0, 255));
}

// A velocity in mm/s as the 16-bit two's complement word an instrument writes.
uint16_t VelocityWord(double mmPerSecond) {
    const auto v = static_cast<int32_t>(Clamp(static_cast<double>(RoundEven(mmPerSecond)), -32767, 32767));
    return static_cast<uint16_t>(v);
}

// A velocity as a narrowband 12-bit count of the given resolution (mm/s per count).
uint16_t NarrowbandCount(double mmPerSecond, double resolution) {
    const auto c =
        static_cast<int32_t>(Clamp(static_cast<double>(RoundEven(mmPerSecond / resolution)), -2047, 2047));
    return static_cast<uint16_t>(c & 0x0FFF);
}

int32_t BinaryAngle(double degrees) {
    const double v = Clamp(degrees * 2147483648.0 / 180.0, -2147483648.0, 2147483647.0);
    return static_cast<int32_t>(RoundEven(v));
}

uint16_t DirectionWord(double east, double north) {
    double deg = std::atan2(east, north) * 180.0 / kPi;
    if (deg < 0) deg += 360.0;
    return static_cast<uint16_t>(RoundEven(deg * 65536.0 / 360.0) & 0xFFFF);
}

// What one simulated cell holds in every beam before it becomes words or counts (mm/s).
struct CellValues {
    double Velocity[4] = {0, 0, 0, 0};
    bool Bad[4] = {false, false, false, false};
    uint8_t Correlation[4] = {0, 0, 0, 0};
    uint8_t Echo[4] = {0, 0, 0, 0};
    uint8_t PercentGood[4] = {0, 0, 0, 0};
};

SimulationSpec Sanitized(SimulationSpec s) {
    s.Ensembles = std::max(s.Ensembles, 0);
    s.Cells = std::clamp(s.Cells, 1, 255);
    s.CellSize = Clamp(s.CellSize, 0.01, 655.35);
    s.FirstBin = Clamp(s.FirstBin, 0.0, 655.35);
    s.StrayBytes = std::max(s.StrayBytes, 0);
    s.DamageEvery = std::max(s.DamageEvery, 0);
    s.TextVary = std::clamp(s.TextVary, 0, 4000);
    s.CellsVary = std::clamp(s.CellsVary, 0, s.Cells - 1);
    s.FirstExtraBytes = std::clamp(s.FirstExtraBytes, 0, 4000);
    s.RecordsBetween = s.RecordsBetween <= 0 ? 0 : std::clamp(s.RecordsBetween, 6, 60000);
    s.FirstEnsembleNumber = std::clamp(s.FirstEnsembleNumber, 0, kMaxEnsembleNumber);
    if (!(s.IntervalSeconds >= 0.01)) s.IntervalSeconds = 0.01;
    s.IntervalSeconds = std::min(s.IntervalSeconds, 86400.0);
    if (s.Narrowband) {
        // The narrowband layout has no text, flow-meter or navigation blocks.
        s.TextBlock = s.FlowMeter = s.Navigation = false;
    }
    CivilTime t{s.Year, s.Month, s.Day, s.Hour, s.Minute, s.Second, 0};
    if (!sim::ValidCivilTime(t)) {
        const SimulationSpec defaults;
        s.Year = defaults.Year;
        s.Month = defaults.Month;
        s.Day = defaults.Day;
        s.Hour = defaults.Hour;
        s.Minute = defaults.Minute;
        s.Second = defaults.Second;
    }
    return s;
}

} // namespace

struct Simulator::Impl {
    SimulationSpec spec;
    Deployment world;
    BeamGeometry beams;
    SimRandom physics;     // everything the instrument measures
    SimRandom stray;       // stray bytes and damage have their own sources, so that switching them on
    SimRandom damage;      // leaves the measurements (and the other's bytes) unchanged
    SimRandom shape;       // the varying lengths and the records between the ensembles
    int32_t cellCount = 0; // the cell count of the ensemble being made
    CivilTime start;
    int32_t index = 0;
    double bin1 = 0, cell = 0; // m, the geometry the ensembles announce
    size_t pad = 0;
    bool padChosen = false;

    explicit Impl(const SimulationSpec& s)
        : spec(Sanitized(s)), world(spec.UpLooking), beams(kBeamAngle, spec.UpLooking), physics(spec.Seed),
          stray(static_cast<uint64_t>(spec.Seed) ^ 0xA5A5F00DCAFEull),
          damage(static_cast<uint64_t>(spec.Seed) ^ 0x5EEDDA4A6Eull),
          shape(static_cast<uint64_t>(spec.Seed) ^ 0x7E47B10C5ull), cellCount(spec.Cells) {
        start = CivilTime{spec.Year, spec.Month, spec.Day, spec.Hour, spec.Minute, spec.Second, 0};
        if (spec.Narrowband) {
            // Narrowband cells are a power of two metres long.
            int code = static_cast<int>(RoundEven(std::log2(std::max(spec.CellSize, 1.0))));
            code = std::clamp(code, 0, 7);
            cell = std::ldexp(1.0, code);
            bin1 = NarrowbandBin1(code);
        } else {
            cell = RoundEven(spec.CellSize * 100) / 100.0;
            bin1 = RoundEven(spec.FirstBin * 100) / 100.0;
        }
    }

    double NarrowbandBin1(int code) const {
        const double length = std::ldexp(1.0, code);
        const double transmit = std::min(length, 255.0);
        const double blank =
            Clamp(static_cast<double>(RoundEven(spec.FirstBin - (transmit + length) / 2)), 0, 255);
        return (transmit + length) / 2 + blank;
    }

    bool LengthBytesAreClear(const std::vector<uint8_t>& bytes) const {
        if (spec.Narrowband) return bytes[0] != 0x3F && bytes[1] != 0x3F && bytes[2] != 0x3F;
        return bytes[2] != 0x7F;
    }

    bool Varying() const { return spec.TextVary > 0 || spec.CellsVary > 0 || spec.FirstExtraBytes > 0; }

    std::vector<uint8_t> Encode(EnsembleContents& c) {
        // A length byte equal to the sync value would make a false start right before the real one.
        // Ensembles of one length are checked once, ensembles of varying length each time.
        if (!padChosen || Varying()) {
            for (pad = 0; pad < 4; ++pad) {
                c.PadBytes = pad;
                if (LengthBytesAreClear(spec.Narrowband ? EncodeNarrowband(c) : EncodeBroadband(c))) break;
            }
            padChosen = true;
        }
        c.PadBytes = pad;
        return spec.Narrowband ? EncodeNarrowband(c) : EncodeBroadband(c);
    }

    EnsembleContents MakeContents(int32_t i);
    void VaryLength(EnsembleContents& c);
    void AppendOtherRecord(std::vector<uint8_t>& out);
    void FillCells(EnsembleContents& c, double t, const Rotation& rotation, double transducerDepth,
                   double boundary, const Vec3& platform, double nbResolution,
                   std::vector<CellValues>& cells);
    void Damage(std::vector<uint8_t>& bytes);
};

void Simulator::Impl::FillCells(EnsembleContents& c, double t, const Rotation& rotation,
                                double transducerDepth, double boundary, const Vec3& platform,
                                double nbResolution, std::vector<CellValues>& cells) {
    const bool earth = !spec.BeamCoordinates && !spec.FlowMeter;
    const double sinB = std::sin(kBeamAngle * kPi / 180), cosB = std::cos(kBeamAngle * kPi / 180);
    const double sign = spec.UpLooking ? -1.0 : 1.0; // depth grows away from a down-looking head
    const double waterDepth = world.WaterDepth(t);
    double factor[4];
    for (int b = 0; b < 4; ++b) factor[b] = beams.VerticalFactor(b, rotation);
    static const double kBeamGain[4] = {0, 3, -2, 1};

    cells.assign(static_cast<size_t>(cellCount), CellValues{});
    for (int k = 0; k < cellCount; ++k) {
        CellValues& v = cells[static_cast<size_t>(k)];
        const double d = bin1 + k * cell;
        // The same draws in every coordinate system, so beam and earth files of one seed agree.
        const Vec3 noise{physics.Normal(0.015), physics.Normal(0.015), physics.Normal(0.006)};
        double beamNoise[4];
        for (double& n : beamNoise) n = physics.Normal(0.005);
        auto Relative = [&](double vertical) {
            const double depth = Clamp(transducerDepth + sign * vertical, 0.0, waterDepth);
            const Vec3 w = world.Current(t, depth);
            return Vec3{w.x - platform.x + noise.x, w.y - platform.y + noise.y, w.z - platform.z + noise.z};
        };

        if (earth) {
            const Vec3 rel = Relative(d);
            v.Velocity[0] = rel.x * 1000;
            v.Velocity[1] = rel.y * 1000;
            v.Velocity[2] = rel.z * 1000;
            v.Velocity[3] = (beamNoise[0] + beamNoise[1] - beamNoise[2] - beamNoise[3]) * 1000 /
                            (2 * std::sqrt(2.0) * sinB);
            const bool beyond = d + cell / 2 > boundary;
            for (bool& bad : v.Bad) bad = beyond;
        } else if (spec.FlowMeter) {
            // Two horizontal beams either side of the channel axis, and two that see the vertical flow.
            const Vec3 rel = Relative(d);
            const double along = rel.x * std::sin(40 * kPi / 180) + rel.y * std::cos(40 * kPi / 180);
            v.Velocity[0] = (along * sinB + beamNoise[0]) * 1000;
            v.Velocity[1] = (rel.z + beamNoise[1]) * 1000;
            v.Velocity[2] = (-along * sinB + beamNoise[2]) * 1000;
            v.Velocity[3] = beamNoise[3] * 1000;
            const bool beyond = d + cell / 2 > boundary;
            for (bool& bad : v.Bad) bad = beyond;
        } else {
            for (int b = 0; b < 4; ++b) {
                // A tilted beam reaches another depth than the nominal cell: sample the water there.
                const Vec3 rel = rotation.ToInstrument(Relative(d * factor[b]));
                v.Velocity[b] = (beams.BeamVelocity(b, rel) + beamNoise[b]) * 1000;
                v.Bad[b] = (d + cell / 2) * factor[b] > boundary;
            }
        }

        for (int b = 0; b < 4; ++b) {
            const double slant = std::max(d / cosB, 0.5);
            const double vertical = d * factor[b];
            const double fromBoundary = (boundary - vertical) / cell; // cells short of the boundary
            const double floor = 38;
            double echo = std::max(175 - 44 * std::log10(slant) - 0.6 * slant, floor);
            if (fromBoundary < 0) echo = floor + (echo - floor) * std::exp(fromBoundary / 1.5);
            echo += 70 * std::exp(-fromBoundary * fromBoundary / 2) + kBeamGain[b] + physics.Normal(1.5);
            v.Echo[b] = ClampByte(echo);
            const double corr =
                fromBoundary > 0 ? 126 - 0.8 * slant + physics.Normal(2.5) : 35 + physics.Normal(6);
            v.Correlation[b] = ClampByte(corr);
        }

        const int spread = physics.Below(4);
        const bool anyBad = v.Bad[0] || v.Bad[1] || v.Bad[2] || v.Bad[3];
        for (int b = 0; b < 4; ++b) {
            if (spec.Narrowband) {
                v.PercentGood[b] = v.Bad[b] ? 0 : static_cast<uint8_t>(100 - spread);
            } else if (earth) {
                // 3-beam solutions, rejected, more than one beam bad, 4-beam solutions.
                const uint8_t good[4] = {static_cast<uint8_t>(spread), 0, 0,
                                         static_cast<uint8_t>(100 - spread)};
                const uint8_t bad[4] = {0, 0, 100, 0};
                v.PercentGood[b] = anyBad ? bad[b] : good[b];
            } else {
                v.PercentGood[b] = v.Bad[b] ? 0 : static_cast<uint8_t>(100 - spread);
            }
        }
    }

    if (spec.Narrowband) {
        c.Velocity.resize(cells.size());
        for (size_t k = 0; k < cells.size(); ++k)
            for (int b = 0; b < 4; ++b)
                c.Velocity[k][b] = cells[k].Bad[b] ? kBadNarrowbandCount
                                                   : NarrowbandCount(cells[k].Velocity[b], nbResolution);
    } else {
        c.Velocity.resize(cells.size());
        for (size_t k = 0; k < cells.size(); ++k)
            for (int b = 0; b < 4; ++b)
                c.Velocity[k][b] = cells[k].Bad[b] ? kBadVelocityWord : VelocityWord(cells[k].Velocity[b]);
    }
    c.Correlation.resize(cells.size());
    c.Echo.resize(cells.size());
    c.PercentGood.resize(cells.size());
    for (size_t k = 0; k < cells.size(); ++k)
        for (int b = 0; b < 4; ++b) {
            c.Correlation[k][b] = cells[k].Correlation[b];
            c.Echo[k][b] = cells[k].Echo[b];
            c.PercentGood[k][b] = cells[k].PercentGood[b];
        }
}

EnsembleContents Simulator::Impl::MakeContents(int32_t i) {
    EnsembleContents c;
    const double t = i * spec.IntervalSeconds;
    const CivilTime now = sim::AddHundredths(start, RoundEven(t * 100));
    const bool earth = !spec.BeamCoordinates && !spec.FlowMeter;
    const double tilt = spec.UpLooking ? 0.02 : 0.15;

    // Sensors.
    Attitude attitude = world.SmoothAttitude(t);
    attitude.Heading = std::fmod(attitude.Heading + physics.Normal(0.3) + 360.0, 360.0);
    attitude.Pitch += physics.Normal(tilt);
    attitude.Roll += physics.Normal(tilt);
    const double temperature = world.Temperature(t) + physics.Normal(0.01);
    const double transducerDepth = world.TransducerDepth(t);
    const double heave = spec.UpLooking ? 0.0 : physics.Normal(0.03);
    const double boundary = world.BoundaryRange(t) - heave;
    const Vec3 platform = world.PlatformVelocity(t);
    const uint32_t number =
        (static_cast<uint32_t>(spec.FirstEnsembleNumber) + static_cast<uint32_t>(i)) & kMaxEnsembleNumber;

    // The attitude the file carries is what the readers transform with, so the beams are made from it.
    Attitude recorded;
    double nbResolution = 0;
    if (spec.Narrowband) {
        NarrowbandLeaderContents& nb = c.Narrowband;
        auto Word = [](double deg) {
            return static_cast<uint16_t>(RoundEven(deg * 65536.0 / 360.0) & 0xFFFF);
        };
        auto Back = [](uint16_t word, bool isSigned) {
            const int32_t w = isSigned && word > 32767 ? word - 65536 : word;
            return static_cast<double>(RoundEven(w * 36000.0 / 65536.0)) / 100.0;
        };
        nb.PitchWord = Word(attitude.Pitch);
        nb.RollWord = Word(attitude.Roll);
        nb.HeadingWord = Word(attitude.Heading);
        recorded = {Back(nb.HeadingWord, false), Back(nb.PitchWord, true), Back(nb.RollWord, true)};
        nb.TemperatureCount = static_cast<uint16_t>(
            Clamp(static_cast<double>(RoundEven((45 - temperature) * 4096 / 50)), 0, 65535));
        // The velocity step of one count scales with the sound speed at the recorded temperature.
        const double tc = 45 - nb.TemperatureCount * 50.0 / 4096;
        const double c0 = 1449.2 + 4.6 * tc - 0.055 * tc * tc + 0.00029 * tc * tc * tc;
        nbResolution = (earth ? 2.5 : 1.25) * c0 / 1536;
        const int code = static_cast<int>(std::log2(cell) + 0.5);
        nb.BinLengthCode = static_cast<uint8_t>(code);
        nb.TransmitLength = static_cast<uint8_t>(std::min(cell, 255.0));
        nb.Blank = static_cast<uint8_t>(bin1 - (nb.TransmitLength + cell) / 2);
        nb.Delay = 0;
        nb.ConfigByte = static_cast<uint8_t>(0x80 | (kNarrowbandFrequencyCode << 4) |
                                             (spec.UpLooking ? 0 : 0x04) | (earth ? 0x02 : 0));
        nb.SignalToNoise = 30;
        nb.PGoodThreshold = 25;
    } else {
        c.Variable.Heading = static_cast<uint16_t>(RoundEven(attitude.Heading * 100) % 36000);
        c.Variable.Pitch = static_cast<int16_t>(RoundEven(attitude.Pitch * 100));
        c.Variable.Roll = static_cast<int16_t>(RoundEven(attitude.Roll * 100));
        recorded = {c.Variable.Heading / 100.0, c.Variable.Pitch / 100.0, c.Variable.Roll / 100.0};
    }
    const Rotation rotation(recorded);

    // Fixed leader.
    FixedLeaderContents& f = c.Fixed;
    if (spec.FlowMeter) {
        f.FirmwareVersion = 6;
        f.FirmwareRevision = 5;
    }
    f.SystemConfig = spec.UpLooking ? 0x41CB : 0x414B;
    f.NumCells = static_cast<uint8_t>(cellCount);
    const int pings = std::clamp(static_cast<int>(RoundEven(spec.IntervalSeconds)), 1, 60);
    f.PingsPerEnsemble = static_cast<uint16_t>(pings);
    const int64_t pingHundredths =
        std::min<int64_t>(RoundEven(spec.IntervalSeconds * 100 / pings), 99 * 6000);
    f.TimePerPing[0] = static_cast<uint8_t>(pingHundredths / 6000);
    f.TimePerPing[1] = static_cast<uint8_t>(pingHundredths / 100 % 60);
    f.TimePerPing[2] = static_cast<uint8_t>(pingHundredths % 100);
    f.CellLength = static_cast<uint16_t>(RoundEven(cell * 100));
    f.Bin1Distance = static_cast<uint16_t>(RoundEven(bin1 * 100));
    f.XmitPulseLength = static_cast<uint16_t>(std::min<int64_t>(RoundEven(cell * 118), 65535));
    f.CoordTransform = earth ? 0x1F : 0x00;
    f.BeamAngle = static_cast<uint8_t>(kBeamAngle);

    // Variable leader.
    VariableLeaderContents& v = c.Variable;
    v.EnsembleNumber = spec.Narrowband ? (number & 0xFFFF) : number;
    v.Year = static_cast<uint8_t>(now.Year % 100);
    v.Century = static_cast<uint8_t>(now.Year / 100);
    v.Month = static_cast<uint8_t>(now.Month);
    v.Day = static_cast<uint8_t>(now.Day);
    v.Hour = static_cast<uint8_t>(now.Hour);
    v.Minute = static_cast<uint8_t>(now.Minute);
    v.Second = static_cast<uint8_t>(now.Second);
    v.Hundredths = static_cast<uint8_t>(now.Hundredths);
    v.SpeedOfSound = static_cast<uint16_t>(RoundEven(world.SoundSpeed(temperature, transducerDepth)));
    v.DepthDm = static_cast<uint16_t>(RoundEven(transducerDepth * 10));
    v.Salinity = static_cast<uint16_t>(world.Salinity());
    v.Temperature = static_cast<int16_t>(RoundEven(temperature * 100));
    v.HeadingStd = static_cast<uint8_t>(1 + physics.Below(3));
    v.PitchStd = static_cast<uint8_t>(physics.Below(3));
    v.RollStd = static_cast<uint8_t>(physics.Below(3));
    v.TransmitCurrent = static_cast<uint8_t>(62 + physics.Below(5));
    v.TransmitVoltage = ClampByte(168 - 10 * t / 86400 + physics.Below(2));
    const uint8_t adc[6] = {ClampByte(150 - 4 * temperature), 131, 104,
                            ClampByte(150 - 4 * temperature), 78,  160};
    std::copy(adc, adc + 6, v.OtherAdc);
    const double pressureDepthMm = transducerDepth * 1000 + (spec.UpLooking ? 0.0 : heave * 1000);
    v.Pressure =
        static_cast<uint32_t>(std::max<int64_t>(RoundEven(pressureDepthMm / (1.02 - 0.00069 * 35)), 0));
    v.PressureVariance = static_cast<uint32_t>(physics.Below(40));

    std::vector<CellValues> cells;
    FillCells(c, t, rotation, transducerDepth, boundary, platform, nbResolution, cells);

    // Bottom track (or surface track for an up-looking head).
    const Vec3 ground = rotation.ToInstrument({-platform.x, -platform.y, -platform.z});
    double btVelocity[4];
    double btRange[4];
    for (int b = 0; b < 4; ++b) {
        btRange[b] = boundary / beams.VerticalFactor(b, rotation) * 100 + physics.Normal(2);
        const double noise = physics.Normal(0.002);
        if (earth) {
            const double comps[4] = {-platform.x, -platform.y, -platform.z, 0};
            btVelocity[b] = (comps[b] + noise) * 1000;
        } else {
            btVelocity[b] = (beams.BeamVelocity(b, ground) + noise) * 1000;
        }
    }
    if (spec.Narrowband) {
        for (int b = 0; b < 4; ++b) {
            c.Narrowband.BTVelocity[b] =
                spec.BottomTrack ? NarrowbandCount(btVelocity[b], nbResolution) : kBadNarrowbandCount;
            c.Narrowband.BTRange[b] =
                spec.BottomTrack ? static_cast<uint16_t>(RoundEven(btRange[b] * 1475.1 / 153600)) : 0;
        }
    } else if (spec.BottomTrack) {
        c.HasBottomTrack = true;
        BottomTrackContents& bt = c.BottomTrack;
        for (int b = 0; b < 4; ++b) {
            bt.Range[b] = static_cast<uint32_t>(std::max<int64_t>(RoundEven(btRange[b]), 1));
            bt.Velocity[b] = VelocityWord(btVelocity[b]);
            bt.Correlation[b] = ClampByte(236 + physics.Normal(4));
            bt.EvalAmplitude[b] = ClampByte(85 + physics.Normal(5));
            bt.PercentGood[b] = 100;
            bt.RssiAmplitude[b] = ClampByte(190 + physics.Normal(6));
            // The reference layer: the mean of the first five cells.
            double sum = 0, corr = 0, echo = 0, pg = 0;
            int n = 0;
            for (int k = 0; k < std::min(5, cellCount); ++k) {
                const CellValues& cv = cells[static_cast<size_t>(k)];
                corr += cv.Correlation[b];
                echo += cv.Echo[b];
                pg += cv.PercentGood[b];
                if (cv.Bad[b]) continue;
                sum += cv.Velocity[b];
                ++n;
            }
            const int m = std::min(5, cellCount);
            bt.RefVelocity[b] = n > 0 ? VelocityWord(sum / n) : kBadVelocityWord;
            bt.RefCorrelation[b] = ClampByte(corr / m);
            bt.RefIntensity[b] = ClampByte(echo / m);
            bt.RefPercentGood[b] = ClampByte(pg / m);
        }
        bt.Gain = 1;
    }

    if (spec.TextBlock) {
        c.HasText = true;
        char text[64];
        const double pressure = transducerDepth + heave;
        std::snprintf(text, sizeof text, "%8.4f,%9.5f,%9.3f,%8.4f", Clamp(temperature, -5, 99),
                      Clamp(3.9 + 0.09 * (temperature - 12), 0, 9), Clamp(pressure, 0, 9999),
                      35.0 + physics.Normal(0.002));
        c.Text = text;
    }

    if (spec.FlowMeter) {
        c.HasFlowMeter = true;
        const double phase = 2 * kPi * t / (12.42 * 3600);
        const double depth = 2.5 + 0.4 * std::sin(phase);
        const double speed = 0.6 + 0.25 * std::fabs(std::cos(phase)) + physics.Normal(0.01);
        c.FlowMeter.Depth = static_cast<uint16_t>(RoundEven(depth * 10000));
        c.FlowMeter.Velocity1 = static_cast<uint16_t>(RoundEven(speed * 1000));
        c.FlowMeter.Velocity2 = static_cast<uint16_t>(RoundEven(speed * 1000 + physics.Normal(5)));
        c.FlowMeter.Discharge = static_cast<uint32_t>(RoundEven(speed * 12.0 * depth * 1e6));
    }

    if (spec.Navigation) {
        c.HasNavigation = true;
        NavigationContents& nav = c.Navigation;
        const double metresPerDegree = 111320.0;
        const double cosLat = std::cos(kBaseLatitude * kPi / 180);
        const Vec3 first = world.PlatformDisplacement(std::max(t - spec.IntervalSeconds, 0.0));
        const Vec3 last = world.PlatformDisplacement(t);
        auto Lat = [&](const Vec3& p) { return BinaryAngle(kBaseLatitude + p.y / metresPerDegree); };
        auto Lon = [&](const Vec3& p) {
            return BinaryAngle(kBaseLongitude + p.x / (metresPerDegree * cosLat));
        };
        nav.Day = static_cast<uint8_t>(now.Day);
        nav.Month = static_cast<uint8_t>(now.Month);
        nav.Year = static_cast<uint16_t>(now.Year);
        const int64_t dayTicks = 864000000;
        const int64_t lastTicks =
            ((now.Hour * 60 + now.Minute) * 60 + now.Second) * 10000 + now.Hundredths * 100;
        const int64_t span = std::min<int64_t>(RoundEven(spec.IntervalSeconds * 10000), dayTicks);
        nav.LastFixTime = static_cast<uint32_t>(lastTicks);
        nav.FirstFixTime = static_cast<uint32_t>((lastTicks - span + dayTicks) % dayTicks);
        nav.ClockOffset = 120 + physics.Below(20);
        nav.FirstLatitude = Lat(first);
        nav.FirstLongitude = Lon(first);
        nav.LastLatitude = Lat(last);
        nav.LastLongitude = Lon(last);
        const double dx = last.x - first.x, dy = last.y - first.y;
        const double made =
            t > 0 ? std::hypot(dx, dy) / spec.IntervalSeconds : std::hypot(platform.x, platform.y);
        nav.SpeedMadeGood = static_cast<uint16_t>(std::min<int64_t>(RoundEven(made * 1000), 65535));
        nav.DirectionMadeGood = t > 0 ? DirectionWord(dx, dy) : DirectionWord(platform.x, platform.y);
        nav.AverageSpeed = static_cast<uint16_t>(
            std::min<int64_t>(RoundEven(std::hypot(platform.x, platform.y) * 1000), 65535));
        nav.AverageTrackTrue = DirectionWord(platform.x, platform.y);
        nav.AverageTrackMagnetic = static_cast<uint16_t>(nav.AverageTrackTrue + RoundEven(1.5 * 65536 / 360));
        nav.EnsembleNumber = number;
    }
    return c;
}

void Simulator::Impl::VaryLength(EnsembleContents& c) {
    int32_t extra = spec.TextVary > 0 ? static_cast<int32_t>(shape.Below(spec.TextVary + 1)) : 0;
    if (index == 0) extra += spec.FirstExtraBytes;
    if (extra == 0 && spec.TextVary == 0) return;
    c.HasText = true;
    static const char kSentence[] =
        "$GPGGA,123519.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    for (int32_t k = 0; k < extra; ++k) c.Text += kSentence[static_cast<size_t>(k) % (sizeof kSentence - 1)];
}

void Simulator::Impl::AppendOtherRecord(std::vector<uint8_t>& out) {
    // Id 0x7F 0x79, its length, a payload without sync bytes, and the checksum of what precedes it.
    const size_t n = static_cast<size_t>(spec.RecordsBetween) - 2;
    const size_t at = out.size();
    out.push_back(0x7F);
    out.push_back(0x79);
    out.push_back(static_cast<uint8_t>(n & 0xFF));
    out.push_back(static_cast<uint8_t>(n >> 8));
    for (size_t k = 4; k < n; ++k) out.push_back(static_cast<uint8_t>(shape.Below(0x7F)));
    const uint16_t sum = EnsembleChecksum(out.data() + at, n);
    out.push_back(static_cast<uint8_t>(sum & 0xFF));
    out.push_back(static_cast<uint8_t>(sum >> 8));
}

void Simulator::Impl::Damage(std::vector<uint8_t>& e) {
    const size_t n = e.size() - 2;
    const size_t first = spec.Narrowband ? 14 : 6 + 2 * static_cast<size_t>(e[5]);
    const uint8_t sync = spec.Narrowband ? 0x3F : 0x7F;
    if (n <= first) return;
    auto Stored = [&] {
        return spec.Narrowband ? static_cast<uint16_t>(e[n] << 8 | e[n + 1])
                               : static_cast<uint16_t>(e[n] | e[n + 1] << 8);
    };
    const size_t at = first + static_cast<size_t>(damage.Below(static_cast<int>(n - first)));
    // A reader that rejects this ensemble hunts through its bytes for the next start. Sync bytes inside
    // it could start false candidates whose announced length runs past the end of a short file, so
    // they are altered too: the ensemble is never decoded anyway.
    do {
        uint8_t changed;
        do changed = static_cast<uint8_t>(e[at] ^ (1 + damage.Below(255)));
        while (changed == 0x7F || changed == 0x3F);
        e[at] = changed;
        if (spec.Narrowband) {
            for (size_t j = 4; j < e.size(); ++j)
                if (e[j] == sync) e[j] = sync - 1;
        } else {
            for (size_t j = 3; j < e.size(); ++j)
                if (e[j] == sync && (e[j - 1] == sync || j + 1 == e.size())) e[j] = sync - 1;
        }
    } while (EnsembleChecksum(e.data(), n) == Stored());
}

Simulator::Simulator(const SimulationSpec& spec) : impl_(new Impl(spec)) {}

Simulator::~Simulator() {
    delete impl_;
}

int32_t Simulator::Index() const {
    return impl_->index;
}

bool Simulator::Next(std::vector<uint8_t>& out) {
    Impl& s = *impl_;
    if (s.index >= s.spec.Ensembles) return false;
    s.cellCount = s.spec.Cells;
    if (s.spec.CellsVary > 0) s.cellCount -= static_cast<int32_t>(s.shape.Below(s.spec.CellsVary + 1));
    EnsembleContents contents = s.MakeContents(s.index);
    s.VaryLength(contents);
    std::vector<uint8_t> bytes = s.Encode(contents);
    if (s.spec.DamageEvery > 0 && (s.index + 1) % s.spec.DamageEvery == 0) s.Damage(bytes);
    out.insert(out.end(), bytes.begin(), bytes.end());
    if (s.index + 1 < s.spec.Ensembles && s.spec.RecordsBetween > 0) s.AppendOtherRecord(out);
    if (s.index + 1 < s.spec.Ensembles)
        for (int32_t k = 0; k < s.spec.StrayBytes; ++k) out.push_back(s.stray.NoiseByte());
    ++s.index;
    return true;
}

std::string SimulationSpecProblem(const SimulationSpec& s) {
    if (s.Ensembles < 1 || s.Ensembles > kMaxEnsembleNumber)
        return "the number of ensembles must be 1 to 16777215";
    if (s.Cells < 1 || s.Cells > 255) return "the number of cells must be 1 to 255";
    if (!(s.CellSize >= 0.01 && s.CellSize <= 655.35)) return "the cell size must be 0.01 to 655.35 m";
    if (!(s.FirstBin >= 0 && s.FirstBin <= 655.35)) return "the first bin distance must be 0 to 655.35 m";
    if (s.StrayBytes < 0 || s.StrayBytes > 1000000) return "stray bytes must be 0 to 1000000";
    if (s.DamageEvery < 0) return "damage-every must not be negative";
    if (s.TextVary < 0 || s.TextVary > 4000 || s.FirstExtraBytes < 0 || s.FirstExtraBytes > 4000)
        return "text length changes must be 0 to 4000 bytes";
    if (s.CellsVary < 0 || s.CellsVary >= s.Cells)
        return "the cell-count change must be below the number of cells";
    if (s.RecordsBetween != 0 && (s.RecordsBetween < 6 || s.RecordsBetween > 60000))
        return "records between ensembles must be 0 or 6 to 60000 bytes";
    if (s.FirstEnsembleNumber < 0 || s.FirstEnsembleNumber > kMaxEnsembleNumber)
        return "the first ensemble number must be 0 to 16777215";
    if (!(s.IntervalSeconds >= 0.01 && s.IntervalSeconds <= 86400))
        return "the interval must be 0.01 to 86400 s";
    if (!sim::ValidCivilTime(CivilTime{s.Year, s.Month, s.Day, s.Hour, s.Minute, s.Second, 0}))
        return "the start time is not a valid date and time (years 1900 to 2099)";
    return {};
}

bool WriteSimulatedFile(const SimulationSpec& spec, const std::string& path, std::string* error) {
    const std::string problem = SimulationSpecProblem(spec);
    if (!problem.empty()) {
        if (error) *error = problem;
        return false;
    }
    OutputFile file;
    if (file.Open(path)) {
        Simulator simulator(spec);
        std::vector<uint8_t> buffer;
        buffer.reserve(1 << 20);
        bool more = true;
        while (more && file.Ok()) {
            more = simulator.Next(buffer);
            if (buffer.size() >= (1u << 20) || !more) {
                file.Write(buffer.data(), buffer.size());
                buffer.clear();
            }
        }
    }
    if (file.Close()) return true;
    if (error) *error = file.Error();
    return false;
}

} // namespace mvx
