#pragma once
// Window positions and states as the options file keeps them: twips and 0 normal, 1 minimised,
// 2 maximised. Top-level windows are placed on the screen, child windows inside the main window.
#include "model/Options.h"

#include <QRect>

class QWidget;

namespace mvx {

// A geometry in pixels as twips, with a state.
WindowLayout Layout_From_Pixels(const QRect& normalGeometry, int32_t state, double twipsPerPixel);
// The geometry after applying a record to a current one: each of left, top, width and height is taken
// from the record only when it is >= 0.
QRect Apply_Layout_Geometry(const QRect& current, const WindowLayout& layout, double twipsPerPixel);
// True for the states the record may set (0, 1, 2).
bool Layout_State_Valid(int32_t state);

// Reads a window's normal-state geometry and its state (a minimised or maximised child window is put in
// its normal state for the moment of reading and then given its state back).
WindowLayout Read_Window_Layout(QWidget* window, double twipsPerPixel);
// Shows the window in its normal state, then applies the record.
void Apply_Window_Layout(QWidget* window, const WindowLayout& layout, double twipsPerPixel);

} // namespace mvx
