#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Korvatune {

// Text made to fill exactly `width` columns of a terminal line, counting one per code point:
// control characters and bytes that are not UTF-8 become '?', longer text ends in '~' at the
// last column, and shorter text is padded with spaces.
std::string fittedToColumn(std::string_view text, std::size_t width);

} // namespace Korvatune
