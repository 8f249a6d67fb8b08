// The animations one step at a time: where each goes, where it ends, rewinds, and every way a run stops.
#include "charts/Animation.h"

#include <gtest/gtest.h>

#include <vector>

namespace mvx {
namespace {

class Animation : public ::testing::Test {
  protected:
    void SetUp() override {
        core.Set.FileValid = true;
        core.Set.FirstEnsNumber = 101;
        core.Set.LastEnsNumber = 104;
        core.Set.FirstBinShown = 1;
        core.Set.LastBinShown = 5;
        h.LargeChange = 10937; // half a page: round(5468.5) = 5468
        hooks.Set_HScroll = [this](int32_t v) { values.push_back(v); };
        hooks.Move_Profile = [this](int32_t old) { values.push_back(old); };
        hooks.Move_Series = [this](const std::array<bool, 256>&, bool redraw) { redraws += redraw; };
    }
    // Steps until the run ends (at most 100).
    int Run(AnimationKind kind) {
        int steps = 0;
        while (steps < 100 && Animate_Step(anim, core, kind, hooks)) ++steps;
        return steps;
    }
    std::vector<int> SelectedBins() const {
        std::vector<int> bins;
        for (int b = 0; b < 256; ++b)
            if (core.Opts.SeriesBinSelect[static_cast<size_t>(b)]) bins.push_back(b);
        return bins;
    }
    CoreState core;
    ScrollBarState h;
    AnimationState anim;
    AnimationHooks hooks;
    std::vector<int32_t> values;
    int redraws = 0;
};

TEST_F(Animation, ContourPagesByHalfAPageAndEndsAtTheMaximum) {
    ASSERT_TRUE(Animate_Go(anim, core, h, AnimationKind::Contour));
    EXPECT_TRUE(core.Menus.AnimateContourGo);
    ASSERT_TRUE(Animate_Step(anim, core, AnimationKind::Contour, hooks));
    // A rewind while it runs moves the bar to its minimum; the run goes on from its own position.
    Animate_Rewind(core, h, AnimationKind::Contour, hooks);
    EXPECT_EQ(Run(AnimationKind::Contour), 5);
    EXPECT_EQ(values, (std::vector<int32_t>{5468, 0, 10936, 16404, 21872, 27340, 32767}));
    EXPECT_FALSE(core.Menus.AnimateContourGo);
    // Started at the maximum it shows nothing more.
    values.clear();
    h.Value = h.Max;
    ASSERT_TRUE(Animate_Go(anim, core, h, AnimationKind::Contour));
    EXPECT_EQ(Run(AnimationKind::Contour), 0);
    EXPECT_TRUE(values.empty());
}

TEST_F(Animation, EveryWayOfStoppingEndsTheRunAtItsNextStep) {
    struct Case {
        const char* name;
        void (*stop)(CoreState&, AnimationState&, const ScrollBarState&);
    } cases[] = {
        {"Stop_Animate", [](CoreState& c, AnimationState&, const ScrollBarState&) { Stop_Animate(c.Menus); }},
        {"second click",
         [](CoreState& c, AnimationState& a, const ScrollBarState& bar) {
             EXPECT_FALSE(Animate_Go(a, c, bar, AnimationKind::Contour));
         }},
        {"file closed",
         [](CoreState& c, AnimationState&, const ScrollBarState&) { c.Set.FileValid = false; }},
    };
    for (const Case& c : cases) {
        core.Set.FileValid = true;
        values.clear();
        ASSERT_TRUE(Animate_Go(anim, core, h, AnimationKind::Contour)) << c.name;
        ASSERT_TRUE(Animate_Step(anim, core, AnimationKind::Contour, hooks));
        c.stop(core, anim, h);
        EXPECT_FALSE(Animate_Step(anim, core, AnimationKind::Contour, hooks)) << c.name;
        EXPECT_FALSE(core.Menus.AnimateContourGo) << c.name;
        EXPECT_EQ(values.size(), 1u) << c.name;
    }
    // Without a valid file nothing starts.
    EXPECT_FALSE(Animate_Go(anim, core, h, AnimationKind::Profile));
    EXPECT_FALSE(core.Menus.AnimateProfileGo);
}

TEST_F(Animation, ProfileWalksToTheLastEnsembleAndRewindsToTheFirst) {
    struct Case {
        int32_t start;
        int steps;
        int32_t end;
    } cases[] = {
        {0, 3, 104},   // no profile ensemble yet: starts at the first
        {102, 2, 104}, // from where it is
        {104, 0, 104}, // already at the last: the check mark comes and goes
    };
    for (const Case& c : cases) {
        core.Set.ProfileEnsNumber = c.start;
        ASSERT_TRUE(Animate_Go(anim, core, h, AnimationKind::Profile));
        EXPECT_EQ(Run(AnimationKind::Profile), c.steps) << c.start;
        EXPECT_EQ(core.Set.ProfileEnsNumber, c.end);
        EXPECT_FALSE(core.Menus.AnimateProfileGo);
    }
    Animate_Rewind(core, h, AnimationKind::Profile, hooks);
    EXPECT_EQ(core.Set.ProfileEnsNumber, 101);
}

TEST_F(Animation, ProfileOfAnIndexedSetStepsOverTheNumbersItSkips) {
    core.Set.Index.Entries.resize(4); // the file needs its index
    core.Set.LastEnsNumber = 111;
    core.Set.CurrentEnsIndex = 4;
    core.Data.Capacity = 4;
    core.Data.EnsNumbers.Allocate(1, 1, 4);
    const int32_t numbers[] = {101, 103, 110, 111};
    for (int k = 0; k < 4; ++k) core.Data.EnsNumbers[k] = numbers[k];
    core.Set.ProfileEnsNumber = 101;
    ASSERT_TRUE(Animate_Go(anim, core, h, AnimationKind::Profile));
    EXPECT_EQ(Run(AnimationKind::Profile), 3);
    EXPECT_EQ(values, (std::vector<int32_t>{101, 103, 110}));
    EXPECT_EQ(core.Set.ProfileEnsNumber, 111);
}

TEST_F(Animation, SeriesBinsMoveToTheFarEndOnceABinAndRewindToTheStart) {
    struct Case {
        int32_t balance; // OrientationBalance
        std::vector<int> start;
        int steps;
        std::vector<int> end, rewound;
    } cases[] = {
        {-3, {2}, 3, {5}, {1}},          // up-looking: towards the top bin
        {-3, {1, 3}, 2, {3, 5}, {1, 3}}, // two bins keep their distance
        {5, {4}, 3, {1}, {5}},           // down-looking: towards bin 1
        {-3, {5}, 0, {5}, {1}},          // already at the end
    };
    for (const Case& c : cases) {
        core.Set.OrientationBalance = c.balance;
        core.Opts.SeriesBinSelect.fill(false);
        for (int b : c.start) core.Opts.SeriesBinSelect[static_cast<size_t>(b)] = true;
        redraws = 0;
        ASSERT_TRUE(Animate_Go(anim, core, h, AnimationKind::Series));
        EXPECT_EQ(Run(AnimationKind::Series), c.steps) << c.balance;
        EXPECT_EQ(redraws, c.steps);
        EXPECT_EQ(SelectedBins(), c.end);
        EXPECT_FALSE(core.Menus.AnimateSeriesGo);
        Animate_Rewind(core, h, AnimationKind::Series, hooks);
        EXPECT_EQ(SelectedBins(), c.rewound) << c.balance;
    }
}

} // namespace
} // namespace mvx
