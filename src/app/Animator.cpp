#include "app/Animator.h"

#include "app/MainWindow.h"
#include "app/SubSetWindow.h"
#include "app/WholeSetWindow.h"

#include <QAction>

namespace mvx {

Animator::Animator(AppContext& app, MainWindow& main, WholeSetWindow& wholeSet, SubSetWindow* subSet)
    : QObject(&main), app_(app), main_(main), wholeSet_(wholeSet), subSet_(subSet) {
    for (AnimationKind kind : {AnimationKind::Contour, AnimationKind::Profile, AnimationKind::Series}) {
        QTimer& timer = Timer(kind);
        timer.setInterval(kStepMs);
        connect(&timer, &QTimer::timeout, this, [this, kind] { Step(kind); });
    }
    WindowHooks& hooks = main_.Hooks();
    hooks.Animate = [this](int chart, bool go) {
        if (chart >= 0 && chart <= 2) Animate_Click(static_cast<AnimationKind>(chart), go);
    };
    hooks.Stop_Animate = [this] { Stop_Animate(); };
    main_.Update_Menus();
}

AnimationHooks Animator::Hooks() {
    AnimationHooks hooks;
    hooks.Set_HScroll = [this](int32_t value) { wholeSet_.Set_HScroll(value); };
    if (subSet_ != nullptr) {
        hooks.Move_Profile = [this](int32_t old) { subSet_->Animate_Profile_Locator(old); };
        hooks.Move_Series = [this](const std::array<bool, 256>& old, bool redraw) {
            subSet_->Animate_Series_Locators(old, redraw);
        };
    }
    return hooks;
}

void Animator::Animate_Click(AnimationKind kind, bool go) {
    CoreState& core = app_.Core;
    if (!core.Set.FileValid) {
        Sync_Check_Marks();
        return;
    }
    if (!go) {
        Animate_Rewind(core, wholeSet_.Scrolls().H, kind, Hooks());
        return;
    }
    if (Animate_Go(state_, core, wholeSet_.Scrolls().H, kind)) {
        Timer(kind).start();
        Step(kind); // the first step at once
    } else {
        Timer(kind).stop();
    }
    Sync_Check_Marks();
}

void Animator::Step(AnimationKind kind) {
    if (stepping_) return;
    stepping_ = true;
    const bool more = Animate_Step(state_, app_.Core, kind, Hooks());
    stepping_ = false;
    if (!more) Timer(kind).stop();
    Sync_Check_Marks();
}

void Animator::Stop_Animate() {
    mvx::Stop_Animate(app_.Core.Menus);
    for (QTimer& timer : timers_) timer.stop();
    Sync_Check_Marks();
}

void Animator::Sync_Check_Marks() {
    MenuState& menus = app_.Core.Menus;
    const MainMenu& m = main_.Menu();
    m.Con_Ani(0)->setChecked(menus.AnimateContourGo);
    m.Pro_Ani(0)->setChecked(menus.AnimateProfileGo);
    m.Ser_Ani(0)->setChecked(menus.AnimateSeriesGo);
}

} // namespace mvx
