#pragma once
// Monitor mode: a file that an instrument is still writing is re-opened whenever its set of files has
// changed size, checked every few seconds by a one-second timer. This unit makes the decisions; the
// desktop program owns the timer, the menus and the Open command and does what a tick asks.
#include "common/LeadingNumber.h"

#include <cstdint>
#include <functional>
#include <string>

namespace mvx {

struct Options;
struct MenuState;

// What one timer tick asks of the desktop program.
struct MonitorTickResult {
    bool DisableTimer = false; // monitoring was switched off: stop the timer
    bool ShowCaption = false;  // monitoring is on: Caption goes to the countdown menu item
    std::string Caption;       // seconds left until the next check
    bool Reopen = false;       // the set changed size: run the Open command on it
    // With Reopen: no file is loaded yet and a monitor file is set, so the Open command opens
    // MonitorFile by name; otherwise it reopens recent-file item 1.
    bool OpenMonitorFile = false;
};

// Total byte length of the file named and of the further files of its numbered set; 0 when the file
// cannot be opened. The desktop program runs its multi-file tests here.
using SetSizeFn = std::function<int64_t(const std::string& name)>;

// A command line split into the file to open and the monitor request " -Mnnnn" at its end.
struct MonitorCommandLine {
    std::string FileName;
    bool Monitor = false;
    int32_t Interval = 5; // meaningful when Monitor is set
};

class MonitorTimer {
  public:
    static constexpr int32_t kDefaultInterval = 5;
    static constexpr int32_t kMaxInterval = 9999;
    static constexpr int32_t kPeriodMs = 1000;

    int32_t Interval = kDefaultInterval; // seconds between size checks, 1..9999
    int32_t TickCounter = 0;             // seconds since the last check
    int64_t LastSize = 0;                // set size at the last reload; 0 once monitoring stops
    std::string MonitorFile;             // the file named with -M on the command line, else empty
    bool On = false;                     // the Monitor "On" check mark

    // The answer of the "Interval" input box: its numeric value (the leading number of the text, 0 when
    // there is none, as for an empty answer or Cancel), rounded; below 2 gives 1, above 9999 gives 9999.
    void SetInterval(const std::string& answer);

    // Monitor "On" checked: ShowLocators is remembered and switched off. Nothing happens when already on.
    // MenuState::MonitorOn mirrors On for the core's readers.
    void Switch_On(Options& options, MenuState& menus);
    // Monitor "On" unchecked: ShowLocators gets its remembered value back. The timer keeps running
    // until the next check, which asks for it to be disabled.
    void Switch_Off(Options& options, MenuState& menus);

    // One second has passed. Every Interval + 1 ticks the counter restarts at 0 and: when monitoring is
    // off the timer is to be disabled and LastSize becomes 0; when it is on, the set named by MonitorFile
    // (or, when that is empty, by recentItem1) is measured with setSize, and a name that is not empty with
    // a size other than LastSize asks for a reload and becomes the new LastSize. While on, the caption is
    // Interval - TickCounter.
    MonitorTickResult Tick(const std::string& recentItem1, bool fileLoaded, const SetSizeFn& setSize);

  private:
    bool SavedShowLocators_ = true;
};

// The interval rule shared by the input box and the command line: value rounded (halves to even), then
// below 2 gives 1 and above 9999 gives 9999.
int32_t LimitMonitorInterval(double value);

// Removes one leading and one trailing double quote from the whole command line; then when its last 7
// characters are " -M" and four digits they give the monitor interval and the file name is the rest
// (a closing quote left before " -M" by a quoted name is removed too).
MonitorCommandLine Parse_Monitor_Command_Line(const std::string& commandLine);

} // namespace mvx
