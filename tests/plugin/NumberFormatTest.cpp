#include "plugin/NumberFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace Korvatune {
namespace {

std::string floatText(float value) {
    char text[32];
    float2string(value, text, 8);
    return text;
}

TEST(NumberFormat, FloatFormatFillsEightCharacters) {
    EXPECT_EQ(floatText(0.5f), "0.500000");
    EXPECT_EQ(floatText(200.0f), "200.0000");
    EXPECT_EQ(floatText(22050.0f), "22050.00");
    EXPECT_EQ(floatText(-0.5f), "-0.50000");
    EXPECT_EQ(floatText(0.0f), "0.000000");
    EXPECT_EQ(floatText(-1.0f), "-1.00000");
    EXPECT_EQ(floatText(14.0f), "14.00000");
}

TEST(NumberFormat, FloatFormatTruncatesTheWidenedFloat) {
    // 0.7f is 0.69999998807907...; digits are cut, not rounded.
    EXPECT_EQ(floatText(0.7f), "0.699999");
    EXPECT_EQ(floatText(0.1f), "0.100000");
}

TEST(NumberFormat, FloatFormatKeepsTheLowDigitsOfLongIntegers) {
    EXPECT_EQ(floatText(1234567.0f), "1234567.");
    EXPECT_EQ(floatText(12345678.0f), "2345678.");
    EXPECT_EQ(floatText(99999999.0f), "Huge!");
    EXPECT_EQ(floatText(-10000000.0f), "Huge!");
    EXPECT_EQ(floatText(-9999999.0f), "-999999.");
}

TEST(NumberFormat, FloatFormatHonoursTheLimit) {
    char text[8];
    float2string(0.5f, text, 4);
    EXPECT_STREQ(text, "0.50");
}

TEST(NumberFormat, DecibelFormat) {
    char text[32];
    dB2string(0.0f, text, 8);
    EXPECT_STREQ(text, "-oo");
    dB2string(-1.0f, text, 8);
    EXPECT_STREQ(text, "-oo");
    dB2string(1.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    dB2string(0.1f, text, 8);
    EXPECT_STREQ(text, "-20.0000");
}

TEST(NumberFormat, IntegerFormat) {
    char text[32];
    int2string(0, text, 16);
    EXPECT_STREQ(text, "0");
    int2string(-42, text, 16);
    EXPECT_STREQ(text, "-42");
    int2string(99999999, text, 16);
    EXPECT_STREQ(text, "99999999");
    int2string(100000000, text, 16);
    EXPECT_STREQ(text, "Huge!");
}

} // namespace
} // namespace Korvatune
