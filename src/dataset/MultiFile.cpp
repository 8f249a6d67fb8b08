#include "dataset/MultiFile.h"

#include "common/FileLength.h"
#include "common/LeadingNumber.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace mvx {

namespace {

std::string ZeroPadded(int64_t number, int width) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%0*lld", width, static_cast<long long>(number));
    return digits;
}

bool IsNumberedName(const std::string& path) {
    return path.size() >= 4 && path[path.size() - 4] == '.';
}

bool IsAcquisitionName(const std::string& path) {
    if (path.size() < 10) return false;
    const std::string ext = path.substr(path.size() - 4);
    return ext == ".ENS" || ext == ".ENR" || ext == ".ENX" || ext == ".STA" || ext == ".LTA";
}

std::string NumberedName(const std::string& path, int64_t k) {
    return path.substr(0, path.size() - 3) + ZeroPadded(k, 3);
}

std::string AcquisitionName(const std::string& path, int64_t k) {
    return path.substr(0, path.size() - 10) + ZeroPadded(k, 6) + path.substr(path.size() - 4);
}

} // namespace

int32_t Test_For_Multi_File(const std::string& path, bool multiFileChecked, int64_t& setSize) {
    const int64_t own = File_Length(path);
    setSize = own < 0 ? 0 : own;
    if (own < 0 || !multiFileChecked || !IsNumberedName(path)) return 0;
    const int64_t n = LeadingDigits(path.substr(path.size() - 3));
    if (n < 0 || n >= 999) return 0;
    int32_t result = 0;
    for (int64_t k = n + 1; k <= 999; ++k) {
        const int64_t length = File_Length(NumberedName(path, k));
        if (length < 0) break;
        setSize += length;
        result = static_cast<int32_t>(k);
    }
    return result;
}

int32_t Test_For_QUARNMultiFile(const std::string& path, bool multiFileChecked, int64_t& setSize) {
    const int64_t own = File_Length(path);
    setSize = own < 0 ? 0 : own;
    if (own < 0 || !multiFileChecked || !IsAcquisitionName(path)) return 0;
    const int64_t n = LeadingDigits(path.substr(path.size() - 10, 6));
    if (n < 0 || n >= 999999) return 0;
    int32_t result = 0;
    for (int64_t k = n + 1; k <= 999999; ++k) {
        const int64_t length = File_Length(AcquisitionName(path, k));
        if (length < 0) break;
        setSize += length;
        result = static_cast<int32_t>(k);
    }
    return result;
}

std::vector<std::string> SetMemberPaths(const std::string& path, int32_t multiFileCount,
                                        int32_t quarnFileCount) {
    // The opened file is always the first member, even when its number field is not a number.
    std::vector<std::string> members{path};
    if (multiFileCount >= 1 && IsNumberedName(path)) {
        const int64_t n = LeadingDigits(path.substr(path.size() - 3));
        for (int64_t k = std::max<int64_t>(n, 0) + 1; k <= multiFileCount && k <= 999; ++k)
            members.push_back(NumberedName(path, k));
    } else if (quarnFileCount > 0 && IsAcquisitionName(path)) {
        const int64_t n = LeadingDigits(path.substr(path.size() - 10, 6));
        for (int64_t k = std::max<int64_t>(n, 0) + 1; k <= quarnFileCount && k <= 999999; ++k)
            members.push_back(AcquisitionName(path, k));
    }
    return members;
}

} // namespace mvx
