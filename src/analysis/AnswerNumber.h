#pragma once
// The number an input-box answer holds: nothing for an empty answer or one that does not start with a
// number (so that a slip of the keyboard changes nothing), otherwise the number at its start.
#include "common/LeadingNumber.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <string>

namespace mvx {

inline std::optional<double> Answer_Number(const std::string& answer) {
    size_t i = 0;
    while (i < answer.size() && (answer[i] == ' ' || answer[i] == '\t')) ++i;
    if (i < answer.size() && (answer[i] == '+' || answer[i] == '-')) ++i;
    if (i < answer.size() && answer[i] == '.') ++i;
    if (i >= answer.size() || !std::isdigit(static_cast<unsigned char>(answer[i]))) return std::nullopt;
    const double value = LeadingNumberValue(answer);
    if (std::isnan(value)) return std::nullopt;
    return value;
}

} // namespace mvx
