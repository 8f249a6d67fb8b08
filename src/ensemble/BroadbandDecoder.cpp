// Decoding a broadband ensemble: the offset table names the data types, each decoded by its id.
#include "common/Angles.h"
#include "ensemble/Decoder.h"
#include "ensemble/DecoderDetail.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/EnsembleLayout.h"

#include <array>
#include <cmath>

namespace mvx {

using detail::EnsembleBytesView;

namespace {

namespace fl = broadband::fixed;
namespace vl = broadband::variable;
namespace bt = broadband::bottom;
namespace fm = broadband::flowmeter;
namespace nav = broadband::navigation;

// Bytes each data type must hold (counted from its id) before it is decoded at all.
constexpr size_t kFixedLeaderBytes = fl::kLagDistance + 2;
constexpr size_t kVariableLeaderBytes = vl::kTransmitVoltage + 1;
constexpr size_t kPressureEnd = vl::kPressure + 4;
constexpr size_t kBottomTrackBytes = bt::kRefVelocity + 8;
constexpr size_t kFlowMeterBytes = fm::kBytes;
constexpr size_t kNavigationBytes = nav::kDirectionMadeGood + 2;
constexpr size_t kMaxTextChars = 256;

const double kDegToRad = kPi / 180.0;
const double kCos10 = std::cos(10 * kDegToRad);
const double kCos20 = std::cos(20 * kDegToRad);
const double kCos30 = std::cos(30 * kDegToRad);

struct BroadbandDecoder {
    const EnsembleBytesView& e;
    InstrumentSetup& setup;
    EnsembleSet& data;
    int slot;
    const DecodeSettings& settings;

    bool SlotOk() const { return data.ValidSlot(slot); }

    void FixedLeader(size_t p, size_t extent) {
        const int version = e.U8(p + fl::kFirmwareVersion);
        int revision = e.U8(p + fl::kFirmwareRevision);
        if (revision > 99) revision -= 100;
        setup.FirmwareVersion = version + revision / 100.0;
        setup.FlowMeterFirmware = version == 6 || version == 21;
        setup.SystemConfig = e.LE16(p + fl::kSystemConfig);
        setup.NumCells = e.U8(p + fl::kCells);
        setup.PingsPerEnsemble = e.LE16(p + fl::kPings);
        setup.CellLength = e.LE16(p + fl::kCellLength) / 100.0;
        setup.CellLengthCos20x10 = setup.CellLength * kCos20 * kCos10;
        setup.CellLengthCos30x20 = setup.CellLength * kCos30 * kCos20;
        for (int i = 0; i < 3; ++i) setup.TimePerPing[i] = e.U8(p + fl::kTimePerPing + i);
        setup.CoordTransform = e.U8(p + fl::kCoordTransform);
        setup.Bin1Distance = e.LE16(p + fl::kBin1Distance) / 100.0;
        setup.Bin1DistanceCos20x10 = setup.Bin1Distance * kCos20 * kCos10;
        setup.Bin1DistanceCos30x20 = setup.Bin1Distance * kCos30 * kCos20;
        setup.XmitPulseLength = e.LE16(p + fl::kXmitPulseLength) / 100.0;
        setup.XmitLagDistance = e.LE16(p + fl::kLagDistance) / 100.0;
        setup.BeamAngleFromLeader = extent > fl::kBeamAngle ? e.U8(p + fl::kBeamAngle) : 0;
        if (setup.FlowMeterFirmware) {
            setup.CellLength = setup.CellLengthCos30x20;
            setup.Bin1Distance = setup.Bin1DistanceCos30x20;
        }
        if (settings.FileValid && settings.FlipChecked) setup.SystemConfig ^= 0x80;
        if (detail::SlotFits(data.AncData, 8, slot)) data.AncData(5, slot) = setup.LooksUp() ? 1 : 0;
    }

