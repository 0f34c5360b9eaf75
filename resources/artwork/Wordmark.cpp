#include "resources/artwork/Wordmark.h"

#include "gui/ScaledText.h"
#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"

#include <string_view>

namespace Korvatune::Artwork {

namespace {

constexpr std::string_view kName = "OMBRAFELL";
// The second half alone, where it stands in the whole name.
constexpr std::string_view kSecondPart = "     FELL";
constexpr std::string_view kFirstPart = "OMBRA";
constexpr Color kNameLight{236, 238, 244};

} // namespace

int wordmarkWidth(int size, Scale scale) {
    return Gui::scaledTextWidth(kName, scale.times(size));
}

void drawWordmark(Bitmap& target, Point topLeft, int size, Scale scale) {
    const Scale textScale = scale.times(size);
    const int shadowOffset = scale.pixels(size / 2 + 1);
    const Point shadow = topLeft + Point{shadowOffset, shadowOffset};
    drawText(target, kName, shadow, textScale, Color{0, 0, 0, 160});
    drawText(target, kFirstPart, topLeft, textScale, kNameLight);
    drawText(target, kSecondPart, topLeft, textScale, Palette::kHeading);
}

} // namespace Korvatune::Artwork
