#pragma once
// The data set of the open file: the loaded (sub) set in the arrays it inherits, the whole-set copy for
// the navigator beside it, and the per-bin error-velocity statistics of the loaded set. The two sets
// are one array type: the navigator's WholeVelData, WholeEnsTimes, ... are Whole.VelData,
// Whole.EnsTimes, ... of the same shapes as the loaded set's.
#include "model/EnsembleSet.h"

namespace mvx {

struct DataSet : EnsembleSet {
    // Slots 0..MaxWholeEnsembles, filled by the whole-set load when a file is opened.
    EnsembleSet Whole;
    // Per-bin error velocity statistics of the loaded set: (0 mean, 1 std dev, 2 percent valid, bin).
    SlotArray<int32_t> ErrVelStats;
    bool operator==(const DataSet&) const = default;
};

// Dimensions every loaded-set array anew (contents discarded) with max(sub, whole) + 1 slots; with
// wholeToo also ErrVelStats and the whole-set copy (MaxWholeEnsembles + 1 slots).
void Allocate_Data_Set(DataSet& data, int maxSubEnsembles, int maxWholeEnsembles, bool wholeToo);

} // namespace mvx
