#include "dataset/VelocityProcessing.h"

#include "common/Angles.h"
#include "common/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mvx {

namespace {

constexpr double kDegreesPerRadian = 57.295779513083474;

double Radians(double degrees) {
    return degrees * kProcessingPi / 180.0;
}

// The arrays this file touches must have the rows it writes and hold the slot.
bool SlotUsable(const EnsembleSet& data, int slot) {
    if (!data.ValidSlot(slot)) return false;
    auto holds = [slot](const auto& a, int rows) { return a.Rows() >= rows && slot < a.Slots(); };
    return holds(data.VelData, 6) && holds(data.BTVelData, 6) && holds(data.RefVelData, 6) &&
           holds(data.RefVelWork, 4) && holds(data.NavData, 2) && holds(data.BTRangeData, 5) &&
           holds(data.AncData, 3) && holds(data.IntensityData, 4) && holds(data.CorrData, 3);
}

// Cells in use, never more than the per-bin arrays hold.
int CellCount(const InstrumentSetup& setup, const EnsembleSet& data) {
    int limit = std::min({data.VelData.Bins(), data.IntensityData.Bins(), data.CorrData.Bins(), kMaxBins});
    return std::clamp(setup.NumCells, 0, limit);
}

// ---------------------------------------------------------------------------------------------------
// End of profile

// Cell of the bottom from the shortest bottom-track range, or -1.
int BottomTrackCell(const InstrumentSetup& setup, const Options& options, const EnsembleSet& data, int slot,
                    double cosTheta) {
    double r = 999999;
    bool found = false;
    for (int b = 0; b < 4; ++b) {
        int32_t range = data.BTRangeData(b, slot);
        if (range > 0 && range < r) {
            r = range;
            found = true;
        }
    }
    if (!found) return -1;
    if (options.EndOfProfile[kEopCosBeamAngle]) r *= cosTheta;
    const double cell = (r / 100.0 - setup.Bin1Distance - setup.XmitPulseLength) / setup.CellLength + 1.0;
    return RoundToInt32(cell);
}

// Cell just on the transducer side of the strongest echo bump over the four beams, or -1.
int EchoBumpCell(const InstrumentSetup& setup, const Options& options, const EnsembleSet& data, int slot,
                 int n, double cosTheta) {
    const double L = setup.CellLength;
    const double p = setup.XmitPulseLength;
    const int w = std::clamp(RoundToInt32(p / L) / 2, 1, kMaxBins); // wider than the profile: no window fits
    const bool up = setup.LooksUp();

    int bump = -1;
    int32_t sums[kMaxBins];
    for (int beam = 0; beam < 4; ++beam) {
        const uint8_t* intensity = data.IntensityData.RowData(beam, slot);
        int32_t running = 0;
        for (int i = 0; i < n; ++i) {
            running += intensity[i];
            sums[i] = running;
        }
        // The sum over the 2w bins in the window's middle less the sums over the w bins on either side.
        int32_t best = 0;
        int bestAt = 0;
        for (int i = 0; i + 4 * w <= n - 1; ++i) {
            int32_t d = sums[i] - 2 * sums[i + w] + 2 * sums[i + 3 * w] - sums[i + 4 * w];
            if (d > best) {
                best = d;
                bestAt = i;
            }
        }
        if (best > 10) {
            int k = up ? bestAt + w : n - bestAt - 3 * w - 2;
            bump = std::max(bump, k);
        }
    }
    if (bump < 0) return -1;
    double r = bump * L + setup.Bin1Distance + p;
    if (options.EndOfProfile[kEopCosBeamAngle]) r *= cosTheta;
    return RoundToInt32((r - setup.Bin1Distance - p) / L);
}

// ---------------------------------------------------------------------------------------------------
// Beam to earth

// Everything the beam-to-earth step needs, worked out once per ensemble.
struct EarthTransform {
    double a = 0, b = 0, d = 0;
    int c[4] = {0, 0, 0, 0}; // signs of the horizontal terms
    int m[4] = {0, 0, 0, 0}; // signs of the tilt cell mapping
    // Earth components from instrument x, y, z.
    double e0 = 0, e1 = 0, e2 = 0;
    double n0 = 0, n1 = 0, n2 = 0;
    double u0 = 0, u1 = 0, u2 = 0;
    double g[4] = {1, 1, 1, 1}; // cell scale per beam
};

EarthTransform MakeTransform(const InstrumentSetup& setup, const EnsembleSet& data, int slot) {
    EarthTransform t;
    const double theta = Radians(BeamAngleDegrees(setup));
    const double sinT = std::sin(theta), cosT = std::cos(theta);
    const bool up = setup.LooksUp();
    const bool bit3 = (setup.SystemConfig & 0x08) != 0;

    t.a = 1.0 / (2.0 * sinT);
    t.b = 1.0 / (4.0 * cosT);
    if (up) t.b = -t.b;
    t.d = 1.0 / (2.0 * std::sqrt(2.0) * sinT);

    static constexpr int kSigns[4][2][4] = {
        {{-1, 1, 1, -1}, {-1, 1, 1, -1}}, // down, bit 3 clear: c, m
        {{1, -1, -1, 1}, {1, -1, -1, 1}}, // down, bit 3 set
        {{1, -1, 1, -1}, {-1, 1, -1, 1}}, // up, bit 3 clear
        {{-1, 1, -1, 1}, {1, -1, 1, -1}}, // up, bit 3 set
    };
    const int row = (up ? 2 : 0) + (bit3 ? 1 : 0);
    for (int i = 0; i < 4; ++i) {
        t.c[i] = kSigns[row][0][i];
        t.m[i] = kSigns[row][1][i];
    }

    double P = Radians(data.AncData(0, slot) / 100.0);
    const double R = Radians(data.AncData(1, slot) / 100.0);
    const double H = Radians(data.AncData(2, slot) / 100.0);

    // The pitch sensor's reading is turned into the angle of the tilted y axis.
    const double sinR = std::sin(R), cosR = std::cos(R);
    const double sr_sp = sinR * std::sin(P);
    const double tt = 1.0 - sr_sp * sr_sp;
    if (tt > 0) {
        const double x = cosR * std::sin(P) / std::sqrt(tt);
        const double rest = 1.0 - x * x;
        P = rest > 0 ? std::atan(x / std::sqrt(rest)) : std::copysign(kProcessingPi / 2, x);
    }
    const double sinP = std::sin(P), cosP = std::cos(P);
    const double sinH = std::sin(H), cosH = std::cos(H);

    t.e0 = cosH * cosR + sinH * sinR * sinP;
    t.e1 = sinH * cosP;
    t.e2 = cosH * sinR - sinH * cosR * sinP;
    t.n0 = cosH * sinR * sinP - sinH * cosR;
    t.n1 = cosH * cosP;
    t.n2 = sinH * sinR + cosH * sinP * cosR;
    t.u0 = -sinR * cosP;
    t.u1 = sinP;
    t.u2 = cosR * cosP;

    // The earth vertical in instrument axes; a tilted beam reaches a given depth at another cell.
    const double z1 = -sinR * cosP, z2 = sinP, z3 = cosR * cosP;
    for (int beam = 0; beam < 4; ++beam) {
        const double across = beam < 2 ? z1 : z2;
        t.g[beam] = cosT / (cosT * z3 + t.m[beam] * across * sinT);
    }
    return t;
}

// Four beam values (rows 0..3) to east, north, up and error, in place.
template <typename Rows> void BeamsToEarth(const EarthTransform& t, Rows v) {
    double B[4];
    int bad = -1, badCount = 0;
    for (int i = 0; i < 4; ++i) {
        B[i] = v[i];
        if (v[i] == kBadValue) {
            bad = i;
            ++badCount;
        }
    }
    if (badCount >= 2) {
        for (int i = 0; i < 4; ++i) v[i] = kBadValue;
        return;
    }
    // One bad beam: the value that makes the error velocity zero stands in for it.
    switch (badCount == 1 ? bad : -1) {
    case 0:
        B[0] = B[2] + B[3] - B[1];
        break;
    case 1:
        B[1] = B[2] + B[3] - B[0];
        break;
    case 2:
        B[2] = B[0] + B[1] - B[3];
        break;
    case 3:
        B[3] = B[0] + B[1] - B[2];
        break;
    default:
        break;
    }
    const double x = (t.c[0] * B[0] + t.c[1] * B[1]) * t.a;
    const double y = (t.c[2] * B[2] + t.c[3] * B[3]) * t.a;
    const double z = (B[0] + B[1] + B[2] + B[3]) * t.b;
    const double east = x * t.e0 + y * t.e1 + z * t.e2;
    const double north = x * t.n0 + y * t.n1 - z * t.n2;
    const double upward = x * t.u0 + y * t.u1 + z * t.u2;
    v[0] = RoundToInt16(east);
    v[1] = RoundToInt16(north);
    v[2] = RoundToInt16(upward);
    v[3] = badCount == 0 ? RoundToInt16((B[0] + B[1] - B[2] - B[3]) * t.d) : kBadValue;
}

// Each beam's cell c takes the value at cell round(c g) of the same beam, read from the unmapped values.
void MapTiltedCells(const EarthTransform& t, bool up, int n, SlotArray<int16_t>& vel, int slot) {
    if (t.g[0] == 1.0 && t.g[1] == 1.0 && t.g[2] == 1.0 && t.g[3] == 1.0) return; // level: identity
    int16_t source[kMaxBins];
    for (int beam = 0; beam < 4; ++beam) {
        int16_t* row = vel.RowData(beam, slot);
        std::memcpy(source, row, sizeof(source[0]) * n);
        for (int i = 0; i < n; ++i) {
            const double ig = i * t.g[beam];
            const double from = RoundHalfEven(up ? ig : n - ig - 1);
            row[up ? i : n - 1 - i] =
                (from >= 0 && from <= n - 1) ? source[static_cast<int>(from)] : kBadValue;
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Flow-meter firmware: two horizontal beams

void FlowMeterVelocities(const InstrumentSetup& setup, EnsembleSet& data, int slot, int n) {
    const double k = 2.0 * std::sin(Radians(20.0));

    int16_t across[kMaxBins];
    for (int i = 0; i < n; ++i) {
        const CellRows<int16_t> v = data.VelData.Cell(i, slot);
        across[i] = (v[0] == kBadValue || v[2] == kBadValue)
                        ? kBadValue
                        : RoundToInt16(std::clamp((v[0] - v[2]) / k, -32767.0, 32767.0));
        v[1] = (v[1] == kBadValue || v[3] == kBadValue)
                   ? kBadValue
                   : RoundToInt16(std::clamp(static_cast<double>(v[1] - v[3]), -32767.0, 32767.0));
        for (int r = 2; r <= 5; ++r) v[r] = kBadValue;
    }

    // Rows 0 and 2 of correlation and echo, copied before the bins are remapped.
    uint8_t* beams[4] = {data.CorrData.RowData(0, slot), data.CorrData.RowData(2, slot),
                         data.IntensityData.RowData(0, slot), data.IntensityData.RowData(2, slot)};
    uint8_t copies[4][kMaxBins];
    for (int b = 0; b < 4; ++b) std::memcpy(copies[b], beams[b], n);

    // The two beams see other ranges than the profile's cells: each bin takes the cell at its range.
    double r = setup.Bin1DistanceCos30x20;
    for (int i = 0; i < n; ++i) {
        const double cell = RoundHalfEven((r - setup.Bin1DistanceCos20x10) / setup.CellLengthCos20x10);
        const int j = std::isnan(cell) ? 0 : static_cast<int>(std::clamp(cell, 0.0, n - 1.0));
        data.VelData(0, i, slot) = across[j];
        for (int b = 0; b < 4; ++b) beams[b][i] = copies[b][j];
        r += setup.CellLengthCos30x20;
    }
}

// ---------------------------------------------------------------------------------------------------
// Reference, magnitude and direction

void ApplyReference(const InstrumentSetup& setup, const Options& options, EnsembleSet& data, int slot,
                    int n) {
    // Every component is a stored 16-bit value, so the sums are whole numbers and need no rounding.
    int32_t ref[4] = {0, 0, 0, 0};
    auto take = [&](bool seen, const SlotArray<int16_t>& a, int first, int count) {
        for (int k = 0; k < 4; ++k) ref[k] = !seen ? kBadValue : (k < count ? a(first + k, slot) : 0);
    };
    switch (options.VelocityReference) {
    case 1:
        take(setup.BottomTrackSeen, data.BTVelData, 0, 4);
        break;
    case 2:
        take(setup.NavigationSeen, data.NavData, 0, 2);
        break;
    case 3:
        take(setup.BottomTrackSeen, data.RefVelWork, 0, 2);
        break;
    case 4:
        take(setup.BottomTrackSeen, data.RefVelWork, 2, 2);
        break;
    case 5:
        take(setup.BottomTrackSeen, data.RefVelData, 0, 4);
        break;
    default:
        return; // no reference: adding zero changes nothing
    }
    for (int k = 0; k < 4; ++k) {
        int16_t* row = data.VelData.RowData(k, slot);
        if (ref[k] == kBadValue) {
            std::fill_n(row, n, kBadValue);
        } else if (ref[k] != 0) {
            for (int i = 0; i < n; ++i) {
                int16_t& v = row[i];
                if (v != kBadValue) v = static_cast<int16_t>(std::clamp(v + ref[k], -32767, 32767));
            }
        }
    }
}

// Rows 4 and 5 from rows 0 and 1 of one velocity vector.
template <typename Rows> void MagnitudeAndDirection(Rows v) {
    // A bad north component would otherwise be taken as a velocity of -32768 mm/s.
    if (v[0] == kBadValue || v[1] == kBadValue) {
        v[4] = v[5] = kBadValue;
        return;
    }
    const double east = v[0], north = v[1];
    v[4] = RoundToInt16(std::min(std::sqrt(east * east + north * north), 32767.0));
    v[5] = RoundToInt16(Velocity_Direction(east, north) * 10.0);
}

} // namespace

double BeamAngleDegrees(const InstrumentSetup& setup) {
    switch ((setup.SystemConfig >> 8) & 3) {
    case 0:
        return 15;
    case 1:
        return 20;
    case 2:
        return 30;
    default:
        // Code 3 stands for "another angle", which the fixed leader then carries in whole degrees.
        if (setup.BeamAngleFromLeader >= 1 && setup.BeamAngleFromLeader <= 89)
            return setup.BeamAngleFromLeader;
        return 40;
    }
}

double Velocity_Direction(double east, double north) {
    if (east == 0) return north >= 0 ? 0.0 : 180.0;
    if (north == 0) return east > 0 ? 90.0 : 270.0;
    const double angle = std::atan(north / east) * kDegreesPerRadian;
    return east > 0 ? 90.0 - angle : 270.0 - angle;
}

void End_Of_Profile(const InstrumentSetup& setup, const Options& options, EnsembleSet& data, int slot) {
    const bool byBottom = options.EndOfProfile[kEopBTDepth];
    const bool byBump = options.EndOfProfile[kEopRssiBump];
    if (!byBottom && !byBump) return;
    if (!SlotUsable(data, slot)) return;
    // Without a usable cell length no cell can be located.
    if (!(setup.CellLength > 0) || !std::isfinite(setup.CellLength)) return;
    const int n = CellCount(setup, data);
    if (n <= 0) return;

    const double cosTheta = std::cos(Radians(BeamAngleDegrees(setup)));
    const int bottomCell =
        byBottom && setup.BottomTrackSeen ? BottomTrackCell(setup, options, data, slot, cosTheta) : -1;
    const int bumpCell =
        byBump && setup.IntensitySeen ? EchoBumpCell(setup, options, data, slot, n, cosTheta) : -1;

    int last;
    if (bottomCell >= 0)
        last = bottomCell;
    else if (bumpCell >= 0)
        last = bumpCell;
    else
        return;
    if (options.EndOfProfile[kEopCut1Bin]) last -= 1;
    if (options.EndOfProfile[kEopCut2Bins]) last -= 2;
    last = std::clamp(last, 0, n - 1); // a bottom within the first cell leaves no good cell

    const bool up = setup.LooksUp();
    for (int cell = last; cell < n; ++cell) {
        const CellRows<int16_t> v = data.VelData.Cell(up ? cell : n - 1 - cell, slot);
        v[0] = v[1] = v[2] = v[3] = kBadValue;
    }
}

void Process_Velocities(const InstrumentSetup& setup, const Options& options, EnsembleSet& data, int slot) {
    if (!SlotUsable(data, slot)) return;
    const int n = CellCount(setup, data);

    if (setup.FlowMeterFirmware) {
        FlowMeterVelocities(setup, data, slot, n);
        return;
    }

    int16_t* bottom = data.BTVelData.SlotData(slot);
    int16_t* layer = data.RefVelData.SlotData(slot);

    if ((setup.CoordTransform & 0x18) == 0) {
        const EarthTransform t = MakeTransform(setup, data, slot);
        MapTiltedCells(t, setup.LooksUp(), n, data.VelData, slot);
        for (int i = 0; i < n; ++i) BeamsToEarth(t, data.VelData.Cell(i, slot));
        BeamsToEarth(t, bottom);
        BeamsToEarth(t, layer);
    }

    ApplyReference(setup, options, data, slot, n);

    for (int i = 0; i < n; ++i) MagnitudeAndDirection(data.VelData.Cell(i, slot));
    MagnitudeAndDirection(bottom);
    MagnitudeAndDirection(layer);

    int64_t sum = 0;
    int count = 0;
    for (int b = 0; b < 4; ++b) {
        const int32_t range = data.BTRangeData(b, slot);
        if (range != 0) {
            sum += range;
            ++count;
        }
    }
    data.BTRangeData(4, slot) = count > 0 ? RoundToInt32(static_cast<double>(sum) / count) : 0;
}

} // namespace mvx
