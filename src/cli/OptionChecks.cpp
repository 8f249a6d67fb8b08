#include "cli/OptionChecks.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace mvx::cli {

namespace {

bool Digits(const std::string& text, size_t from, size_t to) {
    if (from >= to) return false;
    for (size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

std::string Range(int64_t min, int64_t max) {
    return std::to_string(min) + ".." + std::to_string(max);
}

size_t SignLength(const std::string& text) {
    return !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
}

} // namespace

bool ReadWholeNumber(const std::string& text, int64_t min, int64_t max, int64_t& value) {
    if (!Digits(text, SignLength(text), text.size())) return false;
    // from_chars takes a '-' but no '+'.
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    const char* last = text.data() + text.size();
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(first, last, v, 10);
    if (ec != std::errc() || end != last || v < min || v > max) return false;
    value = v;
    return true;
}

bool ReadDecimalNumber(const std::string& text, double& value) {
    // sign? digits [. digits?] | . digits, then [eE] sign? digits
    size_t i = SignLength(text);
    const size_t intStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    size_t mantissaDigits = i - intStart;
    if (i < text.size() && text[i] == '.') {
        const size_t fracStart = ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        mantissaDigits += i - fracStart;
    }
    if (mantissaDigits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const size_t expStart = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        if (i == expStart) return false;
    }
    if (i != text.size()) return false;
    const double v = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
}

CLI::Validator WholeNumber(int64_t min, int64_t max) {
    return CLI::Validator(
        [min, max](std::string& text) {
            int64_t v = 0;
            if (ReadWholeNumber(text, min, max, v)) return std::string();
            // Digits too many for 64 bits are still a number out of range, not a malformed one.
            if (Digits(text, SignLength(text), text.size()))
                return "\"" + text + "\" is outside " + Range(min, max);
            return "\"" + text + "\" is not a whole number";
        },
        "", "");
}

CLI::Validator DecimalNumber() {
    return CLI::Validator(
        [](std::string& text) {
            double v = 0;
            return ReadDecimalNumber(text, v) ? std::string() : "\"" + text + "\" is not a decimal number";
        },
        "", "");
}

CLI::Validator NonEmptyText() {
    return CLI::Validator(
        [](std::string& text) { return text.empty() ? std::string("an empty name") : std::string(); }, "",
        "");
}

CLI::Validator NonEmptyList() {
    return CLI::Validator(
        [](std::string& text) {
            size_t from = 0;
            while (true) {
                const size_t comma = text.find(',', from);
                const std::string item = text.substr(from, comma == std::string::npos ? comma : comma - from);
                if (item.find_first_not_of(" \t") == std::string::npos)
                    return text.find_first_not_of(" \t,") == std::string::npos
                               ? std::string("the list is empty")
                               : "\"" + text + "\" has an empty item";
                if (comma == std::string::npos) return std::string();
                from = comma + 1;
            }
        },
        "", "");
}

CLI::Option* AddWholeNumberOption(CLI::App& app, const std::string& name, const std::string& valueName,
                                  std::function<void(int64_t)> store, const std::string& help, int64_t min,
                                  int64_t max) {
    return app
        .add_option_function<std::string>(
            name,
            [store = std::move(store)](const std::string& text) {
                int64_t value = 0;
                ReadWholeNumber(text, std::numeric_limits<int64_t>::min(),
                                std::numeric_limits<int64_t>::max(), value);
                store(value);
            },
            help)
        ->check(WholeNumber(min, max))
        ->type_name(valueName);
}

CLI::Option* AddDecimalNumber(CLI::App& app, const std::string& name, const std::string& valueName,
                              double& target, const std::string& help) {
    return app
        .add_option_function<std::string>(
            name, [&target](const std::string& text) { ReadDecimalNumber(text, target); }, help)
        ->check(DecimalNumber())
        ->type_name(valueName);
}

bool ReadPictureSize(const std::string& text, int maxSide, int64_t maxPixels, int& width, int& height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    int64_t w = 0, h = 0;
    const std::string ws = text.substr(0, x), hs = text.substr(x + 1);
    // Signs are no part of a size.
    if (!Digits(ws, 0, ws.size()) || !Digits(hs, 0, hs.size())) return false;
    if (!ReadWholeNumber(ws, 1, maxSide, w) || !ReadWholeNumber(hs, 1, maxSide, h)) return false;
    if (w * h > maxPixels) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

CLI::Validator PictureSize(int maxSide, int64_t maxPixels) {
    return CLI::Validator(
        [maxSide, maxPixels](std::string& text) {
            int w = 0, h = 0;
            if (ReadPictureSize(text, maxSide, maxPixels, w, h)) return std::string();
            return "\"" + text + "\" is not a size WxH with sides 1.." + std::to_string(maxSide) +
                   " and at most " + std::to_string(maxPixels) + " pixels";
        },
        "", "");
}

} // namespace mvx::cli
