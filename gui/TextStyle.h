#pragma once

#include "gui/Color.h"
#include "gui/DrawContext.h"

#include <optional>
#include <string_view>

namespace Korvatune::Gui {

// How labels and value displays set their text: the colour, the alignment and an optional
// frame one stroke wide around the box.
struct TextStyle {
    Color textColor = kWhite;
    TextAlign align = TextAlign::Centre;
    std::optional<Color> frameColor;
};

// Design pixels kept free between the box's side and left- or right-aligned text.
inline constexpr int kTextInset = 2;

void drawStyledText(DrawContext& context, Rect box, std::string_view text, const TextStyle& style);

} // namespace Korvatune::Gui
