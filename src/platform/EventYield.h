#pragma once
// The one place the program yields to the window system during long work: at most once per interval
// (50 ms by default), and never from inside itself, so a repaint or a menu click handled during the yield
// cannot start a second, nested round of event processing.
#include "common/Callbacks.h"

#include <QElapsedTimer>

namespace mvx {

class EventYield {
  public:
    explicit EventYield(int intervalMs = 50) : intervalMs_(intervalMs) {}
    // Processes pending events when the interval has passed since the last time.
    void operator()();
    // Processes pending events now (unless already inside a yield).
    void Now();
    // A callback for CoreState::Yield bound to this object.
    YieldFn AsYieldFn() {
        return [this] { (*this)(); };
    }
    bool Inside() const { return inside_; }
    int Count() const { return count_; } // how many times events were actually processed

  private:
    int intervalMs_;
    QElapsedTimer clock_;
    bool inside_ = false;
    int count_ = 0;
};

} // namespace mvx
