#include "model/DataSet.h"

#include <algorithm>

namespace mvx {

void Allocate_Data_Set(DataSet& data, int maxSubEnsembles, int maxWholeEnsembles, bool wholeToo) {
    const int slotCount = std::max(maxSubEnsembles, maxWholeEnsembles) + 1;
    data.Capacity = slotCount;
    data.EnsNumbers.assign(slotCount, 0);
    data.EnsTimes.Allocate(7, 1, slotCount);
    data.AncData.Allocate(8, 1, slotCount);
    data.VelData.Allocate(8, kMaxBins, slotCount);
    data.CorrData.Allocate(5, kMaxBins, slotCount);
    data.IntensityData.Allocate(5, kMaxBins, slotCount);
    data.PGoodData.Allocate(5, kMaxBins, slotCount);
    data.BTRangeData.Allocate(5, 1, slotCount);
    data.BTVelData.Allocate(6, 1, slotCount);
    data.RefVelData.Allocate(6, 1, slotCount);
    data.RefVelWork.Allocate(6, 1, slotCount);
    data.NavData.Allocate(6, 1, slotCount);
    for (auto* v : {&data.NavFirstLat, &data.NavFirstLon, &data.NavLastLat, &data.NavLastLon, &data.LatData,
                    &data.LonData, &data.FlowMeterDepth, &data.FlowMeterVel})
        v->assign(slotCount, 0);
    data.TextData.assign(slotCount, std::string());
    data.FlowMeterQ.assign(slotCount, 0.0);
    data.FlowMeterStamp.Allocate(8, 1, slotCount);
    if (!wholeToo) return;

    const int whole = maxWholeEnsembles + 1;
    data.WholeCapacity = whole;
    data.ErrVelStats.Allocate(3, kMaxBins, 1);
    data.WholeEnsTimes.Allocate(7, 1, whole);
    data.WholeCorrData.Allocate(5, kMaxBins, whole);
    data.WholeIntensityData.Allocate(5, kMaxBins, whole);
    data.WholePGoodData.Allocate(5, kMaxBins, whole);
    data.WholeVelData.Allocate(6, kMaxBins, whole);
    data.WholeAncData.Allocate(8, 1, whole);
    data.WholeNavData.Allocate(6, 1, whole);
    data.WholeRefVelWork.Allocate(6, 1, whole);
    data.WholeBTVelData.Allocate(6, 1, whole);
    data.WholeRefVelData.Allocate(6, 1, whole);
    data.WholeBTRangeData.Allocate(5, 1, whole);
}

void Clear_Slot(DataSet& data, int slot) {
    if (!data.ValidSlot(slot)) return;
    data.EnsNumbers[slot] = 0;
    auto clear = [slot](auto& a) { std::fill_n(a.SlotData(slot), a.SlotSize(), 0); };
    clear(data.EnsTimes);
    clear(data.AncData);
    clear(data.VelData);
    clear(data.CorrData);
    clear(data.IntensityData);
    clear(data.PGoodData);
    clear(data.BTRangeData);
    clear(data.BTVelData);
    clear(data.RefVelData);
    clear(data.RefVelWork);
    clear(data.NavData);
    clear(data.FlowMeterStamp);
    for (auto* v : {&data.NavFirstLat, &data.NavFirstLon, &data.NavLastLat, &data.NavLastLon, &data.LatData,
                    &data.LonData, &data.FlowMeterDepth, &data.FlowMeterVel})
        (*v)[slot] = 0;
    data.TextData[slot].clear();
    data.FlowMeterQ[slot] = 0;
}

} // namespace mvx
