// Decoding a narrowband ensemble: five length-prefixed blocks in a fixed order, big-endian words,
// packed 12-bit velocities and BCD time stamps. Quantities narrowband lacks get fixed substitutes.
#include "common/EnsembleTimeText.h"
#include "ensemble/Decoder.h"
#include "ensemble/DecoderDetail.h"
#include "ensemble/EnsembleLayout.h"

#include <cmath>

namespace mvx {

using detail::EnsembleBytesView;
using detail::FromBcd;

namespace {

namespace nl = narrowband::leader;

using narrowband::kBlockCount;
using narrowband::kFirstBlock;
constexpr size_t kLeaderBytes = nl::kBottomRange + 8; // through the last bottom-track range word
constexpr size_t kBytesPerVelocityCell = narrowband::kVelocityBytesPerCell;
constexpr size_t kBytesPerBeamCell = narrowband::kBeamBytesPerCell;
constexpr int kBadCount = 2048; // the 12-bit bad-value marker
constexpr uint8_t kTransformEarth = 24;

// Four 12-bit counts packed into six bytes: beam 0 = byte 0 and the high nibble of byte 1, beam 1 = the
// low nibble of byte 1 and byte 2, beams 2 and 3 likewise from bytes 3..5.
void UnpackCounts(const EnsembleBytesView& e, size_t q, int counts[4]) {
    counts[0] = e.U8(q) * 16 + (e.U8(q + 1) >> 4);
    counts[1] = (e.U8(q + 1) & 0x0F) * 256 + e.U8(q + 2);
    counts[2] = e.U8(q + 3) * 16 + (e.U8(q + 4) >> 4);
    counts[3] = (e.U8(q + 4) & 0x0F) * 256 + e.U8(q + 5);
}

// A 12-bit count as a velocity in mm/s, limited to the 16-bit range without the bad marker.
double CountVelocity(int count, double resolution, double scale) {
    const int signedCount = count > kBadCount ? count - 4096 : count;
    return std::clamp(signedCount * resolution * scale, -32767.0, 32767.0);
}

struct NarrowbandDecoder {
    const EnsembleBytesView& e;
    InstrumentSetup& setup;
    EnsembleSet& data;
    int slot;
    const DecodeSettings& settings;

    bool AncFits() const { return detail::SlotFits(data.AncData, 8, slot); }

    void Configuration(uint8_t c) {
        bool up = false;
        if (c & 0x80) {
            double resolution = (c & 0x01) ? 2.5 : 1.25;
            if (c & 0x02) {
                setup.CoordTransform = kTransformEarth;
                resolution *= 2;
            } else {
                setup.CoordTransform = 0;
            }
            const int frequency = (c >> 4) & 0x07;
            if (frequency == 0 && !(c & 0x01)) resolution *= 2;
            up = !(c & 0x04);
            if (settings.FlipChecked) up = !up;
            setup.SystemConfig = 0x4200 + (up ? 128 : 0) + ((c & 0x08) ? 0 : 8) + frequency;
            setup.NBVelResolution = resolution;
        } else {
            setup.CoordTransform = kTransformEarth;
            setup.NBVelResolution = 5.0;
            up = settings.FlipChecked;
            setup.SystemConfig = up ? 135 : 7;
        }
        if (AncFits()) data.AncData(5, slot) = up ? 1 : 0;
    }

