#pragma once
// The one object that owns a running program's state: the core state (data set, options, descriptors,
// menu marks), the display tables, the colour table, and the platform services the windows use. Windows get a
// reference.
#include "charts/ColorTable.h"
#include "model/CoreState.h"
#include "options/OptionsFile.h"

#include "platform/Dialogs.h"
#include "platform/EventYield.h"
#include "platform/Launcher.h"
#include "platform/MousePointer.h"

#include <string>

namespace mvx {

struct AppContext {
    AppContext(Dialogs& ui, Launcher& shell) : Ui(ui), Shell(shell) { Core.Yield = Yield.AsYieldFn(); }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    CoreState Core;
    DisplayTables Tables;
    ColorTableArray ColorTable{}; // the charts' palette, built once at start-up
    Dialogs& Ui;
    Launcher& Shell;
    MousePointer Pointer;
    EventYield Yield;
};

} // namespace mvx
