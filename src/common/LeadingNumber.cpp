#include "common/LeadingNumber.h"

#include "common/Rounding.h"

#include <charconv>
#include <limits>
#include <string>

namespace mvx {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Index of the first character after leading spaces and tabs.
size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i;
}

} // namespace

double LeadingNumberValue(std::string_view text) {
    const size_t n = text.size();
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::string token;
    size_t digits = 0;
    while (i < n && IsDigit(text[i])) token.push_back(text[i++]), ++digits;
    if (i < n && text[i] == '.') {
        token.push_back(text[i++]);
        while (i < n && IsDigit(text[i])) token.push_back(text[i++]), ++digits;
    }
    if (digits == 0) return 0;
    bool negativeExponent = false;
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            exponent.push_back(text[j++]);
        }
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) exponent.push_back(text[j++]);
            token += exponent;
        } else {
            negativeExponent = false;
        }
    }
    double value = 0;
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    else if (result.ec != std::errc())
        value = 0;
    return negative ? -value : value;
}

int32_t RoundedLeadingNumber(std::string_view text) {
    return RoundToInt32(LeadingNumberValue(text));
}

int64_t LeadingDigits(std::string_view text) {
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]) && value < std::numeric_limits<int64_t>::max() / 10; ++i)
        value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

} // namespace mvx