    void VariableLeader(size_t p) {
        setup.EnsembleNumber = e.LE16(p + vl::kEnsembleNumber) + 65536 * e.U8(p + vl::kEnsembleNumberHigh);
        if (!SlotOk()) return;
        if (detail::SlotFits(data.EnsNumbers, slot)) data.EnsNumbers[slot] = setup.EnsembleNumber;
        if (detail::SlotFits(data.EnsTimes, 7, slot)) {
            for (int row = 0; row < 7; ++row) data.EnsTimes(row, slot) = e.U8(p + vl::kClock + row);
            if (data.EnsTimes(0, slot) > 99) data.EnsTimes(0, slot) -= 100;
        }
        if (!detail::SlotFits(data.AncData, 8, slot)) return;
        data.AncData(6, slot) = e.LE16(p + vl::kBitResult);
        data.AncData(4, slot) = e.LE16(p + vl::kDepth) * 100;
        data.AncData(2, slot) = e.LE16(p + vl::kHeading);
        data.AncData(0, slot) = detail::SignedWord(e.LE16(p + vl::kPitch));
        data.AncData(1, slot) = detail::SignedWord(e.LE16(p + vl::kRoll));
        data.AncData(3, slot) = detail::SignedWord(e.LE16(p + vl::kTemperature));
        data.AncData(7, slot) = e.U8(p + vl::kTransmitVoltage);

        // Depth from pressure replaces the transducer depth when the two agree within 200 mm.
        if (e.Holds(p, kPressureEnd)) {
            const double salinity = e.LE16(p + vl::kSalinity);
            const double pressure = e.LE32(p + vl::kPressure);
            const double depth = std::min((1.02 - 0.00069 * salinity) * pressure, 2147483647.0);
            const double transducer = data.AncData(4, slot);
            if (std::fabs(RoundHalfEven(depth) - transducer) < 200) {
                data.AncData(4, slot) =
                    RoundToInt32(depth * 1000 / static_cast<double>(settings.WaterDensity));
                ++setup.PressureDepthCount;
                return;
            }
        }
        --setup.PressureDepthCount;
    }

    void Velocity(size_t p) {
        auto& vel = data.VelData;
        if (!detail::SlotFits(vel, 4, slot)) return;
        const int cells = detail::StoredCells(setup.NumCells);
        const bool up = setup.LooksUp();
        const size_t first = p + broadband::kCellsStart;
        const int fit =
            static_cast<int>(std::min<size_t>(cells, (e.Size() - first) / broadband::kVelocityBytesPerCell));
        const double scale = settings.WaterVelScale;
        detail::StoreVelocities(cells, fit, up, vel, slot, [&](int c, const CellRows<int16_t>& out) {
            const size_t q = first + broadband::kVelocityBytesPerCell * static_cast<size_t>(c);
            for (int beam = 0; beam < 4; ++beam)
                out[beam] = detail::ScaledVelocity(e.LE16(q + 2 * beam), scale);
        });
    }

    void BeamBytes(size_t p, SlotArray<uint8_t>& target, bool mean) {
        if (!detail::SlotFits(target, mean ? 5 : 4, slot)) return;
        const size_t first = p + broadband::kCellsStart;
        detail::StoreBeamBytes(e, first, e.Size() - first, detail::StoredCells(setup.NumCells),
                               setup.LooksUp(), target, slot, mean);
    }

    void BottomTrack(size_t p) {
        setup.BTPings = e.LE16(p + bt::kPings);
        setup.BTDelay = e.LE16(p + bt::kDelay);
        setup.BTCorrMin = e.U8(p + bt::kCorrMin);
        setup.BTEvalMin = e.U8(p + bt::kEvalMin);
        setup.BTPGoodMin = e.U8(p + bt::kPGoodMin);
        setup.BTMode = e.U8(p + bt::kMode);
        setup.BTErrMax = e.LE16(p + bt::kErrMax);
        setup.BTMaxDepth = e.Holds(p + bt::kMaxDepth, 2) ? e.LE16(p + bt::kMaxDepth) : 0;
        if (!SlotOk()) return;
        const bool rangeHighBytes = setup.FirmwareVersion > 4.99 && e.Holds(p + bt::kRangeHigh, 4);
        if (detail::SlotFits(data.BTRangeData, 4, slot)) {
            for (int beam = 0; beam < 4; ++beam) {
                int32_t range = e.LE16(p + bt::kRange + 2 * beam);
                if (rangeHighBytes) range += 65536 * e.U8(p + bt::kRangeHigh + beam);
                data.BTRangeData(beam, slot) = range;
            }
        }
        if (detail::SlotFits(data.BTVelData, 4, slot)) {
            for (int beam = 0; beam < 4; ++beam)
                data.BTVelData(beam, slot) = detail::ScaledInvertedVelocity(
                    e.LE16(p + bt::kVelocity + 2 * beam), settings.BottomVelScale);
        }
        const bool refFits = detail::SlotFits(data.RefVelData, 4, slot);
        const bool workFits = detail::SlotFits(data.RefVelWork, 4, slot);
        for (int beam = 0; beam < 4; ++beam) {
            const int16_t v = detail::ScaledInvertedVelocity(e.LE16(p + bt::kRefVelocity + 2 * beam),
                                                             settings.WaterVelScale);
            if (refFits) data.RefVelData(beam, slot) = v;
            if (workFits) data.RefVelWork(beam, slot) = v;
        }
        const uint32_t lon =
            (static_cast<uint32_t>(e.LE16(p + bt::kLongitudeHigh)) << 16) | e.LE16(p + bt::kLongitudeLow);
        if (detail::SlotFits(data.LonData, slot)) data.LonData[slot] = detail::SignedLong(lon);
        if (detail::SlotFits(data.LatData, slot))
            data.LatData[slot] = detail::SignedLong(e.LE32(p + bt::kLatitude));
    }

