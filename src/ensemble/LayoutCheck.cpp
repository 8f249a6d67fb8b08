#include "ensemble/LayoutCheck.h"

#include "ensemble/DecoderDetail.h"
#include "ensemble/EnsembleFormats.h"
#include "ensemble/EnsembleLayout.h"

#include <vector>

namespace mvx {

namespace {

namespace bb = broadband;

// The room one broadband data type needs from its id on; cells from the ensemble's fixed leader.
size_t NeededBytes(uint16_t id, size_t cells) {
    switch (id) {
    case bb::kFixedLeaderId:
        return bb::fixed::kBytes - 1; // the short leader
    case bb::kVariableLeaderId:
        return bb::variable::kTransmitVoltage + 1;
    case bb::kVelocityId:
        return bb::kCellsStart + cells * bb::kVelocityBytesPerCell;
    case bb::kCorrelationId:
    case bb::kEchoIntensityId:
    case bb::kPercentGoodId:
        return bb::kCellsStart + cells * bb::kBeamBytesPerCell;
    default:
        return 2; // its id
    }
}

bool BroadbandHolds(const detail::EnsembleBytesView& e, size_t n) {
    if (!e.Holds(0, bb::kOffsetTable)) return false;
    const size_t count = e.U8(bb::kDataTypeCount);
    const size_t table = bb::kOffsetTable + 2 * count;
    if (table > n) return false;
    std::vector<size_t> offsets(count);
    for (size_t i = 0; i < count; ++i) {
        offsets[i] = e.LE16(bb::kOffsetTable + 2 * i);
        if (offsets[i] < table || offsets[i] + 2 > n || (i > 0 && offsets[i] <= offsets[i - 1])) return false;
    }
    // The cell count of the ensemble's own fixed leader, when it has one.
    size_t cells = 0;
    for (size_t p : offsets)
        if (e.LE16(p) == bb::kFixedLeaderId && p + bb::fixed::kCells < n) cells = e.U8(p + bb::fixed::kCells);
    for (size_t i = 0; i < count; ++i) {
        const size_t end = i + 1 < count ? offsets[i + 1] : n;
        if (end - offsets[i] < NeededBytes(e.LE16(offsets[i]), cells)) return false;
    }
    return true;
}

bool NarrowbandHolds(const detail::EnsembleBytesView& e, size_t n) {
    if (!e.Holds(0, narrowband::kFirstBlock)) return false;
    size_t total = narrowband::kFirstBlock;
    for (int k = 0; k < narrowband::kBlockCount; ++k)
        total += e.BE16(narrowband::kBlockLengths + 2 * static_cast<size_t>(k));
    return total <= n;
}

} // namespace

bool Holds_Its_Layout(int32_t structure, const EnsembleFrame& frame) {
    const detail::EnsembleBytesView e(frame);
    const size_t n = e.Size();
    if (n != static_cast<size_t>(std::max(frame.EnsembleBytes, 0))) return false;
    if (structure == kBroadband) return BroadbandHolds(e, n);
    if (structure == kNarrowband) return NarrowbandHolds(e, n);
    return false;
}

} // namespace mvx
