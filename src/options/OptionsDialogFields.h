#pragma once
// What the chart options dialog shows, as plain data: one member per control (text boxes as their text,
// check boxes as Booleans, groups of option buttons as the index of the chosen one), and the procedures
// that fill the controls from the options record and copy them back. The window only moves these values
// into and out of its widgets, so every rule of reading a control lives here and is tested without one.
#include "model/Options.h"
#include "model/SetDescriptors.h"

#include <array>
#include <cstdint>
#include <string>

namespace mvx {

constexpr int kContourTypeButtons = 20;
constexpr int kProfileTypeBoxes = 23;
constexpr int kSeriesTypeBoxes = 36;
constexpr int kAncTypeBoxes = 8;
constexpr int kOptionsBinItems = 255;

struct OptionsDialogFields {
    // Tab 1, Contour.
    int ContourType = 14;                   // Option2: place among the twenty data-type codes
    int ScaleMode = 4;                      // Option1: Manual, Peak, 1 std, 2 std, 3 std
    std::array<std::string, 2> UserScale;   // Text1: Min, Max
    std::array<bool, 3> ContourChecks{};    // Check1: Locators, Grid, BT Depth
    std::array<std::string, 2> SelectedSet; // Text6: first and last ensemble of the selected set
    std::array<std::string, 4> SubSet;      // Text7: first and last bin, first and last ensemble
    // Tab 2, Profile.
    std::array<bool, kProfileTypeBoxes> ProfileTypes{}; // Check2
    std::array<bool, 3> ProfileStyle{};                 // Check3: Lines, Symbols, Grid
    std::array<std::string, 14> ProfileScales;          // Text2: min, max of each of 7 classes
    std::string ProfileEnsemble;                        // Text8
    // Tab 3, Series.
    std::array<bool, 4> SeriesStyle{};                   // Check4: Combo, Lines, Symbols, Grid
    std::array<bool, kSeriesTypeBoxes> SeriesTypes{};    // Check5
    std::array<std::string, 10> SeriesScales;            // Text3: min, max of each of 5 classes
    std::array<bool, kOptionsBinItems + 1> SeriesBins{}; // List1, by bin number; index 0 unused
    bool AverageAll = true;                              // Option3: All (true), User (false)
    std::string AverageInterval;                         // Text4, hhhh:mm:ss.hh
    // Tab 4, Ancillary.
    std::array<bool, kAncTypeBoxes> AncTypes{}; // Check6
    std::array<bool, 3> AncStyle{};             // Check7: Lines, Symbols, Grid
    std::array<std::string, 22> AncScales;      // Text5: min, max of each of 11 quantities
    std::string WaterDensity;                   // Text9
    // Tab 5, Processing.
    std::string WaterScale, BottomScale; // txtWaterScale, txtBottomScale
    int VelRef = 0;                      // VelRef: None .. Water Mass
    std::array<bool, 5> EndOfProfile{};  // chkEoP
};

// The averaging interval as hours, minutes, seconds and hundredths, "0000:00:00.00" (hours take more
// digits when they need them; a negative interval shows as 0).
std::string Interval_Text(double seconds);
// Reads hhhh:mm:ss.hh back: ((hours x 60 + minutes) x 60 + seconds) + hundredths / 100, each part the
// number at its start (0 when none). Parts that are missing read 0; the result is held to +-1e9 s.
double Parse_Interval_Text(const std::string& text);

// A scale or factor box: the number at the start of the text (0 when there is none), held to
// +-1e9 so that no entry can make a value the options file cannot hold or the charts cannot span.
double Scale_Entry_Value(const std::string& text);

// Fills every control from the options record and the set on display: the selected set, the bins shown
// (counted from the transducer, as the dialog shows them) and the loaded set's first and last ensemble.
void Options_To_Dialog(const Options& options, const SetDescriptors& set, int32_t numCells,
                       OptionsDialogFields& fields);

// Copies the controls of tabs 1-4 into the options record and the set descriptors. The selected set and
// the bins shown are read only while a file is loaded, and are kept inside the file's ensembles and
// bins as two different values in order. The averaging interval box is rewritten in its hhhh:mm:ss.hh
// form. A water density that is not positive is refused (the record keeps its value).
void Dialog_To_Options(OptionsDialogFields& fields, Options& options, SetDescriptors& set, int32_t numCells);

// Copies tab 5 into the options record. True when the change needs the whole file read again (the
// reference or a velocity scale changed); the end-of-profile switches alone do not.
bool Processing_To_Options(const OptionsDialogFields& fields, Options& options);

} // namespace mvx
