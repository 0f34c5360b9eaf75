#include "tools/artwork/Wordmark.h"

#include "gui/BitmapFont.h"
#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"

#include <string_view>

namespace Korvatune::Artwork {

namespace {

constexpr std::string_view kFirstPart = "OMBRA";
constexpr std::string_view kSecondPart = "FELL";
constexpr Color kNameLight{236, 238, 244};

} // namespace

int wordmarkWidth(int scale) {
    return scaledTextWidth("OMBRAFELL", scale);
}

void drawWordmark(Bitmap& target, Point topLeft, int scale) {
    const Point shadow = topLeft + Point{scale / 2 + 1, scale / 2 + 1};
    drawText(target, "OMBRAFELL", shadow, scale, Color{0, 0, 0, 160});
    drawText(target, kFirstPart, topLeft, scale, kNameLight);
    const int secondLeft =
        topLeft.x + static_cast<int>(kFirstPart.size()) * Gui::kCellWidth * scale;
    drawText(target, kSecondPart, {secondLeft, topLeft.y}, scale, Palette::kHeading);
}

} // namespace Korvatune::Artwork
