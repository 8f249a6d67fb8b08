// The three readers of a number at the start of a text, side by side on the inputs where they differ.
#include "common/LeadingNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace mvx;

TEST(LeadingNumber, EachReaderTakesWhatItDocuments) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double value;
        int32_t whole;
        int64_t digits;
    } cases[] = {
        {"  42x", 42, 42, 42},
        {"-7 ", -7, -7, -7},
        {"1234567890", 1234567890, 1234567890, 1234567890},
        {"\t-1.5e3 m", -1500, -1500, -1},
        {"1d2", 100, 100, 1},
        {"+.5", 0.5, 0, 0}, // halves to even
        {"3.5", 3.5, 4, 3},
        {"+-5", 0, 0, 0},
        {"abc12", 0, 0, 0},
        {"", 0, 0, 0},
        {"5e+", 5, 5, 5},
        {"1e999", kInf, INT32_MAX, 1},
        {"-1e999", -kInf, INT32_MIN, -1},
        {"1e-999", 0, 0, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumberValue(c.text), c.value) << c.text;
        EXPECT_EQ(LeadingWholeNumber(c.text), c.whole) << c.text;
        EXPECT_EQ(LeadingDigits(c.text), c.digits) << c.text;
    }
}
