#include "charts/ContourMouse.h"

#include "common/Rounding.h"

#include <algorithm>
#include <utility>

namespace mvx {

ContourClick Contour_Click(const ContourChart& chart, const Surface& picture1, double x, double y) {
    ContourClick click;
    const ChartDataIndex cell = Get_Chart3d_DataIndex(chart, picture1, x, y);
    if (chart.Axes.NumEnsembles < 1) return click;
    const ChartState& st = chart.Frame;
    if (st.LeftMargin - 2 < x && x < picture1.Width() - st.RightMargin + 2) {
        click.ProfileChanged = true;
        click.ProfileEnsNumber = Ensemble_In_Column(chart.Axes, cell.EnsembleIndex);
    }
    const int32_t bins = chart.Axes.LastBinShown - chart.Axes.FirstBinShown + 1;
    if (bins >= 1 && st.TopMargin - 2 < y && y < picture1.Height() - st.BottomMargin + 2) {
        const int32_t bin = Bin_Of_Row(chart, cell.BinRow);
        if (bin >= 1 && bin <= 255) {
            click.SeriesChanged = true;
            click.Bin = bin;
        }
    }
    return click;
}

bool Zoom_Range(const ContourChart& chart, const ChartDataIndex& press, const ChartDataIndex& release,
                ZoomRange& out) {
    if (press.BinRow == release.BinRow || press.EnsembleIndex == release.EnsembleIndex) return false;
    out.FirstBin = Bin_Of_Row(chart, press.BinRow);
    out.LastBin = Bin_Of_Row(chart, release.BinRow);
    if (out.FirstBin > out.LastBin) std::swap(out.FirstBin, out.LastBin);
    out.FirstEnsemble = Ensemble_In_Column(chart.Axes, press.EnsembleIndex);
    out.LastEnsemble = Ensemble_In_Column(chart.Axes, release.EnsembleIndex);
    if (out.FirstEnsemble > out.LastEnsemble) std::swap(out.FirstEnsemble, out.LastEnsemble);
    return true;
}

void Toggle_Zoom_Box(Surface& picture1, ZoomState& zoom) {
    picture1.SetDrawMode(DrawMode::XorPen);
    picture1.SetDrawStyle(DrawStyle::Solid);
    picture1.SetDrawWidth(1);
    picture1.Box(zoom.BoxX1, zoom.BoxY1, zoom.BoxX2, zoom.BoxY2, kWhite);
    picture1.SetDrawMode(DrawMode::Copy);
    zoom.BoxShown = !zoom.BoxShown;
}

void Start_Zoom_Box(ZoomState& zoom, const ChartDataIndex& cell, double x, double y) {
    zoom.ZoomArmed = false;
    zoom.PressEnsemble = cell.EnsembleIndex;
    zoom.PressRow = cell.BinRow;
    zoom.BoxX1 = zoom.BoxX2 = RoundToInt32(x);
    zoom.BoxY1 = zoom.BoxY2 = RoundToInt32(y);
    zoom.BoxShown = false;
    zoom.ZoomDragging = true;
}

void Move_Zoom_Box(Surface& picture1, ZoomState& zoom, double x, double y) {
    if (zoom.BoxShown) Toggle_Zoom_Box(picture1, zoom);
    zoom.BoxX2 = RoundToInt32(x);
    zoom.BoxY2 = RoundToInt32(y);
    Toggle_Zoom_Box(picture1, zoom);
}

int32_t Step_Profile_Ensemble(int32_t current, int delta, int32_t first, int32_t last,
                              const std::vector<int32_t>& numbers) {
    if (!numbers.empty()) {
        const int32_t column = Column_Of_Number(numbers, first, current);
        const int32_t to =
            column < 0 ? 0 : std::clamp(column + delta, 0, static_cast<int32_t>(numbers.size()) - 1);
        return numbers[static_cast<size_t>(to)];
    }
    if (last < first) return current;
    const int64_t next = int64_t{current} + delta;
    return static_cast<int32_t>(std::clamp<int64_t>(next, first, last));
}

bool Shift_Series_Bins(std::array<bool, 256>& bins, int delta, int32_t firstShown, int32_t lastShown) {
    if (delta == 0) return false;
    const int32_t edge = delta > 0 ? lastShown : firstShown;
    if (edge >= 1 && edge <= 255 && bins[static_cast<size_t>(edge)]) return false;
    std::array<bool, 256> moved{};
    for (int bin = 1; bin <= 255; ++bin) {
        if (!bins[static_cast<size_t>(bin)]) continue;
        const int to = bin + (delta > 0 ? 1 : -1);
        if (to >= 1 && to <= 255) moved[static_cast<size_t>(to)] = true;
    }
    bins = moved;
    return true;
}

} // namespace mvx
