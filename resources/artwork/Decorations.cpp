#include "resources/artwork/Decorations.h"

#include "resources/artwork/KickMotif.h"
#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"
#include "resources/artwork/Wordmark.h"

#include <array>

namespace Korvatune::Artwork {

Bitmap drawProductBadge(Scale scale) {
    Bitmap image(scale.pixels(158), scale.pixels(50));
    fillRoundedRect(image, scale.rect({0, 4, 44, 46}), 4 * scale.factor(), Palette::kScreen);
    drawKickWave(image, scale.rect({4, 8, 40, 42}), Palette::kHeading, 1.2 * scale.factor());
    drawWordmark(image, scale.point({50, 12}), 2, scale);
    drawText(image, "KICK SYNTH", scale.point({50, 32}), scale, Palette::kDimText);
    return image;
}

Bitmap drawMakerBadge(Scale scale) {
    Bitmap image(scale.pixels(110), scale.pixels(40));
    drawTextCentred(image, "KORVATUNE", scale.rect({0, 4, 110, 20}), 2, scale, Palette::kLabel);
    constexpr std::array<Color, 8> kSegments{
        Palette::kOscillator, Palette::kOscillator, Palette::kPitch, Palette::kFilter,
        Palette::kRing,       Palette::kDistortion, Palette::kTone,  Palette::kOutput};
    for (std::size_t i = 0; i < kSegments.size(); ++i) {
        const int left = 7 + static_cast<int>(i) * 12;
        fillRoundedRect(image, scale.rect({left, 27, left + 10, 31}), 1.5 * scale.factor(),
                        kSegments[i]);
    }
    return image;
}

} // namespace Korvatune::Artwork
