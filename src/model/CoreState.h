#pragma once
// Everything one running program holds about its open file: the data set, the instrument set-up of the
// last decoded ensemble, the current ensemble bytes, the set descriptors, the options and the menu
// check marks the core reads, and the series chart's candles. Owned by one application object and passed by
// reference.
#include "model/Candles.h"
#include "model/DataSet.h"
#include "model/EnsembleFrame.h"
#include "model/InstrumentSetup.h"
#include "model/MenuState.h"
#include "model/Options.h"
#include "model/SetDescriptors.h"

#include "common/Callbacks.h"

namespace mvx {

struct CoreState {
    DataSet Data;
    InstrumentSetup Setup;
    EnsembleFrame Frame;
    SetDescriptors Set;
    Options Opts;
    MenuState Menus;
    Candles Series;        // the series chart's averaging intervals, read by the trend window
    YieldFn Yield;         // may be empty
    ProgressSink Progress; // members may be empty
};

} // namespace mvx
