#pragma once
// A small set of ensembles for the contour tests: its own arrays (every value 0 until a test writes
// one), numbered from 101, one metre cells from 2 m, all bins shown, an ensemble a second.
#include "charts/ContourChart.h"

#include <algorithm>

namespace mvx::test {

struct ContourFixture {
    SlotArray<int16_t> Vel;
    SlotArray<uint8_t> Intensity, Corr, PGood;
    SlotArray<int32_t> BTRange;
    ContourView View;

    ContourFixture(int bins, int ensembles) {
        const int slotCount = std::max(ensembles, 1);
        Vel.Allocate(8, kMaxBins, slotCount, 0);
        Intensity.Allocate(5, kMaxBins, slotCount, 0);
        Corr.Allocate(5, kMaxBins, slotCount, 0);
        PGood.Allocate(5, kMaxBins, slotCount, 0);
        BTRange.Allocate(5, 1, slotCount, 0);
        View.Source = ContourSource{&Vel, &Intensity, &Corr, &PGood, &BTRange, ensembles};
        ChartAxesInput& a = View.Axes;
        a.NumCells = bins;
        a.FirstBinShown = 1;
        a.LastBinShown = bins;
        a.FirstEnsNumber = 101;
        a.LastEnsNumber = 100 + ensembles;
        a.NumEnsembles = ensembles;
        a.CellLength = 1;
        a.Bin1Distance = 2;
        a.SetDuration = std::max(ensembles - 1, 0);
        // The user's scale 0..99 makes a palette index equal to its value.
        View.ScaleMode = 0;
        View.UserScale = {0, 99};
    }
};

inline void SetMargins(ChartState& st, float left, float right, float top, float bottom) {
    st.LeftMargin = left;
    st.RightMargin = right;
    st.TopMargin = top;
    st.BottomMargin = bottom;
}

} // namespace mvx::test
