#include "editor/DrawTestEditor.h"

#include "editor/EditorFileSelector.h"
#include "plugin/VstXSynth.h"

#include <algorithm>

namespace Korvatune {

namespace {

using Gui::Rect;

constexpr int kBackgroundImage = 2000;
constexpr int kTabButtonImage = 2006;
constexpr int kTabButtonWidth = 86;
constexpr int kTabButtonHeight = 32;
// Inset from the frame by 9 pixels at the left and top, 8 at the right and bottom.
constexpr Rect kTabArea{9, 9, 792, 457};
constexpr Rect kSynthPageArea{40, 39, 741, 410};

struct AboutImage {
    Rect rect;
    int id;
};
constexpr AboutImage kAboutImages[] = {
    {{30, 25, 670, 151}, 4000},
    {{60, 100, 640, 140}, 5000},
    {{90, 140, 610, 321}, 6000},
    {{4, 320, 114, 370}, 7000},
};

constexpr int kInvertTags[] = {9, 23, 37};

std::unique_ptr<Gui::ViewContainer> transparentPage(Rect area) {
    auto page = std::make_unique<Gui::ViewContainer>(area);
    page->setTransparent(true);
    return page;
}

} // namespace

DrawTestEditor::DrawTestEditor(VstXSynth& synth, ImageSource images)
    : AEffGUIEditor(kWidth, kHeight), synth_(synth), images_(std::move(images)),
      fileSelector_(std::make_unique<EditorFileSelector>(synth)) {}

DrawTestEditor::~DrawTestEditor() {
    close();
}

void DrawTestEditor::setFileSelector(std::unique_ptr<Gui::IFileSelector> selector) {
    if (fileSelector_) {
        fileSelector_->cancel();
    }
    fileSelector_ = std::move(selector);
}

void DrawTestEditor::setParameterEditListener(ParameterEditListener listener) {
    editListener_ = std::move(listener);
}

void DrawTestEditor::buildViews(Gui::Frame& frame) {
    ImageCache images(images_);
    // Decoded on first opening: an instance whose editor is never shown does not hold it.
    if (!background_) {
        background_ = images.get(kBackgroundImage);
    }
    frame.setBackground(background_);
    auto tabs = std::make_unique<MyTabView>(kTabArea, images.get(kTabButtonImage), kTabButtonWidth,
                                            kTabButtonHeight);
    tabs->setTransparent(true);
    auto synthPage = transparentPage(tabs->pageArea());
    synthPage_ = synthPage->addView(std::make_unique<ControlsGUI>(kSynthPageArea, this, images_));
    tabs->addPage("Synth", std::move(synthPage));
    addAboutPage(*tabs, images);
    tabView_ = frame.addView(std::move(tabs));
    refreshEverything();
}

void DrawTestEditor::addAboutPage(MyTabView& tabs, ImageCache& images) {
    auto about = transparentPage(tabs.pageArea());
    for (const AboutImage& image : kAboutImages) {
        auto view = std::make_unique<Gui::View>(image.rect);
        view->setTransparent(true);
        view->setBackground(images.get(image.id));
        about->addView(std::move(view));
    }
    tabs.addPage("About", std::move(about));
}

void DrawTestEditor::close() {
    if (fileSelector_) {
        fileSelector_->cancel();
    }
    if (synthPage_ != nullptr) {
        synthPage_->pitchPicture().setPoints(nullptr, 0);
        synthPage_ = nullptr;
    }
    tabView_ = nullptr;
    AEffGUIEditor::close();
}

void DrawTestEditor::selectPage(std::size_t index) {
    if (tabView_ != nullptr) {
        tabView_->selectPage(index);
    }
}

void DrawTestEditor::idle() {
    if (!isOpen()) {
        return;
    }
    applyPendingChanges();
    synthPage_->showPeakLevel(synth_.getPeakLeft(), synth_.getPeakRight());
    if (fileSelector_) {
        fileSelector_->poll();
    }
    AEffGUIEditor::idle();
}

void DrawTestEditor::setParameter(int index, float) {
    if (index >= 0 && index < kNumProgramKeys) {
        parameterChanged_[static_cast<std::size_t>(index)].store(true, std::memory_order_release);
    }
}

void DrawTestEditor::refreshAll() {
    refreshRequested_.store(true, std::memory_order_release);
}

// A refresh reads every value anew, so the single changes flagged before it are dropped; any
// flagged after the drop are applied in the next pass. Taking a flag (acquire) makes the values
// stored before it was raised (release) visible here.
void DrawTestEditor::applyPendingChanges() {
    if (refreshRequested_.exchange(false, std::memory_order_acquire)) {
        for (std::atomic<bool>& changed : parameterChanged_) {
            changed.store(false, std::memory_order_relaxed);
        }
        refreshEverything();
        return;
    }
    for (int index = 0; index < kNumProgramKeys; ++index) {
        if (parameterChanged_[static_cast<std::size_t>(index)].exchange(
                false, std::memory_order_acquire)) {
            followParameter(index);
        }
    }
}

void DrawTestEditor::followParameter(int index) {
    const float value = synth_.getParameter(index);
    synthPage_->followParameter(index, value);
    if (isWaveformKey(index)) {
        for (int oscillator = 1; oscillator <= kNumOscillators; ++oscillator) {
            refreshWaveformPicture(oscillator);
        }
    } else if (const auto* invert =
                   std::find(std::begin(kInvertTags), std::end(kInvertTags), index);
               invert != std::end(kInvertTags)) {
        refreshWaveformPicture(static_cast<int>(invert - std::begin(kInvertTags)) + 1);
    } else if (index == kPitchAmount) {
        synthPage_->setDisplayValue(kPitchAmount, value * synth_.getPitchEnvelope().getScale());
    } else if (index == kPitchPower) {
        synthPage_->setDisplayValue(kPitchPower, value * 20.0f);
    } else if (index == kVolume) {
        synthPage_->showVolume(value);
    }
}

void DrawTestEditor::valueChanged(Gui::Control& control) {
    const int tag = control.tag();
    const float value = control.value();
    switch (tag) {
    case oscillatorKey(1, kOscWaveform):
    case oscillatorKey(2, kOscWaveform):
    case oscillatorKey(3, kOscWaveform):
        stepWaveform(tag, value);
        break;
    case kPitchDuration:
    case kPitchAmount:
    case kPitchPower:
        setSynthParameter(tag, value);
        refreshPitchEnvelopePicture();
        break;
    case kDistortion:
        setSynthParameter(tag, value);
        refreshDistortion();
        refreshDistortionCurve();
        break;
    case kDistortionType:
        stepDistortionType(value);
        break;
    case kTagOpenWaveform:
        openWaveformFile();
        break;
    case kTagLoadProgram:
        loadProgramFile();
        break;
    case kTagSaveProgram:
        saveProgramFile();
        break;
    case kTagResetPeak:
        synth_.requestPeakReset();
        break;
    default:
        setSynthParameter(tag, value);
        break;
    }
}

void DrawTestEditor::stepWaveform(int tag, float rockerValue) {
    const float current = synth_.getParameter(tag);
    if (rockerValue > 0.5f) {
        setSynthParameter(tag, WaveformProvider::nextValue(current));
    } else if (rockerValue < -0.5f) {
        setSynthParameter(tag, WaveformProvider::previousValue(current));
    }
}

void DrawTestEditor::stepDistortionType(float rockerValue) {
    constexpr float kStep = 1.0f / static_cast<float>(Distortion::kNumTypes - 1);
    const float current = synth_.getParameter(kDistortionType);
    if (rockerValue > 0.5f) {
        setSynthParameter(kDistortionType, std::min(current + kStep, 1.0f));
    } else if (rockerValue < -0.5f) {
        setSynthParameter(kDistortionType, std::max(current - kStep, 0.0f));
    }
    refreshDistortion();
    refreshDistortionCurve();
}

// The instrument's own setter: a change made in the editor is no host automation.
void DrawTestEditor::setSynthParameter(int index, float value) {
    if (index >= 0 && index < kNumProgramKeys) {
        synth_.setParameter(index, value);
        reportEdit(index);
    }
}

// The value as the instrument stored it, which may be clamped.
void DrawTestEditor::reportEdit(int index) {
    if (editListener_) {
        editListener_(index, synth_.getParameter(index));
    }
}

} // namespace Korvatune