    void Leader(size_t p) {
        const bool slotOk = data.ValidSlot(slot);
        if (slotOk && detail::SlotFits(data.EnsTimes, 7, slot)) {
            data.EnsTimes(0, slot) = kNoYear;
            for (int row = 1; row <= 5; ++row)
                data.EnsTimes(row, slot) = FromBcd(e.U8(p + nl::kClock + row - 1));
            data.EnsTimes(6, slot) = 0;
        }
        for (int i = 0; i < 3; ++i) setup.TimePerPing[i] = FromBcd(e.U8(p + nl::kTimePerPing + i));
        setup.PingsPerEnsemble = e.BE16(p + nl::kPings);
        setup.NumCells = e.U8(p + nl::kCells);
        setup.CellLength = std::ldexp(1.0, e.U8(p + nl::kCellLengthCode));
        setup.Bin1Distance =
            (e.U8(p + nl::kXmitLength) + setup.CellLength) / 2 + e.U8(p + nl::kBlank) + e.U8(p + nl::kDelay);
        setup.EnsembleNumber = e.BE16(p + nl::kEnsembleNumber);
        if (detail::SlotFits(data.EnsNumbers, slot)) data.EnsNumbers[slot] = setup.EnsembleNumber;
        if (AncFits()) data.AncData(6, slot) = e.U8(p + nl::kBitResult);

        Configuration(e.U8(p + nl::kConfig));

        const double toHundredths = 36000.0 / 65536.0;
        const double temperature = 45 - e.BE16(p + nl::kTemperature) * 50.0 / 4096.0;
        if (AncFits()) {
            data.AncData(0, slot) = RoundToInt32(detail::SignedWord(e.BE16(p + nl::kPitch)) * toHundredths);
            data.AncData(1, slot) = RoundToInt32(detail::SignedWord(e.BE16(p + nl::kRoll)) * toHundredths);
            data.AncData(2, slot) = RoundToInt32(e.BE16(p + nl::kHeading) * toHundredths);
            data.AncData(3, slot) = RoundToInt32(temperature * 100);
            data.AncData(4, slot) = 0;
            data.AncData(7, slot) = e.U8(p + nl::kXmitVoltage);
        }
        const double t = temperature;
        const double soundSpeed = 1449.2 + 4.6 * t - 0.055 * t * t + 0.00029 * t * t * t;
        setup.NBVelResolution = setup.NBVelResolution * soundSpeed / 1536;
        setup.BottomTrackSeen = true;
        setup.NBRangeFactor = 153600.0 / 1475.1;

        const bool btFits = detail::SlotFits(data.BTVelData, 4, slot);
        const bool rangeFits = detail::SlotFits(data.BTRangeData, 4, slot);
        int counts[4];
        UnpackCounts(e, p + nl::kBottomVelocity, counts);
        for (int beam = 0; beam < 4; ++beam) {
            int16_t v = kBadValue;
            if (counts[beam] != kBadCount) {
                const double velocity =
                    CountVelocity(counts[beam], setup.NBVelResolution, settings.BottomVelScale);
                v = static_cast<int16_t>(RoundHalfEven(-velocity));
            }
            if (btFits) data.BTVelData(beam, slot) = v;
            if (rangeFits) {
                data.BTRangeData(beam, slot) =
                    v == kBadValue
                        ? 0
                        : RoundToInt32(e.BE16(p + nl::kBottomRange + 2 * beam) * setup.NBRangeFactor);
            }
        }
        if (detail::SlotFits(data.RefVelData, 4, slot))
            for (int beam = 0; beam < 4; ++beam) data.RefVelData(beam, slot) = kBadValue;
    }

    void Velocity(size_t p, size_t length) {
        auto& vel = data.VelData;
        if (!detail::SlotFits(vel, 4, slot)) return;
        const int cells = detail::StoredCells(setup.NumCells);
        const bool up = setup.LooksUp();
        const int fit = static_cast<int>(std::min<size_t>(cells, length / kBytesPerVelocityCell));
        detail::StoreVelocities(cells, fit, up, vel, slot, [&](int c, const CellRows<int16_t>& out) {
            int counts[4];
            UnpackCounts(e, p + kBytesPerVelocityCell * static_cast<size_t>(c), counts);
            for (int beam = 0; beam < 4; ++beam) {
                out[beam] = counts[beam] == kBadCount
                                ? kBadValue
                                : static_cast<int16_t>(RoundHalfEven(CountVelocity(
                                      counts[beam], setup.NBVelResolution, settings.WaterVelScale)));
            }
        });
    }

