// The ensemble-set arrays: slot clearing and copying stay inside their slots, and an index outside an
// array stops a checked build instead of reading or writing past it.
#include "model/DataSet.h"

#include <gtest/gtest.h>

using namespace mvx;

namespace {

// Every value of every array of the set set to `value` (texts to its digits).
void FillAll(EnsembleSet& set, int value) {
    ForEachArray(
        [value](int, int, auto& a) {
            using T = std::decay_t<decltype(a.Raw()[0])>;
            if constexpr (std::is_same_v<T, std::string>)
                std::fill(a.Raw().begin(), a.Raw().end(), std::to_string(value));
            else
                std::fill(a.Raw().begin(), a.Raw().end(), static_cast<T>(value));
        },
        set);
}

} // namespace

TEST(EnsembleSet, ClearAndCopyTouchOnlyTheirSlots) {
    EnsembleSet from, to;
    Allocate_Ensemble_Set(from, 4);
    Allocate_Ensemble_Set(to, 4);
    FillAll(from, 7);
    FillAll(to, 3);
    Clear_Slot(from, 1);
    Copy_Slots(from, to, 2);
    // Slot 0 copied, slot 1 copied as cleared, slots 2 and 3 as they were; bin 255 and the last rows too.
    const int vel[4] = {7, 0, 3, 3};
    const std::string text[4] = {"7", "", "3", "3"};
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(to.VelData(7, kMaxBins - 1, slot), vel[slot]) << slot;
        EXPECT_EQ(to.FlowMeterStamp(7, slot), vel[slot]) << slot;
        EXPECT_EQ(to.TextData[slot], text[slot]) << slot;
    }
    EXPECT_EQ(from.VelData(0, 0, 2), 7); // clearing slot 1 left its neighbours
}

TEST(EnsembleSet, DataSetAllocatesTheWholeSetOnlyWhenAsked) {
    DataSet data;
    Allocate_Data_Set(data, 128, 256, true);
    EXPECT_EQ(data.Capacity, 257);
    EXPECT_EQ(data.Whole.Capacity, 257);
    EXPECT_EQ(data.Whole.VelData.Slots(), 257);
    data.Whole.VelData(0, 0, 256) = 9;
    Allocate_Data_Set(data, 1024, 256, false); // "Max Ensembles" keeps the whole-set copy
    EXPECT_EQ(data.Capacity, 1025);
    EXPECT_EQ(data.Whole.VelData(0, 0, 256), 9);
}

#if MARVOX_SLOT_CHECKS
TEST(SlotArrayDeathTest, AnIndexOutsideTheArrayStops) {
    EnsembleSet set;
    Allocate_Ensemble_Set(set, 3);
    const struct {
        int row, bin, slot;
    } outside[] = {{0, 0, 3}, {0, 0, -1}, {8, 0, 0}, {0, kMaxBins, 0}, {-1, 0, 0}};
    for (const auto& at : outside)
        EXPECT_DEATH(set.VelData(at.row, at.bin, at.slot) = 1, "outside")
            << at.row << " " << at.bin << " " << at.slot;
    EXPECT_DEATH(set.EnsNumbers[3] = 1, "outside");
    EXPECT_DEATH(set.AncData(0, 3) = 1, "outside");
    EXPECT_DEATH(set.VelData.Cell(0, 0)[8] = 1, "outside");
    EXPECT_DEATH(set.VelData.RowData(8, 0)[0] = 1, "outside");
}
#else
TEST(SlotArrayDeathTest, AnIndexOutsideTheArrayStops) {
    GTEST_SKIP() << "index checks are compiled out of release builds";
}
#endif
