#pragma once
// The checks marevox-cli's parser runs on option values, before any file is touched. The command line
// reads its numbers here and nowhere else: strictly decimal, so that "0x10", "1e3", "010" as octal or a
// number with trailing text is refused instead of read as something else.
#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

namespace mvx::cli {

// A whole number as people type it: an optional sign and decimal digits, nothing else (no blanks, no
// hexadecimal, exponent or fraction). False when the text is not one or lies outside min..max.
bool ReadWholeNumber(const std::string& text, int64_t min, int64_t max, int64_t& value);
// A decimal number: optional sign, digits with an optional point, an optional exponent. Read as
// std::strtod reads it; infinities, NaN and hexadecimal are refused.
bool ReadDecimalNumber(const std::string& text, double& value);

CLI::Validator WholeNumber(int64_t min, int64_t max);
CLI::Validator DecimalNumber();
// Any text but the empty one (a file name).
CLI::Validator NonEmptyText();
// A comma-separated list with at least one item and no empty one ("a,b", not "", "," or "a,,b").
CLI::Validator NonEmptyList();

// An option taking a whole number in min..max, handed to store once read.
CLI::Option* AddWholeNumberOption(CLI::App& app, const std::string& name, const std::string& valueName,
                                  std::function<void(int64_t)> store, const std::string& help, int64_t min,
                                  int64_t max);

// The same stored into target, by default over the whole range of its type.
template <typename T>
CLI::Option* AddWholeNumber(CLI::App& app, const std::string& name, const std::string& valueName, T& target,
                            const std::string& help, int64_t min = std::numeric_limits<T>::min(),
                            int64_t max = static_cast<int64_t>(std::numeric_limits<T>::max())) {
    return AddWholeNumberOption(
        app, name, valueName, [&target](int64_t v) { target = static_cast<T>(v); }, help, min, max);
}
template <typename T>
CLI::Option* AddWholeNumber(CLI::App& app, const std::string& name, const std::string& valueName,
                            std::optional<T>& target, const std::string& help,
                            int64_t min = std::numeric_limits<T>::min(),
                            int64_t max = static_cast<int64_t>(std::numeric_limits<T>::max())) {
    return AddWholeNumberOption(
        app, name, valueName, [&target](int64_t v) { target = static_cast<T>(v); }, help, min, max);
}

// An option taking a decimal number, stored into target.
CLI::Option* AddDecimalNumber(CLI::App& app, const std::string& name, const std::string& valueName,
                              double& target, const std::string& help);

// Width and height of a picture, "WxH", each side 1..maxSide and width x height at most maxPixels.
bool ReadPictureSize(const std::string& text, int maxSide, int64_t maxPixels, int& width, int& height);
CLI::Validator PictureSize(int maxSide, int64_t maxPixels);

} // namespace mvx::cli
