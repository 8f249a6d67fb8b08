#pragma once
// Text on a QImage needs the window system's font database, which lives in a QGuiApplication.
#include <QGuiApplication>

namespace mvx::test {

inline void EnsureGuiApp() {
    static int argc = 1;
    static char name[] = "test_charts_qt";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QGuiApplication(argc, argv);
}

} // namespace mvx::test
