#include "common/FileLength.h"

#include <filesystem>

namespace mvx {

int64_t File_Length(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? -1 : static_cast<int64_t>(size);
}

} // namespace mvx
