#include "charts/Animation.h"

#include "charts/ContourMouse.h"
#include "charts/SubSetCharts.h"
#include "common/Orientation.h"
#include "common/Rounding.h"

#include <algorithm>

namespace mvx {

namespace {

bool Finish(bool& running) {
    running = false;
    return false;
}

// Lowest and highest selected bin shown; false when none is selected.
bool SelectedBounds(const std::array<bool, 256>& bins, int32_t first, int32_t last, int32_t& lo,
                    int32_t& hi) {
    lo = 256;
    hi = 0;
    for (int32_t b = std::max(first, 1); b <= std::min(last, 255); ++b) {
        if (!bins[static_cast<size_t>(b)]) continue;
        lo = std::min(lo, b);
        hi = std::max(hi, b);
    }
    return hi > 0;
}

} // namespace

bool& Animation_Running(MenuState& menus, AnimationKind kind) {
    switch (kind) {
    case AnimationKind::Profile:
        return menus.AnimateProfileGo;
    case AnimationKind::Series:
        return menus.AnimateSeriesGo;
    case AnimationKind::Contour:
        break;
    }
    return menus.AnimateContourGo;
}

bool Any_Animation_Running(const MenuState& menus) {
    return menus.AnimateContourGo || menus.AnimateProfileGo || menus.AnimateSeriesGo;
}

void Stop_Animate(MenuState& menus) {
    menus.AnimateContourGo = menus.AnimateProfileGo = menus.AnimateSeriesGo = false;
}

int Series_Direction(int32_t orientationBalance) {
    return Mostly_Up_Looking(orientationBalance) ? 1 : -1;
}

bool Animate_Go(AnimationState& anim, CoreState& core, const ScrollBarState& h, AnimationKind kind) {
    if (!core.Set.FileValid) return false;
    bool& running = Animation_Running(core.Menus, kind);
    if (running) return Finish(running);
    running = true;
    SetDescriptors& set = core.Set;
    switch (kind) {
    case AnimationKind::Contour:
        // Half a page a step, so each sub set overlaps the one before by half.
        anim.ContourStep = std::max(RoundToInt32(h.LargeChange / 2.0), 1);
        anim.ContourMax = h.Max;
        anim.ContourPosition =
            static_cast<int32_t>(std::min<int64_t>(int64_t{h.Value} + anim.ContourStep, h.Max));
        anim.ContourReachedMax = h.Value >= h.Max;
        break;
    case AnimationKind::Profile:
        if (set.ProfileEnsNumber == 0) set.ProfileEnsNumber = set.FirstEnsNumber;
        break;
    case AnimationKind::Series:
        anim.SeriesStepsLeft = std::max(set.LastBinShown - set.FirstBinShown + 1, 0);
        break;
    }
    return true;
}

bool Animate_Step(AnimationState& anim, CoreState& core, AnimationKind kind, const AnimationHooks& hooks) {
    bool& running = Animation_Running(core.Menus, kind);
    if (!running || !core.Set.FileValid) return Finish(running);
    SetDescriptors& set = core.Set;
    switch (kind) {
    case AnimationKind::Contour: {
        if (anim.ContourReachedMax) return Finish(running);
        const int32_t value = anim.ContourPosition;
        anim.ContourReachedMax = value >= anim.ContourMax;
        anim.ContourPosition =
            static_cast<int32_t>(std::min<int64_t>(int64_t{value} + anim.ContourStep, anim.ContourMax));
        if (hooks.Set_HScroll) hooks.Set_HScroll(value);
        return true;
    }
    case AnimationKind::Profile: {
        if (set.ProfileEnsNumber >= set.LastEnsNumber) return Finish(running);
        const int32_t old = set.ProfileEnsNumber;
        // An indexed set steps to the ensemble of the next slot, over any numbers it skips.
        set.ProfileEnsNumber =
            set.Index.Empty()
                ? std::max(old + 1, set.FirstEnsNumber)
                : Step_Profile_Ensemble(old, 1, set.FirstEnsNumber, set.LastEnsNumber, Loaded_Numbers(core));
        if (set.ProfileEnsNumber == old) return Finish(running);
        if (hooks.Move_Profile) hooks.Move_Profile(old);
        return true;
    }
    case AnimationKind::Series: {
        if (anim.SeriesStepsLeft <= 0) return Finish(running);
        std::array<bool, 256>& bins = core.Opts.SeriesBinSelect;
        const std::array<bool, 256> old = bins;
        std::array<bool, 256> moved = bins;
        if (!Shift_Series_Bins(moved, Series_Direction(set.OrientationBalance), set.FirstBinShown,
                               set.LastBinShown))
            return Finish(running);
        bins = moved;
        --anim.SeriesStepsLeft;
        if (hooks.Move_Series) hooks.Move_Series(old, true);
        return true;
    }
    }
    return Finish(running);
}

void Animate_Rewind(CoreState& core, const ScrollBarState& h, AnimationKind kind,
                    const AnimationHooks& hooks) {
    if (!core.Set.FileValid) return;
    SetDescriptors& set = core.Set;
    switch (kind) {
    case AnimationKind::Contour:
        if (hooks.Set_HScroll) hooks.Set_HScroll(h.Min);
        break;
    case AnimationKind::Profile: {
        const int32_t old = set.ProfileEnsNumber;
        set.ProfileEnsNumber = set.FirstEnsNumber;
        if (hooks.Move_Profile) hooks.Move_Profile(old);
        break;
    }
    case AnimationKind::Series: {
        std::array<bool, 256>& bins = core.Opts.SeriesBinSelect;
        const int back = -Series_Direction(set.OrientationBalance);
        bool movedAny = false;
        for (int32_t guard = 0; guard < kMaxBins; ++guard) {
            int32_t lo = 0, hi = 0;
            if (!SelectedBounds(bins, set.FirstBinShown, set.LastBinShown, lo, hi)) break;
            if ((back < 0 && lo <= set.FirstBinShown) || (back > 0 && hi >= set.LastBinShown)) break;
            const std::array<bool, 256> old = bins;
            if (!Shift_Series_Bins(bins, back, set.FirstBinShown, set.LastBinShown)) break;
            movedAny = true;
            if (hooks.Move_Series) hooks.Move_Series(old, false);
        }
        if (movedAny && hooks.Move_Series) hooks.Move_Series(bins, true);
        break;
    }
    }
}

} // namespace mvx
