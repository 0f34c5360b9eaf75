#pragma once

#include <cstddef>
#include <string_view>

namespace Korvatune {

// The length of the well-formed UTF-8 sequence at text[at] (no overlong forms, no surrogates),
// or 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

} // namespace Korvatune
