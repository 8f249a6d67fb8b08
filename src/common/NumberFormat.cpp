#include "common/NumberFormat.h"

#include "common/Rounding.h"

#include <cmath>
#include <cstdio>

namespace mvx {

std::string FormatNumber(double value, const std::string& picture) {
    const auto point = picture.find('.');
    const std::string intPart = picture.substr(0, point);
    const std::string fracPart = point == std::string::npos ? "" : picture.substr(point + 1);
    int decimals = 0;
    for (char c : fracPart)
        if (c == '0' || c == '#') ++decimals;
    int minIntDigits = 0;
    bool grouping = false;
    for (char c : intPart) {
        if (c == '0') ++minIntDigits;
        if (c == ',') grouping = true;
    }
    if (std::isnan(value)) value = 0;
    const double scale = std::pow(10.0, decimals);
    double scaled = RoundHalfEven(value * scale);
    // Guard against values that do not fit the digit buffer below.
    if (std::fabs(scaled) > 1e30) scaled = std::copysign(1e30, scaled);
    const bool negative = scaled < 0;
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.0f", std::fabs(scaled));
    std::string all = digits;
    if (static_cast<int>(all.size()) <= decimals) all = std::string(decimals + 1 - all.size(), '0') + all;
    std::string whole = all.substr(0, all.size() - decimals);
    std::string frac = all.substr(all.size() - decimals);
    if (whole == "0" && minIntDigits == 0) whole.clear();
    if (static_cast<int>(whole.size()) < minIntDigits)
        whole = std::string(minIntDigits - whole.size(), '0') + whole;
    if (grouping && whole.size() > 3) {
        std::string grouped;
        int count = 0;
        for (auto it = whole.rbegin(); it != whole.rend(); ++it) {
            if (count && count % 3 == 0) grouped.push_back(',');
            grouped.push_back(*it);
            ++count;
        }
        whole.assign(grouped.rbegin(), grouped.rend());
    }
    std::string out = whole;
    if (decimals > 0) out += "." + frac;
    if (negative && scaled != 0) out = "-" + out;
    return out;
}

std::string Fix_String(const std::string& text, char pad, int width) {
    if (static_cast<int>(text.size()) >= width) return text;
    return std::string(width - text.size(), pad) + text;
}

std::string PadRight(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) return text;
    return text + std::string(width - text.size(), ' ');
}

} // namespace mvx
