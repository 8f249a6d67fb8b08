#include "options/TextRecords.h"

#include "common/Rounding.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace mvx {

bool LineReader::Next(std::string& line, bool& overlong) {
    using Traits = std::char_traits<char>;
    line.clear();
    overlong = false;
    std::streambuf* buf = In_.rdbuf();
    if (buf == nullptr) return false;
    Traits::int_type c = buf->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) return false;
    while (!Traits::eq_int_type(c, Traits::eof())) {
        const char ch = Traits::to_char_type(c);
        if (ch == '\n') break;
        if (ch == '\r') {
            if (Traits::eq_int_type(buf->sgetc(), Traits::to_int_type('\n'))) buf->sbumpc();
            break;
        }
        // Past the cap the characters are only counted off, never stored.
        if (line.size() < MaxLine_)
            line.push_back(ch);
        else
            overlong = true;
        c = buf->sbumpc();
    }
    return true;
}

std::string QuoteText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return out;
}

std::string BooleanText(bool value) {
    return value ? "#TRUE#" : "#FALSE#";
}

namespace {

template <typename T> std::string ShortestText(T value) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    if (result.ec != std::errc()) return "0";
    return std::string(buf, result.ptr);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A finite number of type T filling the whole trimmed line; one leading plus sign is accepted.
template <typename T> std::optional<T> ParseFinite(std::string_view line) {
    std::string_view s = Trim(line);
    if (s.size() > 1 && s.front() == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    T value{};
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size()) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

} // namespace

std::string NumberText(double value) {
    return ShortestText(value);
}
std::string NumberText(float value) {
    return ShortestText(value);
}
std::string NumberText(int32_t value) {
    return ShortestText(value);
}

std::string TrimmedText(std::string_view line) {
    return std::string(Trim(line));
}

std::optional<std::string> ParseQuotedText(std::string_view line) {
    const std::string_view s = Trim(line);
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return std::nullopt;
    // Everything between the first and the last quote, so a name holding a quote reads back whole.
    return std::string(s.substr(1, s.size() - 2));
}

std::optional<bool> ParseBooleanText(std::string_view line) {
    const std::string_view s = Trim(line);
    if (EqualsNoCase(s, "#TRUE#")) return true;
    if (EqualsNoCase(s, "#FALSE#")) return false;
    return std::nullopt;
}

std::optional<double> ParseNumberText(std::string_view line) {
    return ParseFinite<double>(line);
}

std::optional<float> ParseSingleText(std::string_view line) {
    return ParseFinite<float>(line);
}

std::optional<int32_t> ParseInt32Text(std::string_view line) {
    const auto value = ParseNumberText(line);
    if (!value) return std::nullopt;
    const double r = RoundHalfEven(*value);
    if (r < static_cast<double>(INT32_MIN) || r > static_cast<double>(INT32_MAX)) return std::nullopt;
    return static_cast<int32_t>(r);
}

bool ReplaceFileText(const std::string& path, const std::string& text) {
    namespace fs = std::filesystem;
    if (path.empty()) return false;
    std::error_code ec;
    fs::path target(path);
    // A link keeps pointing at the file it names: the new text replaces the file behind it.
    if (fs::is_symlink(target, ec)) {
        const fs::path real = fs::canonical(target, ec);
        if (!ec) target = real;
    }
    const std::string targetName = target.string();

    int fd = -1;
    std::string temp;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = targetName + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = true;
    const char* p = text.data();
    std::size_t left = text.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(temp.c_str(), targetName.c_str()) != 0) ok = false;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

} // namespace mvx
