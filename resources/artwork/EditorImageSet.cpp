#include "resources/artwork/EditorImageSet.h"

#include "resources/artwork/AboutPage.h"
#include "resources/artwork/Buttons.h"
#include "resources/artwork/Decorations.h"
#include "resources/artwork/FrameBackground.h"
#include "resources/artwork/Palette.h"
#include "resources/artwork/SliderAndRocker.h"
#include "resources/artwork/SynthPageBackground.h"

#include <algorithm>
#include <array>

namespace Korvatune::Artwork {

namespace {

using Gui::Bitmap;
using Gui::Scale;

constexpr int kLargeKnob = 37;
constexpr int kSmallKnob = 25;

struct KnobImage {
    int id;
    KnobStyle style;
};

constexpr std::array<KnobImage, 15> kKnobImages{{
    {2019, {kLargeKnob, Palette::kOutput, false}},     // volume
    {2021, {kLargeKnob, Palette::kDistortion, false}}, // distortion drive
    {2024, {kLargeKnob, Palette::kPitch, false}},      // pitch envelope
    {2025, {kLargeKnob, Palette::kRing, false}},       // ring modulation
    {2035, {kLargeKnob, Palette::kFilter, false}},     // filter cutoff and resonance
    {2022, {kSmallKnob, Palette::kDistortion, false}}, // sample rate reduction
    {2023, {kSmallKnob, Palette::kDistortion, false}}, // quantization
    {2026, {kSmallKnob, Palette::kTone, false}},       // bass
    {2027, {kSmallKnob, Palette::kTone, false}},       // mid
    {2028, {kSmallKnob, Palette::kTone, false}},       // high
    {2030, {kSmallKnob, Palette::kOscillator, false}}, // oscillator level
    {2031, {kSmallKnob, Palette::kOscillator, false}}, // saturation
    {2032, {kSmallKnob, Palette::kOscillator, true}},  // pan, centred
    {2033, {kSmallKnob, Palette::kRing, false}},       // modulation amounts
    {2034, {kSmallKnob, Palette::kOscillator, false}}, // pitch, frequency, dump/expand
}};

struct StillImage {
    int id;
    Bitmap (*draw)(Scale);
};

constexpr std::array<StillImage, 23> kStillImages{{
    {2000, drawFrameBackground},
    {2001, drawSynthPageBackground},
    {2006, drawTabButtons},
    {2007, [](Scale scale) { return drawSwitch("INVERT", 44, Palette::kOscillator, scale); }},
    {2008, drawRocker},
    {2009, drawSliderHandle},
    {2010, drawSliderTrack},
    {2014, [](Scale scale) { return drawPushButton("LOAD", 44, scale); }},
    {2015, [](Scale scale) { return drawPushButton("SAVE", 44, scale); }},
    {2016, [](Scale scale) { return drawPushButton("RESET", 44, scale); }},
    {2017, [](Scale scale) { return drawSwitch("BYPASS FX", 66, Palette::kDistortion, scale); }},
    {2040, [](Scale scale) { return drawIconButton(ButtonIcon::Undo, 16, scale); }},
    {2041, [](Scale scale) { return drawIconButton(ButtonIcon::Redo, 16, scale); }},
    {2042, [](Scale scale) { return drawIconButton(ButtonIcon::Previous, 13, scale); }},
    {2043, [](Scale scale) { return drawIconButton(ButtonIcon::Next, 13, scale); }},
    {2044, [](Scale scale) { return drawIconButton(ButtonIcon::Play, 13, scale); }},
    {2045, [](Scale scale) { return drawIconButton(ButtonIcon::Export, 13, scale); }},
    {3000, drawProductBadge},
    {3001, drawMakerBadge},
    {4000, drawAboutTitle},
    {5000, drawAboutSubtitle},
    {6000, drawAboutInformation},
    {7000, drawAboutMaker},
}};

constexpr std::array<int, kKnobImages.size()> knobIds() {
    std::array<int, kKnobImages.size()> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ids[i] = kKnobImages[i].id;
    }
    return ids;
}

constexpr auto kKnobIds = knobIds();

} // namespace

Bitmap drawStillImage(int id, Scale scale) {
    const auto found = std::find_if(kStillImages.begin(), kStillImages.end(),
                                    [id](const StillImage& image) { return image.id == id; });
    return found != kStillImages.end() ? found->draw(scale) : Bitmap{};
}

std::span<const int> knobStripIds() {
    return kKnobIds;
}

std::optional<KnobStyle> knobStripStyle(int id) {
    const auto found = std::find_if(kKnobImages.begin(), kKnobImages.end(),
                                    [id](const KnobImage& knob) { return knob.id == id; });
    return found != kKnobImages.end() ? std::optional<KnobStyle>(found->style) : std::nullopt;
}

} // namespace Korvatune::Artwork
