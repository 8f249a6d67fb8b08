#pragma once
// The Animate menu's three animations in the desktop program: each runs on its own timer, one step a
// tick, so the window system answers (menus, repaints, resizes) between steps. The "&Go" item's check
// mark is the running flag; Stop_Animate clears all three.
#include "app/AppContext.h"

#include "charts/Animation.h"

#include <QObject>
#include <QTimer>

#include <array>

namespace mvx {

class MainWindow;
class SubSetWindow;
class WholeSetWindow;

class Animator : public QObject {
    Q_OBJECT
  public:
    // Fills in the main window's Animate and Stop_Animate hooks. The sub-set window may be missing (the
    // profile and series animations then change the state without drawing).
    Animator(AppContext& app, MainWindow& main, WholeSetWindow& wholeSet, SubSetWindow* subSet);

    // The menu handlers: go starts or stops, otherwise rewinds.
    void Animate_Click(AnimationKind kind, bool go);
    void Stop_Animate();
    // One step of a running animation (what its timer calls).
    void Step(AnimationKind kind);

    // Milliseconds between steps: 25 frames a second.
    static constexpr int kStepMs = 40;
    QTimer& Timer(AnimationKind kind) { return timers_[static_cast<size_t>(kind)]; }

  private:
    AnimationHooks Hooks();
    void Sync_Check_Marks();

    AppContext& app_;
    MainWindow& main_;
    WholeSetWindow& wholeSet_;
    SubSetWindow* subSet_;
    AnimationState state_;
    // A step loads a sub set, and the load yields to the event loop: a timer tick that arrives meanwhile
    // must not start a second step inside the first, whose load would then finish last and win.
    bool stepping_ = false;
    std::array<QTimer, 3> timers_;
};

} // namespace mvx
