#pragma once
// A small writer of one-line JSON objects for the command-line program: keys, integers, numbers, arrays
// and strings whose bytes are Latin-1 text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mvx::cli {

class JsonWriter {
  public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(std::string_view key);
    void Int(int64_t value);
    void Number(double value); // finite values only; anything else is written as null
    void Bool(bool value);
    void Null();
    // Each byte is one Latin-1 character: quotes, backslashes and control characters are escaped and
    // bytes from 0x80 on are written as \u00XX, so any byte string gives valid JSON.
    void String(std::string_view latin1);

    template <typename T> void IntArray(const T* values, size_t count) {
        BeginArray();
        for (size_t i = 0; i < count; ++i) Int(static_cast<int64_t>(values[i]));
        EndArray();
    }

    const std::string& Text() const { return text_; }
    void Clear();

  private:
    void BeforeValue();
    void WriteQuoted(std::string_view latin1);
    std::string text_;
    std::vector<bool> first_; // per open object or array: no element written yet
    bool afterKey_ = false;
};

} // namespace mvx::cli
