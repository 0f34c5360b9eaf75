#include "resources/artwork/AboutPage.h"

#include "resources/artwork/KickMotif.h"
#include "resources/artwork/Painter.h"
#include "resources/artwork/Palette.h"
#include "resources/artwork/Wordmark.h"

#include <array>
#include <string_view>

namespace Korvatune::Artwork {

namespace {

constexpr std::array<std::string_view, 8> kInformation{
    "VERSION 1.0 - VST 2.4 INSTRUMENT FOR LINUX",   "",
    "THREE OSCILLATORS PER VOICE, EIGHT VOICES",    "30 WAVEFORMS WITH TEN USER SLOTS (RAW, WAV)",
    "LADDER LOW-PASS AND HIGH-PASS PER OSCILLATOR", "PITCH ENVELOPE AND RING MODULATION",
    "25 DISTORTION TYPES, TONE BANDS, DUMP/EXPAND", "45 FACTORY PROGRAMS, PROGRAM FILES (.OBP)",
};

constexpr int kLineSpacing = 12;

} // namespace

Bitmap drawAboutTitle(Scale scale) {
    Bitmap image(scale.pixels(640), scale.pixels(126));
    constexpr int kSize = 6;
    const int width = wordmarkWidth(kSize, scale);
    const int left = (image.width() - width) / 2;
    drawWordmark(image, {left, scale.pixels(14)}, kSize, scale);
    fillRoundedRect(image, {left, scale.pixels(64), left + width, scale.pixels(66)}, scale.factor(),
                    withAlpha(Palette::kHeading, 180));
    return image;
}

Bitmap drawAboutSubtitle(Scale scale) {
    Bitmap image(scale.pixels(580), scale.pixels(40));
    drawTextCentred(image, "KICK DRUM SYNTHESIZER", scale.rect({0, 2, 580, 18}), 2, scale,
                    Palette::kLabel);
    drawTextCentred(image, "FOR HARDCORE, TECHNO AND DRUM & BASS PRODUCERS",
                    scale.rect({0, 24, 580, 34}), 1, scale, Palette::kDimText);
    return image;
}

Bitmap drawAboutInformation(Scale scale) {
    Bitmap image(scale.pixels(520), scale.pixels(181));
    const Rect panel = scale.rect({0, 14, 520, 181});
    fillRoundedRect(image, panel, 6 * scale.factor(), withAlpha(Palette::kPanelEdge, 220));
    const int border = scale.pixels(1);
    fillRoundedRect(
        image,
        {panel.left + border, panel.top + border, panel.right - border, panel.bottom - border},
        5 * scale.factor(), withAlpha(Palette::kPanel, 235));
    for (std::size_t i = 0; i < kInformation.size(); ++i) {
        drawText(image, kInformation[i], scale.point({16, 28 + static_cast<int>(i) * kLineSpacing}),
                 scale, i == 0 ? Palette::kLabel : Palette::kDimText);
    }
    drawText(image, "DESIGNED AND BUILT BY KORVATUNE", scale.point({16, 160}), scale,
             Palette::kHeading);
    const Rect scope = scale.rect({300, 30, 504, 164});
    fillRoundedRect(image, scope, 4 * scale.factor(), Palette::kScreen);
    const int margin = scale.pixels(8);
    drawKickWave(
        image,
        {scope.left + margin, scope.top + margin, scope.right - margin, scope.bottom - margin},
        Palette::kHeading, 1.6 * scale.factor());
    return image;
}

Bitmap drawAboutMaker(Scale scale) {
    Bitmap image(scale.pixels(110), scale.pixels(50));
    drawTextCentred(image, "A SOUND TOOL BY", scale.rect({0, 6, 110, 16}), 1, scale,
                    Palette::kDimText);
    drawTextCentred(image, "KORVATUNE", scale.rect({0, 20, 110, 36}), 2, scale, Palette::kLabel);
    fillRoundedRect(image, scale.rect({30, 40, 80, 42}), scale.factor(), Palette::kHeading);
    return image;
}

} // namespace Korvatune::Artwork
