#pragma once
// The public procedures of the chart, analysis and dialog windows that the main window calls. Each window
// fills in its own entries when it is created; an empty entry means that window does not exist (yet), and
// the main window then skips the call.
#include <cstdint>
#include <functional>

#include <QImage>

namespace mvx {

struct WindowHooks {
    // Animation (stops every running animation loop).
    std::function<void()> Stop_Animate;
    // Runs once at start-up right after the colour table (AppContext::ColorTable) is built.
    std::function<void()> Init_Color_Table;
    // Whole-set window (navigator): full rebuild with a contour data type, and its sub-set marker.
    std::function<void(int32_t dataType)> Init_WholeSet_Charts;
    std::function<void()> Show_Selected_Data_Location;
    // After a whole-set load: the series-bin choices are mapped onto the displayed bins (using the
    // set's OrientationBalance), before the navigator is initialised.
    std::function<void()> Map_Series_Bins;
    // Whole-set window: its scroll bars follow the sub set after a zoom, without loading anything.
    std::function<void()> Move_Scrollers;
    // Data viewer: the cell under the mouse (ensemble index of the loaded set, bin row counted from the
    // top of the contour).
    std::function<void(int32_t ensembleIndex, int32_t binRow)> Update_Data_View;
    // Sub-set window: full rebuild of the contour, profile and series charts.
    std::function<void(int32_t dataType)> Init_SubSet_Charts;
    std::function<void()> Force_Statistics_Display;
    // Pictures for the clipboard: the navigator's chart, and the composite of the sub-set window's charts.
    // Without them the windows are copied as they are shown.
    std::function<QImage()> WholeSet_Picture;
    std::function<QImage()> SubSet_Picture;
    // Fit_Form of the whole-set and sub-set windows ("&Align Forms").
    std::function<void()> Fit_WholeSet_Form;
    std::function<void()> Fit_SubSet_Form;
    // Chart options dialog: re-initialised hidden (false) or shown (true); Show_Options opens it on a tab
    // (1 Contour .. 5 Processing). Enabled/disabled while monitoring.
    std::function<void(bool show)> Options_ForceLoad;
    std::function<void(int tab)> Show_Options;
    std::function<void(bool enabled)> Options_Enable;
    // Export dialog, file details, trend and report editor.
    std::function<void()> Show_Export;
    std::function<void(bool enabled)> Export_Enable;
    std::function<void()> Show_Details;
    std::function<void()> Show_Report;
    // Trend window: rebuilds its statistics from the series chart's candles and shows itself (the series
    // chart calls it after every redraw of its candles).
    std::function<void()> Show_Stat_Data;
    // Trend window: the same while it is on screen, nothing while it is not (after a series redraw).
    std::function<void()> Update_Stat_Data;
    // Track vector window: its flag that the loaded set changed, and its own menus for Disable_Menus.
    std::function<void()> Set_RotateNeeded;
    std::function<void(bool disable)> TrackVector_Disable_Menus;
    // Animation menu items (index 0 Contour, 1 Profile, 2 Series; go = true for "&Go", false "&Rewind").
    std::function<void(int chart, bool go)> Animate;
};

} // namespace mvx
