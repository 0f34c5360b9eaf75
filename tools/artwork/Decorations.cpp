#include "tools/artwork/Decorations.h"

#include "tools/artwork/KickMotif.h"
#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/Wordmark.h"

#include <array>

namespace Korvatune::Artwork {

Bitmap drawProductBadge() {
    Bitmap image(158, 50);
    fillRoundedRect(image, {0, 4, 44, 46}, 4, Palette::kScreen);
    drawKickWave(image, {4, 8, 40, 42}, Palette::kHeading, 1.2);
    drawWordmark(image, {50, 12}, 2);
    drawText(image, "KICK SYNTH", {50, 32}, 1, Palette::kDimText);
    return image;
}

Bitmap drawMakerBadge() {
    Bitmap image(110, 40);
    drawTextCentred(image, "KORVATUNE", {0, 4, 110, 20}, 2, Palette::kLabel);
    constexpr std::array<Color, 8> kSegments{
        Palette::kOscillator, Palette::kOscillator, Palette::kPitch, Palette::kFilter,
        Palette::kRing,       Palette::kDistortion, Palette::kTone,  Palette::kOutput};
    for (std::size_t i = 0; i < kSegments.size(); ++i) {
        const int left = 7 + static_cast<int>(i) * 12;
        fillRoundedRect(image, {left, 27, left + 10, 31}, 1.5, kSegments[i]);
    }
    return image;
}

} // namespace Korvatune::Artwork
