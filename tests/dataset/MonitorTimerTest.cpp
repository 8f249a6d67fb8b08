#include "dataset/MonitorTimer.h"

#include "model/MenuState.h"
#include "model/Options.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mvx;

namespace {

// A set whose size the test sets, recording the names it was asked about.
struct FakeSet {
    int64_t Size = 0;
    std::vector<std::string> Asked;
    SetSizeFn Fn() {
        return [this](const std::string& name) {
            Asked.push_back(name);
            return Size;
        };
    }
};

MonitorTimer Monitoring(const std::string& file) {
    MonitorTimer m;
    Options o;
    MenuState menus;
    m.MonitorFile = file;
    m.Switch_On(o, menus);
    return m;
}

} // namespace

TEST(MonitorTimer, CountsDownFourToZeroThenChecksOnTheSixthTick) {
    MonitorTimer m = Monitoring("/data/RUN.000");
    FakeSet set;
    set.Size = 5000;
    const char* countdown[] = {"4", "3", "2", "1", "0"};
    for (const char* expected : countdown) {
        const auto r = m.Tick("", true, set.Fn());
        EXPECT_TRUE(r.ShowCaption);
        EXPECT_EQ(r.Caption, expected);
        EXPECT_FALSE(r.Reopen);
        EXPECT_FALSE(r.DisableTimer);
    }
    EXPECT_TRUE(set.Asked.empty());
    const auto sixth = m.Tick("", true, set.Fn());
    ASSERT_EQ(set.Asked.size(), 1u);
    EXPECT_EQ(set.Asked[0], "/data/RUN.000");
    EXPECT_EQ(sixth.Caption, "5");
    EXPECT_TRUE(sixth.Reopen); // 5000 differs from the 0 of a fresh start
    EXPECT_EQ(m.LastSize, 5000);
    EXPECT_EQ(m.Tick("", true, set.Fn()).Caption, "4");
}

TEST(MonitorTimer, ReloadsOnlyWhenTheSetSizeChanges) {
    MonitorTimer m = Monitoring("");
    m.Interval = 1; // a check every second tick
    FakeSet set;
    const int64_t sizes[] = {1000, 1000, 1500, 1500, 900};
    const bool reload[] = {true, false, true, false, true};
    for (int check = 0; check < 5; ++check) {
        set.Size = sizes[check];
        EXPECT_FALSE(m.Tick("/d/last.000", true, set.Fn()).Reopen);
        const auto r = m.Tick("/d/last.000", true, set.Fn());
        EXPECT_EQ(r.Reopen, reload[check]) << check;
        EXPECT_FALSE(r.OpenMonitorFile);
        EXPECT_EQ(m.LastSize, sizes[check]);
    }
    for (const auto& name : set.Asked) EXPECT_EQ(name, "/d/last.000"); // recent item 1 without a monitor file

    MonitorTimer none = Monitoring(""); // no name at all never reloads
    none.Interval = 1;
    none.Tick("", false, set.Fn());
    EXPECT_FALSE(none.Tick("", false, set.Fn()).Reopen);
}

TEST(MonitorTimer, MonitorFileIsOpenedByNameUntilAFileIsLoaded) {
    MonitorTimer m = Monitoring("/d/live.000");
    m.Interval = 1;
    FakeSet set;
    set.Size = 10;
    m.Tick("/d/previous-run.000", false, set.Fn());
    auto r = m.Tick("/d/previous-run.000", false, set.Fn());
    EXPECT_TRUE(r.Reopen);
    EXPECT_TRUE(r.OpenMonitorFile);
    set.Size = 20;
    m.Tick("/d/live.000", true, set.Fn());
    r = m.Tick("/d/live.000", true, set.Fn());
    EXPECT_TRUE(r.Reopen);
    EXPECT_FALSE(r.OpenMonitorFile);
}

TEST(MonitorTimer, SwitchedOffTheNextCheckDisablesTheTimerAndForgetsTheSize) {
    Options o;
    MenuState menus;
    MonitorTimer m;
    m.Interval = 2;
    m.Switch_On(o, menus);
    EXPECT_FALSE(o.ShowLocators);
    FakeSet set;
    set.Size = 300;
    for (int t = 0; t < 3; ++t) m.Tick("/d/a.000", true, set.Fn());
    EXPECT_EQ(m.LastSize, 300);
    m.Switch_On(o, menus); // a second switch-on must not remember the hidden state
    m.Switch_Off(o, menus);
    EXPECT_TRUE(o.ShowLocators);
    set.Asked.clear();
    const bool disabled[] = {false, false, true};
    for (bool d : disabled) EXPECT_EQ(m.Tick("/d/a.000", true, set.Fn()).DisableTimer, d);
    EXPECT_EQ(m.LastSize, 0);
    EXPECT_TRUE(set.Asked.empty());
}

TEST(MonitorTimer, IntervalAnswerIsRoundedAndLimited) {
    struct Case {
        const char* answer;
        int32_t interval;
    } cases[] = {{"30", 30},      {"2.5", 2}, {"3.5", 4},    {"0", 1},        {"-7", 1},
                 {"12000", 9999}, {"abc", 1}, {"12abc", 12}, {"1e999", 9999}, {"", 1}};
    for (const auto& c : cases) {
        MonitorTimer m;
        m.SetInterval(c.answer);
        EXPECT_EQ(m.Interval, c.interval) << '"' << c.answer << '"';
    }
}

TEST(MonitorTimer, CommandLineGivesFileAndInterval) {
    auto r = Parse_Monitor_Command_Line("/data/RUN.000 -M0030");
    EXPECT_TRUE(r.Monitor);
    EXPECT_EQ(r.Interval, 30);
    EXPECT_EQ(r.FileName, "/data/RUN.000");
    EXPECT_EQ(Parse_Monitor_Command_Line("/data/RUN.000 -M0000").Interval, 1);

    r = Parse_Monitor_Command_Line("\"/my data/RUN.000\" -M0120");
    EXPECT_TRUE(r.Monitor);
    EXPECT_EQ(r.Interval, 120);
    EXPECT_EQ(r.FileName, "/my data/RUN.000");

    for (const char* notMonitor : {"/data/RUN.000 -M030", "/data/RUN.000 -m0030", "/data/RUN.000-M0030"}) {
        r = Parse_Monitor_Command_Line(notMonitor);
        EXPECT_FALSE(r.Monitor) << notMonitor;
        EXPECT_EQ(r.FileName, notMonitor);
    }
    EXPECT_EQ(Parse_Monitor_Command_Line("\"").FileName, "");
}
