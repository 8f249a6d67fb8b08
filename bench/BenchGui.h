#pragma once
// Text on the picture surfaces needs the window system's font database, which lives in a
// QGuiApplication; the benchmarks run offscreen unless the caller chose a platform.
#include <QGuiApplication>

namespace mvx::bench {

inline void EnsureGuiApp() {
    static int argc = 1;
    static char name[] = "marevox_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QCoreApplication::instance()) new QGuiApplication(argc, argv);
}

} // namespace mvx::bench
