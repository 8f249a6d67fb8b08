#pragma once
// Callbacks by which the core reports to whoever drives it; the core never calls a window system.
#include <functional>
#include <string>

namespace mvx {

// Called by long loops at a bounded rate; the desktop program yields to its event loop here.
using YieldFn = std::function<void()>;

// Progress of a load: the window shows itself with a caption, takes values 0..100 and hides. Value
// answers whether the load may go on: false asks it to stop after the ensemble it has just stored.
struct ProgressSink {
    std::function<void(const std::string& caption)> Show;
    std::function<bool(double value)> Value;
    std::function<void()> Hide;
    void DoShow(const std::string& caption) const {
        if (Show) Show(caption);
    }
    // True while the load may go on; an empty Value never stops it.
    bool DoValue(double value) const { return !Value || Value(value); }
    void DoHide() const {
        if (Hide) Hide();
    }
};

} // namespace mvx
