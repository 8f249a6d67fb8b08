#pragma once
// Everything one running program holds about its open file: the data set, the instrument set-up of the
// last decoded ensemble, the current ensemble bytes, the set descriptors, the options and the menu
// check marks the core reads. Owned by one application object and passed by reference.
#include "dataset/DataSet.h"
#include "dataset/MenuState.h"
#include "dataset/SetDescriptors.h"
#include "ensemble/EnsembleFrame.h"
#include "ensemble/InstrumentSetup.h"
#include "options/Options.h"

#include <functional>

namespace mvx {

// Called by long loops; the desktop program yields to its event loop here (rate-limited on its side).
using YieldFn = std::function<void()>;
// Progress of a load: caption and value 0..100. The window shows, updates and hides itself from it.
struct ProgressSink {
    std::function<void(const std::string& caption)> Show;
    std::function<void(double value)> Value;
    std::function<void()> Hide;
};

struct CoreState {
    DataSet Data;
    InstrumentSetup Setup;
    EnsembleFrame Frame;
    SetDescriptors Set;
    Options Opts;
    MenuState Menus;
    YieldFn Yield;          // may be empty
    ProgressSink Progress;  // members may be empty
};

} // namespace mvx
