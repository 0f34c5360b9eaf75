#pragma once

#include "plugin/vst3/Vst3Base.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace Korvatune::Vst3 {

// UTF-8 text into a host's UTF-16 field of the given capacity, cut to fit, always terminated.
void copyToUtf16(std::string_view utf8, char16* field, std::size_t capacity);

template <std::size_t N> void copyToUtf16(std::string_view utf8, char16 (&field)[N]) {
    copyToUtf16(utf8, field, N);
}

// A host's terminated UTF-16 text as UTF-8; unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(const char16* text);

// ASCII text into a fixed char field, cut to fit, always terminated.
template <std::size_t N> void copyText(std::string_view text, char (&field)[N]) {
    const std::size_t length = text.size() < N ? text.size() : N - 1;
    text.copy(field, length);
    field[length] = '\0';
}

} // namespace Korvatune::Vst3
