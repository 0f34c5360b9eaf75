#include "editor/DrawTestEditor.h"

#include "editor/EditorFileSelector.h"
#include "editor/EditorScale.h"
#include "editor/EditorSettings.h"
#include "gui/DeferredImageView.h"
#include "gui/DisplayScale.h"
#include "gui/OptionMenu.h"
#include "gui/TextLabel.h"
#include "plugin/VstXSynth.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

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

// The size control on the About page, in the page's coordinates.
constexpr Rect kSizeLabel{560, 378, 670, 392};
constexpr Rect kSizeMenu{674, 377, 734, 393};
constexpr Gui::OptionMenuStyle kSizeMenuStyle{{38, 40, 46, 255},
                                              {178, 182, 192, 255},
                                              {84, 88, 99, 255},
                                              {255, 146, 48, 255},
                                              {16, 17, 20, 255}};
constexpr Gui::Color kSizeLabelText{120, 124, 134, 255};

constexpr int kInvertTags[] = {9, 23, 37};

std::unique_ptr<Gui::ViewContainer> transparentPage(Rect area) {
    auto page = std::make_unique<Gui::ViewContainer>(area);
    page->setTransparent(true);
    return page;
}

std::vector<std::string> sizeEntries() {
    std::vector<std::string> entries;
    for (const int percent : Gui::kOfferedScalePercents) {
        entries.push_back(std::to_string(percent) + "%");
    }
    return entries;
}

Gui::Scale offeredScaleAt(float index) {
    const int last = static_cast<int>(Gui::kOfferedScalePercents.size()) - 1;
    const int entry = std::clamp(static_cast<int>(std::lround(index)), 0, last);
    return Gui::Scale(Gui::kOfferedScalePercents[static_cast<std::size_t>(entry)]);
}

int offeredIndex(Gui::Scale scale) {
    const auto found = std::find(Gui::kOfferedScalePercents.begin(),
                                 Gui::kOfferedScalePercents.end(), scale.percent());
    return static_cast<int>(found - Gui::kOfferedScalePercents.begin());
}

} // namespace

DrawTestEditor::DrawTestEditor(VstXSynth& synth, EditorImageSource images)
    : AEffGUIEditor(kWidth, kHeight), synth_(synth), imageSource_(std::move(images)),
      fileSelector_(std::make_unique<EditorFileSelector>(synth)) {
    setHostResize([this](int width, int height) { return synth_.sizeWindow(width, height); });
}

DrawTestEditor::~DrawTestEditor() {
    close();
}

void DrawTestEditor::setFileSelector(std::unique_ptr<Gui::IFileSelector> selector) {
    if (fileSelector_) {
        fileSelector_->cancel();
    }
    fileSelector_ = std::move(selector);
}

DrawTestEditor* drawTestEditorOf(VstXSynth& synth) {
    return dynamic_cast<DrawTestEditor*>(synth.getEditor());
}

bool DrawTestEditor::openIn(void* parentWindow, std::optional<double> hostScalePercent) {
    setHostDisplayScale(hostScalePercent);
    return open(parentWindow) && getWindow() != nullptr;
}

EditorSize DrawTestEditor::size() {
    ERect* rect = nullptr;
    if (!getRect(&rect)) {
        return {};
    }
    return {rect->right - rect->left, rect->bottom - rect->top};
}

std::uintptr_t DrawTestEditor::windowHandle() const {
    return getWindow() != nullptr ? getWindow()->nativeHandle() : 0;
}

void DrawTestEditor::setEditListener(EditListener* listener) {
    endGestures();
    editListener_ = listener;
}

void DrawTestEditor::setHostResize(std::function<bool(int width, int height)> resize) {
    AEffGUIEditor::setHostResize(std::move(resize));
}

// Also builds the views anew at another size; the page shown stays.
void DrawTestEditor::buildViews(Gui::Frame& frame) {
    const std::size_t shownPage = tabView_ != nullptr ? tabView_->currentPage() : 0;
    const Gui::Scale scale = frame.scale();
    images_ = imageSource_(scale);
    frame.setBackground(images_->image(kBackgroundImage));
    frame.setPointerReleaseListener([this] {
        endGestures();
        commitEdits(0);
    });
    auto tabs =
        std::make_unique<MyTabView>(scale.rect(kTabArea), images_->image(kTabButtonImage),
                                    scale.pixels(kTabButtonWidth), scale.pixels(kTabButtonHeight));
    tabs->setTransparent(true);
    auto synthPage = transparentPage(tabs->pageArea());
    synthPage_ = synthPage->addView(
        std::make_unique<ControlsGUI>(scale.rect(kSynthPageArea), this, *images_, scale));
    tabs->addPage("Synth", std::move(synthPage));
    addAboutPage(*tabs, scale);
    tabs->selectPage(shownPage);
    tabView_ = frame.addView(std::move(tabs));
    configureControls(frame);
    refreshEverything();
}

