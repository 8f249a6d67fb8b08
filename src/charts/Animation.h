#pragma once
// The three animations of the Animate menu, one step at a time: the contour pages the sub set through
// the file by the navigator's horizontal scroll bar, the profile walks its ensemble through the sub set,
// the series walks the selected bins through the bins shown. The check mark of each "&Go" item (the
// menu state) is the running flag: clearing it (Stop_Animate, a second click, the file closing) ends the
// run at its next step. The desktop program calls Animate_Step from a timer, so the window system
// answers between steps.
#include "charts/Navigator.h"
#include "model/CoreState.h"

#include <array>
#include <cstdint>
#include <functional>

namespace mvx {

enum class AnimationKind { Contour = 0, Profile = 1, Series = 2 };

// What a step does to the windows. Empty members are skipped.
struct AnimationHooks {
    // Sets the navigator's horizontal scroll bar, which loads and draws the sub set at that position.
    std::function<void(int32_t value)> Set_HScroll;
    // Moves the profile locator to the state's ProfileEnsNumber and redraws the profile chart.
    std::function<void(int32_t oldEnsemble)> Move_Profile;
    // Moves the series locators from the old bins to the state's bins; redraw says the series chart (and
    // the track vector window) follow.
    std::function<void(const std::array<bool, 256>& oldBins, bool redraw)> Move_Series;
};

// Where each running animation stands.
struct AnimationState {
    int32_t ContourPosition = 0, ContourStep = 1, ContourMax = 0;
    bool ContourReachedMax = false;
    int32_t SeriesStepsLeft = 0;
};

// The running flag (the "&Go" check mark) of one animation.
bool& Animation_Running(MenuState& menus, AnimationKind kind);
bool Any_Animation_Running(const MenuState& menus);

// Clears the three check marks; every running animation ends at its next step.
void Stop_Animate(MenuState& menus);

// The bins move towards the far end of an up-looking set (+1) and back for a down-looking one (-1).
int Series_Direction(int32_t orientationBalance);

// "&Go": stops the animation when it runs; otherwise sets its check mark and prepares the run (the
// contour's half-page step from the scroll bar's large change). Returns whether it now runs. Nothing
// while no valid file is open.
bool Animate_Go(AnimationState& anim, CoreState& core, const ScrollBarState& h, AnimationKind kind);

// One step of a running animation; false (and the check mark cleared) when the run has ended: the
// check mark was cleared, the file is no longer valid, or the end was reached. The contour steps to
// positions start, start + step, ... and last to the scroll bar's maximum, so the file's last sub set
// is shown; the profile stops at the last ensemble of the sub set; the series runs once per bin shown
// and stops when the selected bins reach the end.
bool Animate_Step(AnimationState& anim, CoreState& core, AnimationKind kind, const AnimationHooks& hooks);

// "&Rewind": the contour's scroll bar to its minimum; the profile ensemble to the first of the sub set;
// the selected series bins back one bin at a time until they reach the start (the first bin shown for
// an up-looking set, the last for a down-looking one). Nothing while no valid file is open.
void Animate_Rewind(CoreState& core, const ScrollBarState& h, AnimationKind kind,
                    const AnimationHooks& hooks);

} // namespace mvx
