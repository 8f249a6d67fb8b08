#pragma once
// How the navigator moves the sub set: its two scroll bars (ensembles across the file, bins up and
// down), the arrow keys and the box dragged over the whole-set chart. Each gives the range to load or
// show; the window loads it (Read_File_Selection) and redraws.
#include "charts/WholeSetChart.h"
#include "model/SetDescriptors.h"

#include <cstdint>

namespace mvx {

// One scroll bar. Positions are computed relative to Min and Max.
struct ScrollBarState {
    int32_t Min = 0, Max = 32767;
    int32_t Value = 0;
    int32_t SmallChange = 1, LargeChange = 1;
    bool Enabled = true;
};

// HScroll1 moves the sub set along the file, VScroll1 the bins shown (its top shows the top bins).
struct NavigatorScrolls {
    ScrollBarState H, V;
};

struct EnsembleSpan {
    int32_t First = 0, Last = 0;
    bool operator==(const EnsembleSpan&) const = default;
};
struct BinRange {
    int32_t First = 0, Last = 0;
    bool operator==(const BinRange&) const = default;
};

// Ensembles the sub set can move over: (FileLastEnsemble - WholeFirstEns) - (LastEnsNumber -
// FirstEnsNumber), at least 1. An indexed file counts ensembles present instead of numbers, here and in
// every bar and arrow below: its entries less the entries the sub set holds, so that a step over a gap
// lands on ensembles that are there and the last page ends at the last entry.
int32_t Ensemble_Span(const SetDescriptors& set);
// Bins the shown range can move over: NumCells - bins shown, at least 1.
int32_t Bin_Span(const SetDescriptors& set, int32_t numCells);

// Steps of both bars: a small change is about one ensemble (bin), a large change one sub-set length
// (bin range), each within 1..32767. The horizontal bar is disabled when the sub set is the whole file,
// the vertical one when every bin is shown.
void Set_Scroll_Steps(NavigatorScrolls& scrolls, const SetDescriptors& set, int32_t numCells);

// Both bars to the position of the current sub set and bins (Move_Scrollers), steps included.
void Move_Scrollers(NavigatorScrolls& scrolls, const SetDescriptors& set, int32_t numCells);

// The sub set a horizontal bar position stands for: as long as the current one, starting at the
// position's share of the span, kept inside the file; at Max it ends at the file's last ensemble.
EnsembleSpan HScroll_Range(const ScrollBarState& h, const SetDescriptors& set);

// The bins a vertical bar position stands for: as many as are shown now, Min showing the top bins.
BinRange VScroll_Bins(const ScrollBarState& v, const SetDescriptors& set, int32_t numCells);

// Right (+1) and left (-1) arrow: the sub set one ensemble on or back; false at the end of the file.
bool Shift_Sub_Set(const SetDescriptors& set, int delta, EnsembleSpan& out);
// Up (+1) and down (-1) arrow: the bins shown one bin up or down; false at the top or bottom bin.
bool Shift_Bins_Shown(const SetDescriptors& set, int32_t numCells, int delta, BinRange& out);

// The selection of a box dragged from the cell press to the cell release of the whole-set chart: the
// corner columns become ensemble numbers (the last column the file's last ensemble), sorted and kept
// within the whole set; the corner rows become bins. False when the corners share a row or a column.
struct DragSelection {
    EnsembleSpan Ensembles;
    BinRange Bins;
};
bool Drag_Box_Selection(const WholeSetChart& chart, const ChartDataIndex& press,
                        const ChartDataIndex& release, DragSelection& out);

} // namespace mvx
