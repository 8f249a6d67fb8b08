#pragma once
// The data viewer's text: every decoded value of one loaded ensemble at one displayed bin, fixed width.
#include <string>

namespace mvx {

struct CoreState;

// Builds the text for ensemble index e of the loaded set and display bin b. False (text untouched) when
// e is not a loaded ensemble or b is not below NumCells.
bool Update_Data_View(const CoreState& state, int e, int b, std::string& text);

} // namespace mvx
