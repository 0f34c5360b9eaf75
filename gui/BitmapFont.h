#pragma once

#include <cstdint>
#include <string_view>

namespace Korvatune::Gui {

// A fixed-width font for printable ASCII. Each glyph is kGlyphWidth x kGlyphHeight pixels inside
// a cell that leaves one blank column and row for spacing.
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kCellWidth = kGlyphWidth + 1;
inline constexpr int kCellHeight = kGlyphHeight + 1;

// Row bits of a glyph, top row first; bit (kGlyphWidth - 1 - x) is column x. Characters outside
// printable ASCII get the glyph of '?'.
const std::uint8_t* glyphRows(char character);

inline bool glyphHasPixel(char character, int x, int y) {
    return (glyphRows(character)[y] >> (kGlyphWidth - 1 - x)) & 1u;
}

// Advance width of a text; the trailing spacing column is not counted.
inline int textWidth(std::string_view text) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * kCellWidth - 1;
}

} // namespace Korvatune::Gui