    void Text(size_t p) {
        if (!detail::SlotFits(data.TextData, slot)) return;
        std::string& text = data.TextData[slot];
        text.clear();
        for (size_t i = p + broadband::kCellsStart; i < e.Size() && text.size() < kMaxTextChars; ++i) {
            const uint8_t c = e.U8(i);
            if (c == 0) break;
            text.push_back(static_cast<char>(c));
        }
    }

    void FlowMeter(size_t p) {
        if (!SlotOk()) return;
        if (detail::SlotFits(data.FlowMeterStamp, 8, slot)) {
            data.FlowMeterStamp(0, slot) = 19;
            const bool times = detail::SlotFits(data.EnsTimes, 7, slot);
            for (int row = 0; row < 7; ++row)
                data.FlowMeterStamp(row + 1, slot) = times ? data.EnsTimes(row, slot) : 0;
        }
        if (detail::SlotFits(data.FlowMeterDepth, slot)) data.FlowMeterDepth[slot] = e.LE16(p + fm::kDepth);
        if (detail::SlotFits(data.FlowMeterVel, slot))
            data.FlowMeterVel[slot] =
                RoundToInt32((e.LE16(p + fm::kVelocity1) + e.LE16(p + fm::kVelocity2)) / 2.0);
        if (detail::SlotFits(data.FlowMeterQ, slot))
            data.FlowMeterQ[slot] = e.LE16(p + fm::kDischargeLow) + 65536.0 * e.LE16(p + fm::kDischargeHigh);
    }