    void PercentGood(size_t p, size_t length) {
        auto& pg = data.PGoodData;
        if (!detail::SlotFits(pg, 4, slot)) return;
        const bool velFits = detail::SlotFits(data.VelData, 4, slot);
        const int cells = detail::StoredCells(setup.NumCells);
        const bool up = setup.LooksUp();
        const int fit = static_cast<int>(std::min<size_t>(cells, length / kBytesPerBeamCell));
        for (int c = 0; c < fit; ++c) {
            const int bin = detail::BinOfCell(c, cells, up);
            if (bin >= pg.Bins()) continue;
            const size_t q = p + kBytesPerBeamCell * static_cast<size_t>(c);
            const bool velBin = velFits && bin < data.VelData.Bins();
            if (setup.CoordTransform == kTransformEarth && e.U8(q) == 0 && velBin)
                for (int beam = 0; beam < 4; ++beam) data.VelData(beam, bin, slot) = kBadValue;
            for (int beam = 0; beam < 4; ++beam) {
                const uint8_t value = e.U8(q + beam);
                pg(beam, bin, slot) = value;
                if (setup.CoordTransform == 0 && value == 0 && velBin)
                    data.VelData(beam, bin, slot) = kBadValue;
            }
        }
    }
};

} // namespace

int64_t Narrowband_Ensemble_Number(const EnsembleFrame& frame) {
    const EnsembleBytesView e(frame);
    // The leader is the first block when present, and is read only when it is whole.
    if (!e.Holds(0, kFirstBlock) || e.BE16(narrowband::kBlockLengths) == 0) return -1;
    if (!e.Holds(kFirstBlock, kLeaderBytes)) return -1;
    return e.BE16(kFirstBlock + nl::kEnsembleNumber);
}

void Decode_Narrowband_Ensemble(const EnsembleFrame& frame, InstrumentSetup& setup, EnsembleSet& data,
                                int32_t slot, const DecodeSettings& settings) {
    setup.ClearSeenFlags();
    const EnsembleBytesView e(frame);
    if (!e.Holds(0, kFirstBlock)) return;
    NarrowbandDecoder d{e, setup, data, slot, settings};

    // Present blocks follow each other from byte 14; a block of length 0 is absent and takes no room.
    // A block is decoded only as far as it lies inside the ensemble.
    size_t position = kFirstBlock;
    for (int k = 1; k <= kBlockCount; ++k) {
        const size_t length = e.BE16(narrowband::kBlockLengths + 2 * static_cast<size_t>(k - 1));
        if (length == 0) continue;
        if (position < e.Size()) {
            const size_t available = e.Size() - position;
            switch (k) {
            case 1:
                if (available >= kLeaderBytes) {
                    d.Leader(position);
                    // The leader carries both the set-up and the per-ensemble values.
                    setup.FixedLeaderSeen = setup.VariableLeaderSeen = true;
                }
                break;
            case 2:
                d.Velocity(position, available);
                setup.VelocitySeen = true;
                break;
            case 3:
                setup.CorrelationSeen = true;
                if (detail::SlotFits(data.CorrData, 5, slot))
                    detail::StoreBeamBytes(e, position, available, detail::StoredCells(setup.NumCells),
                                           setup.LooksUp(), data.CorrData, slot, true);
                break;
            case 4:
                // The echo block is what the end-of-profile bump detection looks for.
                setup.IntensitySeen = true;
                if (detail::SlotFits(data.IntensityData, 5, slot))
                    detail::StoreBeamBytes(e, position, available, detail::StoredCells(setup.NumCells),
                                           setup.LooksUp(), data.IntensityData, slot, true);
                break;
            case 5:
                setup.PercentGoodSeen = true;
                d.PercentGood(position, available);
                break;
            }
        }
        position += length;
    }
}

} // namespace mvx
