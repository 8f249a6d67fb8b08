#include "dataset/MonitorTimer.h"

#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "model/MenuState.h"
#include "model/Options.h"

#include <cmath>
#include <limits>

namespace mvx {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int32_t LimitMonitorInterval(double value) {
    if (std::isnan(value)) return 1;
    const double r = RoundHalfEven(value);
    if (r < 2) return 1;
    if (r > MonitorTimer::kMaxInterval) return MonitorTimer::kMaxInterval;
    return static_cast<int32_t>(r);
}

void MonitorTimer::SetInterval(const std::string& answer) {
    Interval = LimitMonitorInterval(LeadingNumberValue(answer));
}

void MonitorTimer::Switch_On(Options& options, MenuState& menus) {
    if (On) return;
    SavedShowLocators_ = options.ShowLocators;
    options.ShowLocators = false;
    On = true;
    menus.MonitorOn = true;
}

void MonitorTimer::Switch_Off(Options& options, MenuState& menus) {
    if (!On) return;
    On = false;
    menus.MonitorOn = false;
    options.ShowLocators = SavedShowLocators_;
}

MonitorTickResult MonitorTimer::Tick(const std::string& recentItem1, bool fileLoaded,
                                     const SetSizeFn& setSize) {
    MonitorTickResult result;
    if (TickCounter < std::numeric_limits<int32_t>::max()) ++TickCounter;
    if (TickCounter > Interval) {
        TickCounter = 0;
        if (!On) {
            result.DisableTimer = true;
            LastSize = 0;
        } else {
            const std::string& name = MonitorFile.empty() ? recentItem1 : MonitorFile;
            // Measured even for an empty name, so the caller's multi-file counts follow the check.
            const int64_t size = setSize ? setSize(name) : 0;
            if (!name.empty() && size != LastSize) {
                LastSize = size;
                result.Reopen = true;
                // Before any file is loaded, recent item 1 may still name the previous run's file.
                result.OpenMonitorFile = !fileLoaded && !MonitorFile.empty();
            }
        }
    }
    if (On) {
        result.ShowCaption = true;
        result.Caption = FormatNumber(static_cast<double>(Interval) - TickCounter, "0");
    }
    return result;
}

MonitorCommandLine Parse_Monitor_Command_Line(const std::string& commandLine) {
    std::string line = commandLine;
    bool quoted = false;
    if (!line.empty() && line.front() == '"') {
        line.erase(0, 1);
        quoted = true;
    }
    if (!line.empty() && line.back() == '"') line.pop_back();

    MonitorCommandLine result;
    const std::size_t n = line.size();
    if (n >= 7 && line.compare(n - 7, 3, " -M") == 0 && IsDigit(line[n - 4]) && IsDigit(line[n - 3]) &&
        IsDigit(line[n - 2]) && IsDigit(line[n - 1])) {
        const int value = (line[n - 4] - '0') * 1000 + (line[n - 3] - '0') * 100 + (line[n - 2] - '0') * 10 +
                          (line[n - 1] - '0');
        result.Monitor = true;
        result.Interval = LimitMonitorInterval(value);
        line.resize(n - 7);
        // "name" -M0030: the closing quote of the name sits before the switch, not at the end.
        if (quoted && !line.empty() && line.back() == '"') line.pop_back();
    }
    result.FileName = line;
    return result;
}

} // namespace mvx
