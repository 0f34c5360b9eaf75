#include "plugin/vst3/Vst3Text.h"

namespace Korvatune::Vst3 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point that starts at text[position], advancing position past it.
char32_t decodeUtf8(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position++]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0x80 && extra == 0) {
        return kReplacement;
    }
    char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if (position >= text.size() ||
            (static_cast<unsigned char>(text[position]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        point = (point << 6) | (static_cast<unsigned char>(text[position++]) & 0x3F);
    }
    return point > 0x10FFFF ? kReplacement : point;
}

void appendUtf8(char32_t point, std::string& out) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

bool isHighSurrogate(char16 unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

bool isLowSurrogate(char16 unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

} // namespace

// A pair of surrogates is written whole or not at all.
void copyToUtf16(std::string_view utf8, char16* field, std::size_t capacity) {
    std::size_t written = 0;
    std::size_t position = 0;
    while (position < utf8.size()) {
        const char32_t point = decodeUtf8(utf8, position);
        const std::size_t units = point >= 0x10000 ? 2 : 1;
        if (written + units >= capacity) {
            break;
        }
        if (units == 2) {
            field[written++] = static_cast<char16>(0xD800 + ((point - 0x10000) >> 10));
            field[written++] = static_cast<char16>(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            field[written++] = static_cast<char16>(point);
        }
    }
    field[written] = 0;
}

std::string utf8FromUtf16(const char16* text) {
    std::string out;
    for (std::size_t i = 0; text != nullptr && text[i] != 0; ++i) {
        const char16 unit = text[i];
        if (isHighSurrogate(unit) && isLowSurrogate(text[i + 1])) {
            appendUtf8(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i + 1] - 0xDC00), out);
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(kReplacement, out);
        } else {
            appendUtf8(unit, out);
        }
    }
    return out;
}

} // namespace Korvatune::Vst3
