#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace mvx::cli {

void JsonWriter::Clear() {
    text_.clear();
    first_.clear();
    afterKey_ = false;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) text_ += ',';
        first_.back() = false;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    text_ += '{';
    first_.push_back(true);
}

void JsonWriter::EndObject() {
    text_ += '}';
    if (!first_.empty()) first_.pop_back();
}

void JsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    first_.push_back(true);
}

void JsonWriter::EndArray() {
    text_ += ']';
    if (!first_.empty()) first_.pop_back();
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    WriteQuoted(key);
    text_ += ':';
    afterKey_ = true;
}

void JsonWriter::Int(int64_t value) {
    BeforeValue();
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    text_.append(buf, result.ptr);
}

void JsonWriter::Number(double value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    BeforeValue();
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    text_.append(buf, result.ptr);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
}

void JsonWriter::String(std::string_view latin1) {
    BeforeValue();
    WriteQuoted(latin1);
}

void JsonWriter::WriteQuoted(std::string_view latin1) {
    text_ += '"';
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            text_ += "\\\"";
            break;
        case '\\':
            text_ += "\\\\";
            break;
        case '\b':
            text_ += "\\b";
            break;
        case '\f':
            text_ += "\\f";
            break;
        case '\n':
            text_ += "\\n";
            break;
        case '\r':
            text_ += "\\r";
            break;
        case '\t':
            text_ += "\\t";
            break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04X", c);
                text_ += buf;
            } else {
                text_ += static_cast<char>(c);
            }
        }
    }
    text_ += '"';
}

} // namespace mvx::cli
