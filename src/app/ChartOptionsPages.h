#pragma once
// The controls of the chart options dialog, one typed member per control and named as the program names
// them, the five pages that hold them, and the copy of their values into and out of the plain fields
// the options procedures read.
#include "options/OptionsDialogFields.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace mvx {

struct ChartOptionsControls {
    QTabWidget* tbsOptions = nullptr;
    // Contour.
    std::array<QRadioButton*, kContourTypeButtons> Option2{};
    std::array<QRadioButton*, 5> Option1{};
    std::array<QLineEdit*, 2> Text1{};
    std::array<QCheckBox*, 3> Check1{};
    std::array<QLineEdit*, 2> Text6{};
    std::array<QLineEdit*, 4> Text7{};
    // Profile.
    std::array<QCheckBox*, kProfileTypeBoxes> Check2{};
    std::array<QCheckBox*, 3> Check3{};
    std::array<QLineEdit*, 14> Text2{};
    QLineEdit* Text8 = nullptr;
    // Series.
    std::array<QCheckBox*, 4> Check4{};
    std::array<QCheckBox*, kSeriesTypeBoxes> Check5{};
    std::array<QLineEdit*, 10> Text3{};
    QListWidget* List1 = nullptr; // items "1".."255"
    std::array<QRadioButton*, 2> Option3{};
    QLineEdit* Text4 = nullptr;
    // Ancillary.
    std::array<QCheckBox*, kAncTypeBoxes> Check6{};
    std::array<QCheckBox*, 3> Check7{};
    std::array<QLineEdit*, 22> Text5{};
    QLineEdit* Text9 = nullptr;
    // Processing.
    QLineEdit* txtWaterScale = nullptr;
    QLineEdit* txtBottomScale = nullptr;
    std::array<QRadioButton*, 6> VelRef{};
    std::array<QCheckBox*, 5> chkEoP{};
    // Buttons.
    QPushButton *cmdOK = nullptr, *cmdApply = nullptr, *cmdCancel = nullptr, *cmdDefault = nullptr,
                *cmdLoad = nullptr, *cmdSave = nullptr;
};

// Builds the tab strip with its five pages and the button row into dialog's layout.
void Build_Chart_Options(ChartOptionsControls& c, QWidget* dialog);
// The first two velocity captions of the contour, profile and series lists: "Prof #1" and "Prof #2" for
// a flow-meter instrument, "East(u)" and "North(v)" otherwise.
void Set_Velocity_Captions(ChartOptionsControls& c, bool flowMeter);
// The controls' values, and the controls set from values.
OptionsDialogFields Read_Controls(const ChartOptionsControls& c);
void Write_Controls(const OptionsDialogFields& f, ChartOptionsControls& c);

} // namespace mvx
