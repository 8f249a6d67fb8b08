#pragma once
// Whether a path names a file the program can read, and if not, why. Only a regular file passes: a folder,
// a pipe or a device is refused without being opened (opening a pipe would wait for a writer).
#include <string>

namespace mvx {

enum class InputProblem { None, Missing, Folder, NotRegular, Unreadable, Empty };

InputProblem Check_Input_File(const std::string& path);

// The reason as a sentence for a message box, naming the path; empty for None.
std::string Input_Problem_Message(const std::string& path, InputProblem problem);

} // namespace mvx
