#include "editor/ControlsGUI.h"

#include "editor/PressArea.h"
#include "gui/AnimatedKnob.h"
#include "gui/HorizontalSlider.h"
#include "gui/OnOffButton.h"
#include "gui/RockerSwitch.h"
#include "programs/ProgramKeys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Korvatune {

namespace {

using Gui::Rect;

constexpr int kBackgroundImage = 2001;
constexpr int kRockerImage = 2008;
constexpr int kSliderHandleImage = 2009;
constexpr int kSliderTrackImage = 2010;
constexpr int kKnobFrames = 128;
constexpr int kSliderHandleTop = 2;
constexpr int kTagsPerOscillator = kKeysPerOscillator;
// Oscillator rows lie this far below the first one.
constexpr std::array<int, kNumOscillators> kOscillatorRowOffsets = {0, 122, 242};
// Displays show scaled values (up to a few hundred), not the 0..1 of the knobs.
constexpr float kDisplayRange = 1.0e6f;

constexpr Gui::Color kGreyText = Gui::kGrey;
constexpr Gui::Color kWaveformNameText{144, 144, 160, 255};

struct KnobPlace {
    Rect rect;
    int image;
    int tag;
};

struct DisplayPlace {
    Rect rect;
    int knobTag;
};

struct SliderPlace {
    Rect rect;
    int handleFrom;
    int handleTo;
    int tag;
};

// The oscillator 1 row; the other rows move down and add kTagsPerOscillator to the tags.
constexpr KnobPlace kOscillatorKnobs[] = {
    {{110, 35, 135, 60}, 2034, kOscPitch},         {{110, 72, 135, 97}, 2034, kOscFreq},
    {{169, 35, 206, 72}, 2035, kOscFilterCutoff},  {{213, 35, 250, 72}, 2035, kOscFilterResonance},
    {{257, 35, 282, 60}, 2033, kOscRingModAmount}, {{289, 35, 314, 60}, 2033, kOscFiltModAmount},
    {{321, 35, 346, 60}, 2033, kOscFreqModAmount}, {{257, 85, 282, 110}, 2032, kOscPan},
    {{289, 85, 314, 110}, 2030, kOscVolume},       {{321, 85, 346, 110}, 2031, kOscSat},
};
constexpr DisplayPlace kOscillatorDisplays[] = {
    {{161, 74, 215, 88}, kOscFilterCutoff},
    {{205, 74, 259, 88}, kOscFilterResonance},
};
constexpr SliderPlace kOscillatorSliders[] = {
    {{179, 87, 239, 107}, 181, 229, kOscFilterType},
    {{272, 65, 332, 85}, 274, 322, kOscModFrequency},
};
constexpr Rect kWaveformPicture{24, 35, 74, 59};
constexpr Rect kWaveformName{24, 67, 94, 81};
constexpr Rect kWaveformRocker{80, 35, 92, 59};
constexpr KnobPlace kInvertSwitch{{27, 85, 71, 101}, 2007, kOscInvertWaveform};
constexpr KnobPlace kWaveformFileButton{{27, 102, 71, 118}, 2014, kTagOpenWaveform};

constexpr KnobPlace kGlobalKnobs[] = {
    {{375, 93, 412, 130}, 2024, kPitchAmount},
    {{429, 93, 466, 130}, 2024, kPitchDuration},
    {{483, 93, 520, 130}, 2024, kPitchPower},
    {{375, 170, 412, 207}, 2035, kFilterCutoff},
    {{419, 170, 456, 207}, 2035, kFilterResonance},
    {{495, 170, 532, 207}, 2025, kRingModulationAmount},
    {{539, 170, 576, 207}, 2025, kRingModulationFrequency},
    {{370, 310, 395, 335}, 2023, kQuantization},
    {{402, 310, 427, 335}, 2022, kSampleRate},
    {{434, 300, 471, 337}, 2021, kDistortion},
    {{500, 310, 525, 335}, 2026, kBassAmount},
    {{532, 310, 557, 335}, 2027, kMidAmount},
    {{564, 310, 589, 335}, 2028, kHighAmount},
    {{603, 310, 628, 335}, 2034, kDumpExpand},
    {{642, 300, 679, 337}, 2019, kVolume},
};
constexpr DisplayPlace kGlobalDisplays[] = {
    {{367, 129, 421, 143}, kPitchAmount},
    {{421, 129, 475, 143}, kPitchDuration},
    {{475, 129, 529, 143}, kPitchPower},
    {{367, 209, 421, 223}, kFilterCutoff},
    {{411, 209, 465, 223}, kFilterResonance},
    {{487, 209, 541, 223}, kRingModulationAmount},
    {{531, 209, 585, 223}, kRingModulationFrequency},
};
constexpr SliderPlace kGlobalFilterSlider{{385, 222, 445, 242}, 387, 435, kFilterType};
constexpr KnobPlace kGlobalButtons[] = {
    {{493, 249, 537, 265}, 2014, kTagLoadProgram},
    {{538, 249, 582, 265}, 2015, kTagSaveProgram},
    {{618, 249, 684, 265}, 2017, kBypassFX},
    {{500, 345, 544, 361}, 2016, kTagResetPeak},
};
// Icon buttons around the program name, in the program box.
constexpr KnobPlace kProgramButtons[] = {
    {{583, 249, 599, 265}, 2040, kTagUndo},
    {{600, 249, 616, 265}, 2041, kTagRedo},
    {{640, 271, 653, 287}, 2042, kTagPreviousProgram},
    {{654, 271, 667, 287}, 2043, kTagNextProgram},
    {{669, 271, 682, 287}, 2044, kTagAudition},
    {{683, 271, 696, 287}, 2045, kTagExport},
};
constexpr Rect kProgramName{493, 272, 638, 286};
constexpr Rect kDistortionTypeRocker{461, 271, 473, 295};
constexpr KnobPlace kDecorations[] = {
    {{535, 80, 693, 130}, 3000, 0},
    {{588, 184, 698, 224}, 3001, 0},
};

constexpr float kCurveScale = 11.0f;
constexpr int kCurveBaseline = -12;
constexpr float kPitchScale = 45.0f;
constexpr int kPitchBaseline = -1;
constexpr Rect kPitchPicture{409, 20, 487, 78};
constexpr Rect kDistortionPicture{369, 271, 455, 295};

// Parameters whose controls a change from the host leaves where they are.
constexpr int kNotFollowing[] = {0, 1, 5, 9, 14, 15, 19, 23, 28, 29, 33, 37, kDistortionType};

bool isPushButton(int tag) {
    return tag == kTagOpenWaveform || tag == kTagLoadProgram || tag == kTagSaveProgram ||
           tag == kTagResetPeak || (tag >= kTagUndo && tag <= kTagProgramList);
}

Rect movedDown(Rect rect, int offset) {
    return rect.offsetBy({0, offset});
}

} // namespace

