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

// The smallest window that still shows its title and some of its content.
inline constexpr int kMinUsableWidth = 100, kMinUsableHeight = 60;
// Whether a window at geometry (pixels) can be seen and used in a container (the screen for the main
// window, the main window's work area for a child): not smaller than the minimum, its top edge (where the
// title is grabbed) inside the container, and enough of it inside to be found again.
bool Layout_Usable(const QRect& geometry, const QRect& container);

// Reads a window's normal-state geometry and its state (a minimised or maximised child window is put in
// its normal state for the moment of reading and then given its state back).
WindowLayout Read_Window_Layout(QWidget* window, double twipsPerPixel);
// The record's geometry in pixels (all four values must be set).
QRect Layout_Pixels(const WindowLayout& layout, double twipsPerPixel);
// Shows the window in its normal state, then applies the record; a record whose geometry would not be
// usable in the container is not applied at all (False, the window left as it was).
bool Apply_Window_Layout(QWidget* window, const WindowLayout& layout, double twipsPerPixel,
                         const QRect& container);
// Gives a hidden window the record's geometry when it is usable in the container, without showing it
// (its state is for whoever shows it). False when the geometry was not applied.
bool Place_Hidden_Window(QWidget* window, const WindowLayout& layout, double twipsPerPixel,
                         const QRect& container);
// Shows a window in a state of the record (0 normal, 1 minimised, 2 maximised; others as 0).
void Show_In_State(QWidget* window, int32_t state);

} // namespace mvx
