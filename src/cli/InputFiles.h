#pragma once
// The input checks every marevox-cli command makes before it reads a file, so that each refusal says
// why: missing, not a regular file (a directory, a named pipe, a device), unreadable, empty, or holding
// no ensemble that can be loaded.
#include "common/InputFile.h"
#include "model/CoreState.h"

#include <string>

namespace mvx::cli {

// Opens a file as the program does: the default options, or those of optionsPath when it is not empty,
// the MultiFile switch, then the file is checked and loaded (Load_Whole_Set). Empty when it loaded;
// otherwise "PATH: why", for the options file ("not an options file of this version" when Load_Options
// refused its content) or the ensemble file.
std::string LoadInput(CoreState& state, const std::string& path, const std::string& optionsPath = "",
                      bool multiFile = false);

} // namespace mvx::cli
