#pragma once

#include "gui/Scale.h"

#include <functional>
#include <string_view>

namespace Korvatune::Gui {

// The pixel font drawn at a scale. Each ink pixel of a glyph lands at the scaled position of its
// font pixel as a square one stroke wide, and ink pixels that touch in the font are joined, so
// every stroke keeps one width at sizes between whole numbers; whole-number scales give plain
// blocks of scale x scale pixels.
int scaledTextWidth(std::string_view text, Scale scale);
int scaledGlyphHeight(Scale scale);

// How far into a box side of `box` device pixels content of `content` design pixels starts when
// centred as at 100 %: the room is halved in design pixels, rounding down, then scaled.
int centredOffset(int box, int content, Scale scale);

// Calls plot(x, y) once for every device pixel of the text's ink, with (0, 0) the text's
// top-left corner.
void forEachTextPixel(std::string_view text, Scale scale,
                      const std::function<void(int x, int y)>& plot);

} // namespace Korvatune::Gui
