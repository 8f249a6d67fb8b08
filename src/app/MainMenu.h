#pragma once
// The main window's menus and menu items, one typed member each, named as the program names them. Other
// windows and the tests reach an item here (main.Menu().Show_Data_Set(2)) rather than by its name. Items
// of a control array keep the array's own index range: Old_File(1..8), Show_Data_Set(1..2), Copy_Form(0..1).
#include <array>
#include <cstddef>

class QAction;
class QMenu;

namespace mvx {

// The items of a control array, reached by the array's own index; an index outside it gives null.
template <int First, int Count> struct ItemArray {
    std::array<QAction*, Count> Items{};

    QAction* operator()(int index) const {
        return index >= First && index < First + Count ? Items[static_cast<size_t>(index - First)] : nullptr;
    }
};

struct MainMenu {
    // "&File".
    QMenu* Select_File = nullptr;
    QAction* EnMulti = nullptr; // "MultiFile" (check item)
    QAction* Open_File = nullptr;
    QAction* Save_Selected_Data_Set = nullptr;
    QAction* Save_View_Data_Set = nullptr;
    QAction* Stop_Program = nullptr;
    ItemArray<1, 8> Old_File; // the recent files
    // "&Edit".
    QMenu* Do_Edit = nullptr;
    QMenu* Do_Copy = nullptr;
    QMenu* MSPAINT = nullptr;
    ItemArray<0, 2> Copy_Form; // 0 whole set, 1 sub set
    ItemArray<0, 2> Paint;     // 0 whole set, 1 sub set
    ItemArray<0, 1> Flip_Over; // "&Flip" (check item)
    // "&Report", a command of the menu bar.
    QAction* Edit_Contour = nullptr;
    // "&Options".
    QMenu* S_Options = nullptr;
    QMenu* ShowOptions = nullptr;
    ItemArray<0, 5> Show_Options; // Contour, Profile, Series, Ancillary, Processing
    QAction* Maximum_Ens = nullptr;
    // "&Animate": (0) "&Go" (check item), (1) "&Rewind".
    QMenu* Do_Ani = nullptr;
    ItemArray<0, 2> Con_Ani, Pro_Ani, Ser_Ani;
    // "E&xport", a command of the menu bar.
    QAction* Do_Export = nullptr;
    // "&Utilities".
    QMenu* Utils = nullptr;
    QAction* ShowDetails = nullptr;
    QAction* Show_Trend = nullptr;
    // "&Window": every item but Align_Forms is a check item that shows whether its window is on screen.
    QMenu* Do_Window = nullptr;
    QAction* Align_Forms = nullptr;
    QAction* Show_Info = nullptr;
    ItemArray<1, 2> Show_Data_Set; // 1 whole set, 2 sub set
    QAction* Show_Data_Viewer = nullptr;
    QAction* Show_Seismic = nullptr; // "&Track Vector"
    // "&Monitor".
    QMenu* AT = nullptr;
    QAction* AutoTrack = nullptr; // "On" (check item)
    QAction* TrackInt = nullptr;  // "Interval"
    // "&Help".
    QMenu* Do_Help = nullptr;
    QAction* Show_Help = nullptr;
    QAction* Show_About = nullptr;
    // The monitor countdown: a caption on the menu bar.
    QAction* Monitor_Count = nullptr;

    // The menus that Disable_Menus governs.
    std::array<QMenu*, 4> Governed() const { return {Select_File, Do_Edit, S_Options, Do_Ani}; }
};

} // namespace mvx
