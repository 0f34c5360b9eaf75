#include "tools/artwork/AboutPage.h"

#include "gui/BitmapFont.h"
#include "tools/artwork/KickMotif.h"
#include "tools/artwork/Painter.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/Wordmark.h"

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

Bitmap drawAboutTitle() {
    Bitmap image(640, 126);
    constexpr int kScale = 6;
    const int left = (image.width() - wordmarkWidth(kScale)) / 2;
    drawWordmark(image, {left, 14}, kScale);
    fillRoundedRect(image, {left, 64, left + wordmarkWidth(kScale), 66}, 1,
                    withAlpha(Palette::kHeading, 180));
    return image;
}

Bitmap drawAboutSubtitle() {
    Bitmap image(580, 40);
    drawTextCentred(image, "KICK DRUM SYNTHESIZER", {0, 2, 580, 18}, 2, Palette::kLabel);
    drawTextCentred(image, "FOR HARDCORE, TECHNO AND DRUM & BASS PRODUCERS", {0, 24, 580, 34}, 1,
                    Palette::kDimText);
    return image;
}

Bitmap drawAboutInformation() {
    Bitmap image(520, 181);
    const Rect panel{0, 14, 520, 181};
    fillRoundedRect(image, panel, 6, withAlpha(Palette::kPanelEdge, 220));
    fillRoundedRect(image, {1, 15, 519, 180}, 5, withAlpha(Palette::kPanel, 235));
    for (std::size_t i = 0; i < kInformation.size(); ++i) {
        drawText(image, kInformation[i], {16, 28 + static_cast<int>(i) * kLineSpacing}, 1,
                 i == 0 ? Palette::kLabel : Palette::kDimText);
    }
    drawText(image, "DESIGNED AND BUILT BY KORVATUNE", {16, 160}, 1, Palette::kHeading);
    const Rect scope{300, 30, 504, 164};
    fillRoundedRect(image, scope, 4, Palette::kScreen);
    drawKickWave(image, {scope.left + 8, scope.top + 8, scope.right - 8, scope.bottom - 8},
                 Palette::kHeading, 1.6);
    return image;
}

Bitmap drawAboutMaker() {
    Bitmap image(110, 50);
    drawTextCentred(image, "A SOUND TOOL BY", {0, 6, 110, 16}, 1, Palette::kDimText);
    drawTextCentred(image, "KORVATUNE", {0, 20, 110, 36}, 2, Palette::kLabel);
    fillRoundedRect(image, {30, 40, 80, 42}, 1, Palette::kHeading);
    return image;
}

} // namespace Korvatune::Artwork
