#include "resources/artwork/SynthPageLayout.h"

#include "gui/BitmapFont.h"
#include "resources/artwork/Palette.h"

#include <array>

namespace Korvatune::Artwork {

using Gui::Rect;

namespace {

// The oscillator rows repeat at these vertical offsets.
constexpr std::array<int, 3> kOscillatorOffsets{0, 122, 242};

constexpr int kLabelHeight = Gui::kGlyphHeight;
// A value display shows at most six characters.
constexpr int kReadoutWidth = 38;
constexpr int kReadoutHeight = 13;

Rect shifted(Rect rect, int dy) {
    return rect.offsetBy({0, dy});
}

Label above(std::string_view text, Rect control) {
    return {text, {control.left - 8, control.top - 9, control.right + 8, control.top - 2}};
}

Label below(std::string_view text, Rect control, int top) {
    return {text, {control.left - 8, top, control.right + 8, top + kLabelHeight}};
}

Label leftOf(std::string_view text, Rect control) {
    const int middle = (control.top + control.bottom) / 2;
    const int width = Gui::textWidth(text);
    return {text, {control.left - 3 - width, middle - 3, control.left - 3, middle + 4}};
}

Label rightOf(std::string_view text, Rect control) {
    const int middle = (control.top + control.bottom) / 2;
    const int width = Gui::textWidth(text);
    return {text, {control.right + 3, middle - 3, control.right + 3 + width, middle + 4}};
}

void addOscillatorLabels(std::vector<Label>& labels, int dy) {
    const Rect waveformArea = shifted({24, 35, 92, 59}, dy);
    const Rect filterType = shifted({179, 87, 239, 107}, dy);
    const Rect modFrequency = shifted({272, 65, 332, 85}, dy);
    labels.push_back(above("WAVEFORM", waveformArea));
    labels.push_back(above("PITCH", shifted({110, 35, 135, 60}, dy)));
    labels.push_back(above("FREQ", shifted({110, 72, 135, 97}, dy)));
    labels.push_back(above("CUTOFF", shifted({169, 35, 206, 72}, dy)));
    labels.push_back(above("RESO", shifted({213, 35, 250, 72}, dy)));
    labels.push_back(leftOf("LP", filterType));
    labels.push_back(rightOf("HP", filterType));
    labels.push_back(above("RING", shifted({257, 35, 282, 60}, dy)));
    labels.push_back(above("FILT", shifted({289, 35, 314, 60}, dy)));
    labels.push_back(above("FM", shifted({321, 35, 346, 60}, dy)));
    labels.push_back(rightOf("LFO", modFrequency));
    const int belowKnobs = 112 + dy;
    labels.push_back(below("PAN", shifted({257, 85, 282, 110}, dy), belowKnobs));
    labels.push_back(below("LEVEL", shifted({289, 85, 314, 110}, dy), belowKnobs));
    labels.push_back(below("SAT", shifted({321, 85, 346, 110}, dy), belowKnobs));
}

void addGlobalLabels(std::vector<Label>& labels) {
    labels.push_back(rightOf("FILE", {27, 102, 71, 118}));
    labels.push_back(above("AMOUNT", {375, 93, 412, 130}));
    labels.push_back(above("DURATION", {429, 93, 466, 130}));
    labels.push_back(above("POWER", {483, 93, 520, 130}));
    labels.push_back(above("CUTOFF", {375, 170, 412, 207}));
    labels.push_back(above("RESO", {419, 170, 456, 207}));
    labels.push_back(leftOf("LP", {385, 222, 445, 242}));
    labels.push_back(rightOf("HP", {385, 222, 445, 242}));
    labels.push_back(above("AMOUNT", {495, 170, 532, 207}));
    labels.push_back(above("FREQ", {539, 170, 576, 207}));
    labels.push_back(above("TYPE", {461, 271, 473, 295}));
    // The bottom row's knobs differ in size; their labels share one line.
    constexpr int kBottomRow = 337;
    labels.push_back(below("QUANT", {370, 310, 395, 335}, kBottomRow));
    labels.push_back(below("RATE", {402, 310, 427, 335}, kBottomRow));
    labels.push_back(below("DRIVE", {434, 300, 471, 337}, kBottomRow));
    labels.push_back(below("BASS", {500, 310, 525, 335}, kBottomRow));
    labels.push_back(below("MID", {532, 310, 557, 335}, kBottomRow));
    labels.push_back(below("HIGH", {564, 310, 589, 335}, kBottomRow));
    labels.push_back(below("DMP/EXP", {603, 310, 628, 335}, kBottomRow));
    labels.push_back(below("VOLUME", {642, 300, 679, 337}, kBottomRow));
    labels.push_back(below("PEAK", {551, 345, 595, 359}, 361));
}

Rect centredReadout(Rect display) {
    const int middle = (display.left + display.right) / 2;
    const int top = display.top + (display.height() - kReadoutHeight) / 2;
    return {middle - kReadoutWidth / 2, top, middle + kReadoutWidth / 2, top + kReadoutHeight};
}

} // namespace

std::vector<Section> synthPageSections() {
    std::vector<Section> sections;
    sections.push_back({{14, 18, 356, 124}, {{"OSCILLATOR 1", 22, Palette::kOscillator}}});
    sections.push_back({{14, 140, 356, 246}, {{"OSCILLATOR 2", 22, Palette::kOscillator}}});
    sections.push_back({{14, 260, 356, 369}, {{"OSCILLATOR 3", 22, Palette::kOscillator}}});
    sections.push_back({{362, 8, 530, 147}, {{"PITCH ENVELOPE", 370, Palette::kPitch}}});
    sections.push_back({{362, 153, 478, 247}, {{"FILTER", 370, Palette::kFilter}}});
    sections.push_back({{482, 153, 586, 228}, {{"RING MOD", 490, Palette::kRing}}});
    sections.push_back({{482, 241, 698, 289}, {{"PROGRAM", 490, Palette::kHeading}}});
    sections.push_back({{362, 257, 478, 369}, {{"DISTORTION", 370, Palette::kDistortion}}});
    sections.push_back(
        {{482, 295, 698, 369}, {{"TONE", 490, Palette::kTone}, {"OUTPUT", 642, Palette::kOutput}}});
    return sections;
}

std::vector<Label> synthPageLabels() {
    std::vector<Label> labels;
    for (const int dy : kOscillatorOffsets) {
        addOscillatorLabels(labels, dy);
    }
    addGlobalLabels(labels);
    return labels;
}

std::vector<Screen> synthPageScreens() {
    std::vector<Screen> screens;
    for (const int dy : kOscillatorOffsets) {
        screens.push_back({shifted({24, 35, 74, 59}, dy), 12});
    }
    screens.push_back({{409, 20, 487, 78}, 1});
    screens.push_back({{369, 271, 455, 295}, 12});
    return screens;
}

std::vector<Rect> synthPageReadouts() {
    std::vector<Rect> readouts;
    for (const int dy : kOscillatorOffsets) {
        readouts.push_back(shifted({20, 67, 96, 81}, dy));
        readouts.push_back(centredReadout(shifted({161, 74, 215, 88}, dy)));
        readouts.push_back(centredReadout(shifted({205, 74, 259, 88}, dy)));
    }
    for (const Rect display :
         {Rect{367, 129, 421, 143}, Rect{421, 129, 475, 143}, Rect{475, 129, 529, 143},
          Rect{367, 209, 421, 223}, Rect{411, 209, 465, 223}, Rect{487, 209, 541, 223},
          Rect{531, 209, 585, 223}}) {
        readouts.push_back(centredReadout(display));
    }
    readouts.push_back({634, 345, 688, 359});
    readouts.push_back({551, 345, 595, 359});
    return readouts;
}

} // namespace Korvatune::Artwork
