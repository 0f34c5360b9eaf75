#include "gui/Geometry.h"
#include "resources/EditorImages.h"

#include <gtest/gtest.h>

#include <string_view>

namespace Korvatune {
namespace {

using Gui::Bitmap;
using Gui::Rect;

Bitmap drawnImage(int id) {
    return *editorImagesAt(Gui::Scale{})->image(id);
}

// Text is drawn light on dark panels.
int countTextPixels(const Bitmap& image, Rect area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const Gui::Color c = image.pixel(x, y);
            count += c.red + c.green + c.blue > 3 * 150 ? 1 : 0;
        }
    }
    return count;
}

struct LabelPlace {
    std::string_view control;
    Rect area; // page coordinates, next to the control's rectangle
};

Rect above(Rect control) {
    return {control.left, control.top - 10, control.right, control.top};
}

Rect below(Rect control) {
    return {control.left, control.bottom, control.right, control.bottom + 9};
}

Rect shifted(Rect rect, int dy) {
    return rect.offsetBy({0, dy});
}

constexpr int kOscillatorOffsets[] = {0, 122, 242};

TEST(SynthPageBackground, EveryOscillatorControlHasALabel) {
    const Bitmap page = drawnImage(2001);
    for (const int dy : kOscillatorOffsets) {
        const LabelPlace places[] = {
            {"waveform", above(shifted({24, 35, 92, 59}, dy))},
            {"pitch", above(shifted({110, 35, 135, 60}, dy))},
            {"frequency", above(shifted({110, 72, 135, 97}, dy))},
            {"cutoff", above(shifted({169, 35, 206, 72}, dy))},
            {"resonance", above(shifted({213, 35, 250, 72}, dy))},
            {"filter type low end", shifted({164, 90, 179, 104}, dy)},
            {"filter type high end", shifted({239, 90, 256, 104}, dy)},
            {"ring modulation", above(shifted({257, 35, 282, 60}, dy))},
            {"filter modulation", above(shifted({289, 35, 314, 60}, dy))},
            {"frequency modulation", above(shifted({321, 35, 346, 60}, dy))},
            {"modulation frequency", shifted({332, 68, 355, 82}, dy)},
            {"pan", below(shifted({257, 85, 282, 110}, dy))},
            {"level", below(shifted({289, 85, 314, 110}, dy))},
            {"saturation", below(shifted({321, 85, 346, 110}, dy))},
        };
        for (const LabelPlace& place : places) {
            EXPECT_GT(countTextPixels(page, place.area), 8)
                << place.control << " of the oscillator " << dy << " pixels down";
        }
    }
}

TEST(SynthPageBackground, EveryGlobalControlHasALabel) {
    const Bitmap page = drawnImage(2001);
    const LabelPlace places[] = {
        {"waveform file", {71, 104, 100, 116}},
        {"pitch amount", above({375, 93, 412, 130})},
        {"pitch duration", above({429, 93, 466, 130})},
        {"pitch power", above({483, 93, 520, 130})},
        {"filter cutoff", above({375, 170, 412, 207})},
        {"filter resonance", above({419, 170, 456, 207})},
        {"filter type low end", {370, 225, 385, 239}},
        {"filter type high end", {445, 225, 462, 239}},
        {"ring amount", above({495, 170, 532, 207})},
        {"ring frequency", above({539, 170, 576, 207})},
        {"distortion type", above({455, 271, 479, 295})},
        {"quantization", {370, 336, 395, 344}},
        {"sample rate", {402, 336, 427, 344}},
        {"distortion", {434, 337, 471, 344}},
        {"bass", {500, 336, 525, 344}},
        {"mid", {532, 336, 557, 344}},
        {"high", {564, 336, 589, 344}},
        {"dump/expand", {603, 336, 628, 344}},
        {"volume", {642, 337, 679, 344}},
        {"peak level", below({551, 345, 595, 359})},
    };
    for (const LabelPlace& place : places) {
        EXPECT_GT(countTextPixels(page, place.area), 8) << place.control;
    }
}

// The section headings are coloured, so they are told apart from labels by hue.
TEST(SynthPageBackground, SectionsCarryColouredHeadings) {
    const Bitmap page = drawnImage(2001);
    const Rect headings[] = {
        {14, 12, 120, 24},    {14, 134, 120, 146},  {14, 254, 120, 266},  {362, 2, 460, 14},
        {362, 147, 420, 159}, {482, 147, 550, 159}, {482, 235, 550, 247}, {362, 251, 440, 263},
        {482, 289, 520, 301}, {630, 289, 690, 301},
    };
    for (const Rect& area : headings) {
        int coloured = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const Gui::Color c = page.pixel(x, y);
                const int spread =
                    std::max({c.red, c.green, c.blue}) - std::min({c.red, c.green, c.blue});
                coloured += spread > 60 || c.red + c.green + c.blue > 3 * 200 ? 1 : 0;
            }
        }
        EXPECT_GT(coloured, 20) << area.left << ", " << area.top;
    }
}

TEST(FrameBackground, CarriesTheProductAndMakerNames) {
    const Bitmap frame = drawnImage(2000);
    EXPECT_GT(countTextPixels(frame, {49, 10, 300, 40}), 100) << "product name";
    EXPECT_GT(countTextPixels(frame, {600, 10, 752, 30}), 50) << "maker";
    EXPECT_EQ(countTextPixels(frame, {60, 60, 740, 410}), 0) << "page area left plain";
}

} // namespace
} // namespace Korvatune
