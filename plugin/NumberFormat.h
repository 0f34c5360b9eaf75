#pragma once

#include <cstddef>

namespace Korvatune {

// Eight characters of sign, digits and point, no exponent ("0.500000", "22050.00", "-0.50000");
// "Huge!" when the integer part cannot fit. At most maxLength characters, always terminated.
void float2string(float value, char* text, std::size_t maxLength);
// "-oo" for values not above 0, else the float format of 20 log10(value).
void dB2string(float value, char* text, std::size_t maxLength);
void int2string(int value, char* text, std::size_t maxLength);

// Copies at most maxLength characters of source, then a terminating zero after them.
void copyText(char* destination, const char* source, std::size_t maxLength);

} // namespace Korvatune