std::string levelText(float level) {
    if (!(level > 0.0f)) {
        return "-oo dB";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%3.1f dB", 20.0 * std::log10(static_cast<double>(level)));
    return text;
}

ControlsGUI::ControlsGUI(Rect rect, Gui::CControlListener* editor, const Gui::ImageLibrary& images,
                         Gui::Scale scale)
    : ViewContainer(rect), editor_(editor), scale_(scale) {
    setBackground(images.image(kBackgroundImage));
    for (int oscillator = 1; oscillator <= kNumOscillators; ++oscillator) {
        addOscillatorRow(images, oscillator);
    }
    addGlobalSections(images);
}

void ControlsGUI::addOscillatorRow(const Gui::ImageLibrary& images, int oscillator) {
    const int down = kOscillatorRowOffsets[oscillator - 1];
    const int tagOffset = kTagsPerOscillator * (oscillator - 1);
    waveformPictures_[oscillator - 1] =
        addPicture(movedDown(kWaveformPicture, down), kCurveScale, kCurveBaseline);
    waveformNames_[oscillator - 1] =
        addLabel(movedDown(kWaveformName, down), {},
                 {kWaveformNameText, Gui::TextAlign::Left, std::nullopt}, true);
    addRocker(images, movedDown(kWaveformRocker, down), kOscWaveform + tagOffset);
    addButton(images, movedDown(kInvertSwitch.rect, down), kInvertSwitch.image,
              kInvertSwitch.tag + tagOffset);
    if (oscillator == 1) {
        addButton(images, kWaveformFileButton.rect, kWaveformFileButton.image,
                  kWaveformFileButton.tag);
    }
    for (const KnobPlace& knob : kOscillatorKnobs) {
        addKnob(images, movedDown(knob.rect, down), knob.image, knob.tag + tagOffset);
    }
    for (const DisplayPlace& display : kOscillatorDisplays) {
        addDisplay(movedDown(display.rect, down), display.knobTag + tagOffset);
    }
    for (const SliderPlace& slider : kOscillatorSliders) {
        addSlider(images, movedDown(slider.rect, down), slider.handleFrom, slider.handleTo,
                  slider.tag + tagOffset);
    }
}

void ControlsGUI::addGlobalSections(const Gui::ImageLibrary& images) {
    pitchPicture_ = addPicture(kPitchPicture, kPitchScale, kPitchBaseline);
    distortionPicture_ = addPicture(kDistortionPicture, kCurveScale, kCurveBaseline);
    for (const KnobPlace& knob : kGlobalKnobs) {
        addKnob(images, knob.rect, knob.image, knob.tag);
    }
    for (const DisplayPlace& display : kGlobalDisplays) {
        addDisplay(display.rect, display.knobTag);
    }
    addSlider(images, kGlobalFilterSlider.rect, kGlobalFilterSlider.handleFrom,
              kGlobalFilterSlider.handleTo, kGlobalFilterSlider.tag);
    for (const KnobPlace& button : kGlobalButtons) {
        addButton(images, button.rect, button.image, button.tag);
    }
    addRocker(images, kDistortionTypeRocker, kDistortionType);
    for (const KnobPlace& decoration : kDecorations) {
        addImage(images, decoration.rect, decoration.image);
    }
    addProgramControls(images);
    distortionTypeName_ = addLabel({370, 344, 471, 358}, "distortion",
                                   {kGreyText, Gui::TextAlign::Centre, std::nullopt}, false);
    volumeText_ =
        addLabel({634, 345, 688, 359}, {}, {kGreyText, Gui::TextAlign::Centre, std::nullopt}, true);
    peakText_ = addLabel({551, 345, 595, 359}, "---",
                         {kGreyText, Gui::TextAlign::Centre, std::nullopt}, true);
}

void ControlsGUI::addProgramControls(const Gui::ImageLibrary& images) {
    for (const KnobPlace& button : kProgramButtons) {
        addButton(images, button.rect, button.image, button.tag);
    }
    programName_ =
        addLabel(kProgramName, "---", {Gui::kWhite, Gui::TextAlign::Centre, Gui::kWhite}, false);
    addControl(std::make_unique<PressArea>(scale_.rect(kProgramName), this, kTagProgramList));
}

template <class ControlType>
ControlType* ControlsGUI::addControl(std::unique_ptr<ControlType> control) {
    ControlType* added = addView(std::move(control));
    controls_[added->tag()] = added;
    return added;
}

void ControlsGUI::addKnob(const Gui::ImageLibrary& images, Rect rect, int image, int tag) {
    addControl(std::make_unique<Gui::AnimatedKnob>(scale_.rect(rect), this, tag,
                                                   images.filmStrip(image), kKnobFrames));
}

void ControlsGUI::addDisplay(Rect rect, int knobTag) {
    auto display = std::make_unique<Gui::ValueDisplay>(
        scale_.rect(rect), nullptr, -1,
        Gui::TextStyle{kGreyText, Gui::TextAlign::Centre, std::nullopt});
    display->setRange(-kDisplayRange, kDisplayRange);
    displays_[knobTag] = addView(std::move(display));
}

// The handle's travel is measured from the slider's own edge, as its track image is drawn.
void ControlsGUI::addSlider(const Gui::ImageLibrary& images, Rect rect, int handleFrom,
                            int handleTo, int tag) {
    const Rect placed = scale_.rect(rect);
    const Gui::SliderTravel travel{placed.left + scale_.pixels(handleFrom - rect.left),
                                   placed.left + scale_.pixels(handleTo - rect.left),
                                   scale_.pixels(kSliderHandleTop)};
    addControl(std::make_unique<Gui::HorizontalSlider>(placed, this, tag, travel,
                                                       images.image(kSliderHandleImage),
                                                       images.image(kSliderTrackImage)));
}

void ControlsGUI::addButton(const Gui::ImageLibrary& images, Rect rect, int image, int tag) {
    addControl(
        std::make_unique<Gui::OnOffButton>(scale_.rect(rect), this, tag, images.image(image)));
}

void ControlsGUI::addRocker(const Gui::ImageLibrary& images, Rect rect, int tag) {
    addControl(std::make_unique<Gui::RockerSwitch>(scale_.rect(rect), this, tag,
                                                   images.image(kRockerImage)));
}

void ControlsGUI::addImage(const Gui::ImageLibrary& images, Rect rect, int image) {
    auto view = std::make_unique<Gui::View>(scale_.rect(rect));
    view->setTransparent(true);
    view->setBackground(images.image(image));
    addView(std::move(view));
}

Gui::TextLabel* ControlsGUI::addLabel(Rect rect, std::string text, Gui::TextStyle style,
                                      bool transparent) {
    auto label = std::make_unique<Gui::TextLabel>(scale_.rect(rect), std::move(text), style);
    label->setTransparent(transparent);
    return addView(std::move(label));
}

EnvelopeDataView* ControlsGUI::addPicture(Rect rect, float scale, int yOffset) {
    return addView(std::make_unique<EnvelopeDataView>(scale_.rect(rect), scale, yOffset));
}

void ControlsGUI::valueChanged(Gui::Control& control) {
    if (editor_ != nullptr) {
        editor_->valueChanged(control);
    }
    if (isPushButton(control.tag()) && control.value() > 0.5f) {
        control.setValue(0.0f);
    }
}

void ControlsGUI::followParameter(int index, float value) {
    const bool follows = index >= 0 && index < kNumProgramKeys &&
                         std::find(std::begin(kNotFollowing), std::end(kNotFollowing), index) ==
                             std::end(kNotFollowing);
    if (!follows) {
        return;
    }
    if (Gui::Control* bound = control(index)) {
        bound->setValue(value);
    }
    // The pitch envelope's displays show scaled values, which the editor fills in.
    if (index < kPitchDuration || index > kPitchPower) {
        setDisplayValue(index, value);
    }
}

void ControlsGUI::setControlValue(int tag, float value) {
    if (Gui::Control* bound = control(tag)) {
        bound->setValue(value);
    }
    setDisplayValue(tag, value);
}

void ControlsGUI::setDisplayValue(int knobTag, float value) {
    if (Gui::ValueDisplay* display = displayUnder(knobTag)) {
        display->setValue(value);
    }
}

Gui::Control* ControlsGUI::control(int tag) const {
    const auto found = controls_.find(tag);
    return found != controls_.end() ? found->second : nullptr;
}

Gui::ValueDisplay* ControlsGUI::displayUnder(int knobTag) const {
    const auto found = displays_.find(knobTag);
    return found != displays_.end() ? found->second : nullptr;
}

void ControlsGUI::setWaveformName(int oscillator, const std::string& text) {
    waveformNames_.at(oscillator - 1)->setText(text);
}

void ControlsGUI::setDistortionTypeName(const std::string& text) {
    distortionTypeName_->setText(text);
}

void ControlsGUI::showProgramName(int index, const char* name, bool edited) {
    char text[64];
    std::snprintf(text, sizeof text, "%d: %s%s", index, name != nullptr ? name : "",
                  edited ? " *" : "");
    programName_->setText(text);
}

void ControlsGUI::showVolume(float volume) {
    volumeText_->setText(levelText(volume));
}

void ControlsGUI::showPeakLevel(float left, float right) {
    peakText_->setText(levelText(std::max(left, right)));
}

} // namespace Korvatune
