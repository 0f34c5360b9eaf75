#include "plugin/NumberFormat.h"

#include <cmath>
#include <cstring>
#include <string>

namespace Korvatune {

namespace {

constexpr int kFieldWidth = 8;
constexpr const char* kHuge = "Huge!";

char digitOf(double value) {
    return static_cast<char>('0' + static_cast<long>(value));
}

// Integer digits least significant first, then the point; the field counts sign, point and
// digits, so long integer parts lose their leading digits.
std::string integerPart(double magnitude, bool negative, int& used) {
    std::string reversed = ".";
    used = negative ? 2 : 1;
    double integer = std::floor(magnitude);
    reversed += digitOf(std::fmod(integer, 10.0));
    integer /= 10.0;
    ++used;
    while (integer >= 1.0 && used < kFieldWidth) {
        reversed += digitOf(std::fmod(integer, 10.0));
        integer /= 10.0;
        ++used;
    }
    if (negative) {
        reversed += '-';
    }
    return {reversed.rbegin(), reversed.rend()};
}

std::string fractionPart(double magnitude, int places) {
    std::string digits(static_cast<std::size_t>(places), '0');
    double running = std::fmod(magnitude, 1.0) * std::pow(10.0, places);
    for (int place = places - 1; place >= 0; --place) {
        if (running > 0.0) {
            digits[static_cast<std::size_t>(place)] = digitOf(std::fmod(running, 10.0));
            running /= 10.0;
        }
    }
    return digits;
}

} // namespace

void copyText(char* destination, const char* source, std::size_t maxLength) {
    const std::size_t length = strnlen(source, maxLength);
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

void float2string(float value, char* text, std::size_t maxLength) {
    double magnitude = value;
    const bool negative = magnitude < 0.0;
    if (negative) {
        magnitude = -magnitude;
    }
    if ((negative && magnitude > 9999999.0) || (!negative && magnitude > 99999999.0) ||
        std::isnan(magnitude)) {
        copyText(text, kHuge, maxLength);
        return;
    }
    int used = 0;
    std::string result = integerPart(magnitude, negative, used);
    if (used < kFieldWidth) {
        result += fractionPart(magnitude, kFieldWidth - used);
    }
    copyText(text, result.c_str(), maxLength);
}

void dB2string(float value, char* text, std::size_t maxLength) {
    if (value <= 0.0f) {
        copyText(text, "-oo", maxLength);
        return;
    }
    float2string(static_cast<float>(20.0 * std::log10(value)), text, maxLength);
}

void int2string(int value, char* text, std::size_t maxLength) {
    if (value >= 100000000) {
        copyText(text, kHuge, maxLength);
        return;
    }
    copyText(text, std::to_string(value).c_str(), maxLength);
}

} // namespace Korvatune
