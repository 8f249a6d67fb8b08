#pragma once
// The read-only, fixed-pitch text boxes the information, viewer and file-details windows show their
// reports in.
#include <string>

class QPlainTextEdit;
class QWidget;

namespace mvx {

// A read-only box in "Courier New" of the given size, lines not wrapped.
QPlainTextEdit* New_Text_Box(QWidget* parent, const char* name, int pointSize = 8);

// Shows a report whose lines end with carriage return and line feed (the box wants plain line feeds).
void Set_Box_Text(QPlainTextEdit* box, const std::string& text);
std::string Box_Text(const QPlainTextEdit* box);

} // namespace mvx
