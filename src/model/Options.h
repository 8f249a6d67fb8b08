#pragma once
// The options record: every user setting of the charts, of velocity processing and of the window
// layout, with its default. Saved as a keyless text file, one value per line.
#include <array>
#include <cstdint>
#include <string>

namespace mvx {

// Window geometry in twips, as the options file keeps it; state 0 normal, 1 minimised, 2 maximised.
// The reader stores these exactly as read: the desktop program applies a coordinate only when it is >= 0
// (so -1 leaves the window's own value) and a state only when it is 0, 1 or 2.
struct WindowLayout {
    int32_t Left = -1, Top = -1, Width = -1, Height = -1;
    int32_t State = 0;
};

// Index of each window in the layout record.
enum LayoutWindow { kLayoutMain = 0, kLayoutWholeSet, kLayoutInformation, kLayoutTrackVector, kLayoutSubSet };
// Index of each Window-menu check mark in the menu-state record.
enum WindowMenuItem { kMenuTrackVector = 0, kMenuInformation, kMenuWholeSet, kMenuSubSet, kMenuViewer };

struct Options {
    // Contour chart.
    int32_t ContourScaleMode = 4;
    std::array<int32_t, 2> ContourUserScale{-1000, 1000};
    bool ShowLocators = true;
    bool ShowGrid = true;
    int32_t ContourDataType = 500;
    bool ShowBTDepth = false;

    // Profile chart.
    std::array<bool, 23> ProfileDataTypes{};
    bool ProfileLines = true, ProfileSymbols = false, ProfileGrid = true;
    // Classes: intensity, correlation, velocity, magnitude, direction, statistics, percent good.
    std::array<double, 7> ProfileScaleMin{64, 64, -1000, 500, 90, -100, 0};
    std::array<double, 7> ProfileScaleMax{192, 192, 1000, 2000, 270, 100, 100};
    int32_t ProfileEnsNumber = 0;

    // Series chart.
    bool SeriesCombo = true, SeriesLines = true, SeriesSymbols = false, SeriesGrid = true;
    std::array<bool, 37> SeriesDataTypes{};
    // Classes: intensity, correlation, velocity, magnitude, direction, percent good (not saved).
    std::array<double, 6> SeriesScaleMin{64, 64, -1000, 500, 90, 0};
    std::array<double, 6> SeriesScaleMax{192, 192, 1000, 2000, 270, 100};
    double SeriesAverageInterval = 43200;
    bool SeriesAverageAll = true;
    bool SeriesAverageOn = true;
    std::array<bool, 256> SeriesBinSelect{}; // bins 1..255 at their own index; 0 unused

    // Ancillary chart: pitch, roll, heading, temperature, depth, orientation, BIT, battery, velocity,
    // magnitude, direction.
    std::array<bool, 8> AncDataTypes{};
    bool AncLines = true, AncSymbols = false, AncGrid = true;
    std::array<double, 11> AncScaleMin{-20, -20, 90, 0, 100, 0, 0, 64, -1000, 500, 90};
    std::array<double, 11> AncScaleMax{20, 20, 270, 20, 300, 1, 1, 192, 1000, 2000, 270};

    // Processing.
    float WaterDensity = 1000;
    int32_t VelocityReference = 0;
    double WaterVelScale = 1.0;
    double BottomVelScale = 1.0;
    std::array<bool, 5> EndOfProfile{}; // BT Depth, RSSI Bump, Cos(BeamAngle), Cut 1 Bin, Cut 2 Bins

    // Layout and data set.
    int32_t MaxSubEnsembles = 256;
    int32_t MaxWholeEnsembles = 256; // not in the file
    double ContourHeightShare = 0.5;
    double ProfileWidthShare = 0.2;
    int32_t MonitorInterval = 5;       // not in the file
    int32_t MonitorTimerPeriod = 1000; // ms, not in the file

    // Window layout and menu state, kept as plain data for the desktop program to apply.
    std::array<WindowLayout, 5> Windows{};
    std::array<bool, 5> WindowMenuChecks{};
    // Track vector window settings.
    bool TrackLeftToRight = false;
    std::array<bool, 3> TrackSpeedUnits{};
    std::array<bool, 3> TrackDepthUnits{};
    double TrackProperty = 0;
    std::array<bool, 3> TrackSelectAuto{};

    Options() {
        ProfileDataTypes[14] = ProfileDataTypes[15] = true;
        SeriesDataTypes[14] = SeriesDataTypes[15] = true;
    }
};

// End-of-profile switches.
enum EndOfProfileSwitch { kEopBTDepth = 0, kEopRssiBump, kEopCosBeamAngle, kEopCut1Bin, kEopCut2Bins };

} // namespace mvx