    void Navigation(size_t p) {
        if (!SlotOk()) return;
        if (detail::SlotFits(data.NavFirstLat, slot))
            data.NavFirstLat[slot] = detail::SignedLong(e.LE32(p + nav::kFirstLatitude));
        if (detail::SlotFits(data.NavFirstLon, slot))
            data.NavFirstLon[slot] = detail::SignedLong(e.LE32(p + nav::kFirstLongitude));
        if (detail::SlotFits(data.NavLastLat, slot))
            data.NavLastLat[slot] = detail::SignedLong(e.LE32(p + nav::kLastLatitude));
        if (detail::SlotFits(data.NavLastLon, slot))
            data.NavLastLon[slot] = detail::SignedLong(e.LE32(p + nav::kLastLongitude));
        if (!detail::SlotFits(data.NavData, 6, slot)) return;
        const int32_t speed = std::min<int32_t>(e.LE16(p + nav::kSpeedMadeGood), 32767);
        const double direction = e.LE16(p + nav::kDirectionMadeGood) * 360.0 / 65536.0;
        const double radians = direction * kDegToRad;
        data.NavData(5, slot) = static_cast<int16_t>(std::clamp(RoundHalfEven(direction * 10), 0.0, 3600.0));
        data.NavData(0, slot) = detail::ScaleLimited(speed * std::sin(radians));
        data.NavData(1, slot) = detail::ScaleLimited(speed * std::cos(radians));
        data.NavData(4, slot) = static_cast<int16_t>(speed);
    }
};

} // namespace

int64_t Broadband_Ensemble_Number(const EnsembleFrame& frame) {
    const EnsembleBytesView e(frame);
    if (!e.Holds(0, broadband::kOffsetTable)) return -1;
    const size_t types = e.U8(broadband::kDataTypeCount);
    if (Is_Nvram_Block(frame.EnsembleBytes, static_cast<int32_t>(types))) return -1;
    const size_t count = std::min(types, (e.Size() - broadband::kOffsetTable) / 2);
    for (size_t i = 0; i < count; ++i) {
        const size_t p = e.LE16(broadband::kOffsetTable + 2 * i);
        if (e.Holds(p, kVariableLeaderBytes) && e.LE16(p) == broadband::kVariableLeaderId)
            return e.LE16(p + vl::kEnsembleNumber) + 65536 * e.U8(p + vl::kEnsembleNumberHigh);
    }
    return -1;
}

void Decode_Broadband_Ensemble(const EnsembleFrame& frame, InstrumentSetup& setup, EnsembleSet& data,
                               int32_t slot, const DecodeSettings& settings) {
    setup.ClearSeenFlags();
    const EnsembleBytesView e(frame);
    if (!e.Holds(0, broadband::kOffsetTable)) return;
    setup.DataTypeCount = e.U8(broadband::kDataTypeCount);

    // Only table entries inside the ensemble are used; an entry whose data type does not even hold
    // its id is skipped.
    const int count =
        static_cast<int>(std::min<size_t>(setup.DataTypeCount, (e.Size() - broadband::kOffsetTable) / 2));
    std::array<uint16_t, 255> offsets{};
    for (int i = 0; i < count; ++i) offsets[i] = e.LE16(broadband::kOffsetTable + 2 * static_cast<size_t>(i));

    // A data type extends to the next data type that starts after it, or to the end of the ensemble.
    auto extentOf = [&](size_t p) {
        size_t end = e.Size();
        for (int i = 0; i < count; ++i)
            if (offsets[i] > p && offsets[i] < end) end = offsets[i];
        return end - p;
    };

    BroadbandDecoder d{e, setup, data, slot, settings};
    const bool nvram = Is_Nvram_Block(frame.EnsembleBytes, setup.DataTypeCount);
    for (int i = 0; i < count; ++i) {
        const size_t p = offsets[i];
        if (!e.Holds(p, 2)) continue;
        switch (e.LE16(p)) {
        case broadband::kFixedLeaderId:
            if (setup.FixedLeaderSeen || !e.Holds(p, kFixedLeaderBytes)) break;
            d.FixedLeader(p, extentOf(p));
            setup.FixedLeaderSeen = true;
            break;
        case broadband::kVariableLeaderId:
            if (setup.VariableLeaderSeen || nvram || !e.Holds(p, kVariableLeaderBytes)) break;
            d.VariableLeader(p);
            setup.VariableLeaderSeen = true;
            break;
        case broadband::kVelocityId:
            if (setup.VelocitySeen) break;
            d.Velocity(p);
            setup.VelocitySeen = true;
            break;
        case broadband::kCorrelationId:
            if (setup.CorrelationSeen) break;
            d.BeamBytes(p, data.CorrData, true);
            setup.CorrelationSeen = true;
            break;
        case broadband::kEchoIntensityId:
            if (setup.IntensitySeen) break;
            d.BeamBytes(p, data.IntensityData, true);
            setup.IntensitySeen = true;
            break;
        case broadband::kPercentGoodId:
            if (setup.PercentGoodSeen) break;
            d.BeamBytes(p, data.PGoodData, false);
            setup.PercentGoodSeen = true;
            break;
        case broadband::kBottomTrackId:
            if (setup.BottomTrackSeen || !e.Holds(p, kBottomTrackBytes)) break;
            d.BottomTrack(p);
            setup.BottomTrackSeen = true;
            break;
        case broadband::kTextId:
        case broadband::kTextAltId:
            if (setup.TextBlockSeen) break;
            d.Text(p);
            setup.TextBlockSeen = true;
            break;
        case broadband::kFlowMeterId:
            if (setup.FlowMeterSeen || !setup.FlowMeterFirmware || !e.Holds(p, kFlowMeterBytes)) break;
            d.FlowMeter(p);
            setup.FlowMeterSeen = true;
            break;
        case broadband::kNavigationId:
            if (setup.NavigationSeen || !e.Holds(p, kNavigationBytes)) break;
            d.Navigation(p);
            setup.NavigationSeen = true;
            break;
        default:
            break; // unknown data types are skipped
        }
    }
}

} // namespace mvx
