#include "model/DataSet.h"

#include <algorithm>

namespace mvx {

void Allocate_Data_Set(DataSet& data, int maxSubEnsembles, int maxWholeEnsembles, bool wholeToo) {
    Allocate_Ensemble_Set(data, std::max(maxSubEnsembles, maxWholeEnsembles) + 1);
    if (!wholeToo) return;
    data.ErrVelStats.Allocate(3, kMaxBins, 1);
    Allocate_Ensemble_Set(data.Whole, maxWholeEnsembles + 1);
}

} // namespace mvx
