#include "common/InputFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace mvx {

namespace fs = std::filesystem;

InputProblem Check_Input_File(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        // A name in a folder the program may not search is there but cannot be read.
        return ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory
                   ? InputProblem::Unreadable
                   : InputProblem::Missing;
    }
    if (fs::is_directory(status)) return InputProblem::Folder;
    if (!fs::is_regular_file(status)) return InputProblem::NotRegular;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return InputProblem::Unreadable;
    const auto size = fs::file_size(path, ec);
    if (ec) return InputProblem::Unreadable;
    if (size == 0) return InputProblem::Empty;
    // The first byte must come back: some files open but fail on reading.
    if (in.peek() == std::ifstream::traits_type::eof()) return InputProblem::Unreadable;
    return InputProblem::None;
}

std::string Input_Problem_Message(const std::string& path, InputProblem problem) {
    // In the order of InputProblem.
    static const char* const kWhy[] = {"",
                                       "the file does not exist.",
                                       "it is a folder, not a file.",
                                       "it is not a regular file (a pipe or a device).",
                                       "the file cannot be read (no permission, or a read error).",
                                       "the file is empty."};
    const auto index = static_cast<size_t>(problem);
    if (problem == InputProblem::None || index >= std::size(kWhy)) return {};
    return "Cannot open " + path + ": " + kWhy[index];
}

} // namespace mvx
