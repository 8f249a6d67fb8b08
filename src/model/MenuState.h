#pragma once
// Check marks of the main window's menus that the core reads (the desktop program mirrors them).
namespace mvx {

struct MenuState {
    bool FlipChecked = false;      // Edit > Flip: inverts the orientation of every ensemble
    bool MultiFileChecked = false; // File > MultiFile
    bool MonitorOn = false;        // Monitor > On
    bool AnimateContourGo = false, AnimateProfileGo = false, AnimateSeriesGo = false;
};

} // namespace mvx
