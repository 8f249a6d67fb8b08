#pragma once
// Reading a typed answer of an input box as a number.
#include <cctype>
#include <string>

namespace mvx {

// The leading number of the text: blanks skipped, an optional sign, digits with an optional decimal
// part. Text without a leading number reads as 0.
inline double Input_Number(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            digits = true;
        }
    }
    if (!digits) return 0;
    try {
        return std::stod(text.substr(start, i - start));
    } catch (...) {
        return 0;
    }
}

} // namespace mvx
