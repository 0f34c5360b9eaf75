#include "editor/DrawTestEditor.h"

#include "editor/EditorPalette.h"
#include "editor/MenuEntries.h"
#include "editor/TypedValue.h"
#include "gui/PopupMenu.h"
#include "gui/TextField.h"
#include "plugin/Instrument.h"
#include "plugin/VstXSynth.h"

namespace Korvatune {

namespace {

using Gui::Rect;

// The line under the page, where the footer's left text was.
constexpr Rect kReadoutArea{49, 435, 305, 449};
constexpr Rect kValueFieldSize{0, 0, 110, 16};

// One notch of the wheel moves a knob or slider by a hundredth of its range.
constexpr float kWheelStep = 0.01f;

enum ContextChoice { kChooseDefault = 1, kChooseTypeValue, kChooseUndo, kChooseRedo };

bool isParameterTag(int tag) {
    return tag >= 0 && tag < kNumProgramKeys;
}

} // namespace

void DrawTestEditor::configureControls(Gui::Frame& frame) {
    for (int index = 0; index < kNumProgramKeys; ++index) {
        if (Gui::Control* control = synthPage_->control(index)) {
            control->setWheelStep(kWheelStep);
            control->setDefaultValue(Instrument::defaultValue(index));
        }
    }
    auto readout = std::make_unique<Gui::TextLabel>(
        frame.scale().rect(kReadoutArea), readoutText_,
        Gui::TextStyle{kReadoutText, Gui::TextAlign::Left, std::nullopt});
    readout->setTransparent(true);
    readout_ = frame.addView(std::move(readout));
    frame.setHoverListener([this](Gui::Control* control) { hoverChanged(control); });
    frame.setContextMenuListener(
        [this](Gui::Control& control, Gui::Point where) { openContextMenu(control, where); });
    frame.setKeyListener([this](const Gui::KeyEvent& key) { return keyPressed(key); });
}

std::string DrawTestEditor::readoutText() const {
    return readoutText_;
}

void DrawTestEditor::showReadout(const std::string& text) {
    readoutText_ = text;
    if (readout_ != nullptr) {
        readout_->setText(text);
    }
}

// The name and the text the host shows, with its unit.
void DrawTestEditor::showParameterReadout(int index) {
    char name[64] = {};
    char display[64] = {};
    char unit[64] = {};
    synth_.getParameterName(index, name);
    synth_.getParameterDisplay(index, display);
    synth_.getParameterLabel(index, unit);
    std::string text = std::string(name) + ": " + display;
    if (unit[0] != '\0') {
        text += std::string(" ") + unit;
    }
    showReadout(text);
}

void DrawTestEditor::hoverChanged(Gui::Control* control) {
    hovered_ = control;
    if (control != nullptr && isParameterTag(control->tag())) {
        showParameterReadout(control->tag());
    } else {
        showReadout({});
    }
}

bool DrawTestEditor::keyPressed(const Gui::KeyEvent& key) {
    if (key.key != Gui::Key::Character || !key.modifiers.control) {
        return false;
    }
    const char32_t letter = key.character | 0x20;
    if (letter == U'z') {
        return key.modifiers.shift ? redo() : undo();
    }
    if (letter == U'y') {
        return redo();
    }
    return false;
}

void DrawTestEditor::openContextMenu(Gui::Control& control, Gui::Point where) {
    Gui::Frame* frame = getFrame();
    const int tag = control.tag();
    if (frame == nullptr || !isParameterTag(tag)) {
        return;
    }
    showParameterReadout(tag);
    std::vector<Gui::MenuEntry> entries{
        menuItem("Default", kChooseDefault),
        menuItem("Type a value...", kChooseTypeValue),
        menuSeparator(),
        menuItem("Undo", kChooseUndo, history_.canUndo()),
        menuItem("Redo", kChooseRedo, history_.canRedo()),
    };
    frame->openPopup(std::make_unique<Gui::PopupMenu>(
        where, std::move(entries), kEditorMenuStyle,
        [this, tag, where](int choice) { contextMenuChosen(tag, choice, where); }));
}

void DrawTestEditor::contextMenuChosen(int tag, int choice, Gui::Point where) {
    switch (choice) {
    case kChooseDefault:
        setParameterAsStep(tag, Instrument::defaultValue(tag));
        break;
    case kChooseTypeValue:
        openValueField(tag, where);
        break;
    case kChooseUndo:
        undo();
        break;
    case kChooseRedo:
        redo();
        break;
    default:
        break;
    }
}

void DrawTestEditor::openValueField(int index, Gui::Point where) {
    Gui::Frame* frame = getFrame();
    if (frame == nullptr) {
        return;
    }
    char display[64] = {};
    char unit[64] = {};
    synth_.getParameterDisplay(index, display);
    synth_.getParameterLabel(index, unit);
    std::string shown = display;
    if (unit[0] != '\0') {
        shown += std::string(" ") + unit;
    }
    const Rect size = frame->scale().rect(kValueFieldSize);
    Rect area = Rect::fromSize(where, size.width(), size.height());
    area = area.offsetBy({std::min(0, frame->rect().right - area.right),
                          std::min(0, frame->rect().bottom - area.bottom)});
    frame->openPopup(std::make_unique<Gui::TextField>(
        area, shown, kEditorFieldStyle,
        [this, index](const std::string& text) {
            applyTypedValue(index, text);
            if (Gui::Frame* owner = getFrame()) {
                owner->closePopup();
            }
        },
        [this] {
            if (Gui::Frame* owner = getFrame()) {
                owner->closePopup();
            }
        }));
}

void DrawTestEditor::applyTypedValue(int index, const std::string& text) {
    const std::optional<float> value = readTypedValue(parameterTextsOf(synth_, index), text);
    if (!value) {
        char name[64] = {};
        synth_.getParameterName(index, name);
        showReadout("Cannot read \"" + text + "\" for " + name);
        return;
    }
    setParameterAsStep(index, *value);
}

// A change made through a menu or a field: one step, shown at once on every control.
void DrawTestEditor::setParameterAsStep(int index, float value) {
    commitEdits(0);
    noteEditStart(index);
    setSynthParameter(index, value);
    commitEdits(0);
    refreshEverything();
    showProgramName();
    showParameterReadout(index);
}

} // namespace Korvatune
