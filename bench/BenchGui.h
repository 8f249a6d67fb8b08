#pragma once
// The one QGuiApplication that benchmarks painting into Qt pictures need, made offscreen on first use.
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