void DrawTestEditor::addAboutPage(MyTabView& tabs, Gui::Scale scale) {
    auto about = transparentPage(tabs.pageArea());
    for (const AboutImage& image : kAboutImages) {
        about->addView(
            std::make_unique<Gui::DeferredImageView>(scale.rect(image.rect), images_, image.id));
    }
    auto label = std::make_unique<Gui::TextLabel>(
        scale.rect(kSizeLabel), "EDITOR SIZE",
        Gui::TextStyle{kSizeLabelText, Gui::TextAlign::Right, std::nullopt});
    label->setTransparent(true);
    about->addView(std::move(label));
    auto sizeMenu = std::make_unique<Gui::OptionMenu>(scale.rect(kSizeMenu), this, kTagEditorSize,
                                                      sizeEntries(), kSizeMenuStyle);
    sizeMenu->setValue(static_cast<float>(offeredIndex(scale)));
    about->addView(std::move(sizeMenu));
    tabs.addPage("About", std::move(about));
}

Gui::Scale DrawTestEditor::scaleForOpening(void* parentWindow) {
    return preferredEditorScale(hostDisplayScale_ ? hostDisplayScale_
                                                  : Gui::systemDisplayScalePercent(parentWindow));
}

// The choice counts for this editor even where it cannot be remembered.
void DrawTestEditor::chooseScale(Gui::Scale scale) {
    writeChosenEditorScale(scale);
    requestScale(scale);
}

void DrawTestEditor::close() {
    endGestures();
    if (fileSelector_) {
        fileSelector_->cancel();
    }
    if (synthPage_ != nullptr) {
        synthPage_->pitchPicture().setPoints(nullptr, 0);
        synthPage_ = nullptr;
    }
    tabView_ = nullptr;
    readout_ = nullptr;
    hovered_ = nullptr;
    AEffGUIEditor::close();
    images_.reset();
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
    updateEditedMark();
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
    case kTagUndo:
        undo();
        break;
    case kTagRedo:
        redo();
        break;
    case kTagPreviousProgram:
        stepProgram(-1);
        break;
    case kTagNextProgram:
        stepProgram(1);
        break;
    case kTagProgramList:
        openProgramList();
        break;
    case kTagAudition:
        synth_.requestAudition();
        break;
    case kTagExport:
        exportCurrentSound();
        break;
    case kTagEditorSize:
        chooseScale(offeredScaleAt(value));
        break;
    default:
        setSynthParameter(tag, value);
        break;
    }
    afterControlChange(control);
}

// Wheel notches in a row on one control are one step; a drag is one step at its release.
void DrawTestEditor::afterControlChange(const Gui::Control& control) {
    if (control.lastChangeSource() == Gui::ChangeSource::Wheel) {
        commitEdits(static_cast<std::uint64_t>(control.tag()) + 1);
    } else if (getFrame() == nullptr || !getFrame()->pointerHeld()) {
        commitEdits(0);
    }
    if (control.tag() >= 0 && control.tag() < kNumProgramKeys) {
        showParameterReadout(control.tag());
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
        noteEditStart(index);
        synth_.setParameter(index, value);
        reportEdit(index);
    }
}

// The value as the instrument stored it, which may be clamped.
void DrawTestEditor::reportEdit(int index) {
    if (editListener_ == nullptr) {
        return;
    }
    bool& open = gestureOpen_[static_cast<std::size_t>(index)];
    if (!open) {
        open = true;
        editListener_->beginEdit(index);
    }
    editListener_->valueEdited(index, synth_.getParameter(index));
    if (getFrame() == nullptr || !getFrame()->pointerHeld()) {
        endGestures();
    }
}

void DrawTestEditor::endGestures() {
    for (std::size_t index = 0; index < gestureOpen_.size(); ++index) {
        if (std::exchange(gestureOpen_[index], false) && editListener_ != nullptr) {
            editListener_->endEdit(static_cast<int>(index));
        }
    }
}

} // namespace Korvatune
