#include "tools/artwork/EditorImageSet.h"

#include "tools/artwork/AboutPage.h"
#include "tools/artwork/Buttons.h"
#include "tools/artwork/Decorations.h"
#include "tools/artwork/FrameBackground.h"
#include "tools/artwork/KnobStrips.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/SliderAndRocker.h"
#include "tools/artwork/SynthPageBackground.h"

#include <array>

namespace Korvatune::Artwork {

namespace {

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

void addControlImages(std::vector<EditorImage>& images) {
    images.push_back({2006, drawTabButtons()});
    images.push_back({2007, drawSwitch("INVERT", 44, Palette::kOscillator)});
    images.push_back({2008, drawRocker()});
    images.push_back({2009, drawSliderHandle()});
    images.push_back({2010, drawSliderTrack()});
    images.push_back({2014, drawPushButton("LOAD", 44)});
    images.push_back({2015, drawPushButton("SAVE", 44)});
    images.push_back({2016, drawPushButton("RESET", 44)});
    images.push_back({2017, drawSwitch("BYPASS FX", 66, Palette::kDistortion)});
    for (const KnobImage& knob : kKnobImages) {
        images.push_back({knob.id, drawKnobStrip(knob.style)});
    }
}

} // namespace

std::vector<EditorImage> drawEditorImages() {
    std::vector<EditorImage> images;
    images.push_back({2000, drawFrameBackground()});
    images.push_back({2001, drawSynthPageBackground()});
    addControlImages(images);
    images.push_back({3000, drawProductBadge()});
    images.push_back({3001, drawMakerBadge()});
    images.push_back({4000, drawAboutTitle()});
    images.push_back({5000, drawAboutSubtitle()});
    images.push_back({6000, drawAboutInformation()});
    images.push_back({7000, drawAboutMaker()});
    return images;
}

} // namespace Korvatune::Artwork
