#include "editor/AEffGUIEditor.h"

#include <cstdint>

namespace Korvatune {

AEffGUIEditor::AEffGUIEditor(int width, int height) {
    rect_.right = static_cast<std::int16_t>(width);
    rect_.bottom = static_cast<std::int16_t>(height);
}

AEffGUIEditor::~AEffGUIEditor() = default;

bool AEffGUIEditor::getRect(ERect** rect) {
    if (rect == nullptr) {
        return false;
    }
    *rect = &rect_;
    return true;
}

bool AEffGUIEditor::open(void* parentWindow) {
    close();
    if (parentWindow == nullptr) {
        return false;
    }
    createFrame();
    window_ = Gui::openPlatformWindow(*frame_, parentWindow, [this] { idle(); });
    if (!window_) {
        close();
        return false;
    }
    return true;
}

void AEffGUIEditor::openOffscreen() {
    close();
    createFrame();
}

void AEffGUIEditor::createFrame() {
    frame_ = std::make_unique<Gui::Frame>(rect_.right - rect_.left, rect_.bottom - rect_.top);
    frame_->setKnobMode(knobMode_);
    buildViews(*frame_);
}

void AEffGUIEditor::close() {
    window_.reset();
    frame_.reset();
}

void AEffGUIEditor::idle() {
    if (window_) {
        window_->idle();
    }
}

bool AEffGUIEditor::onKeyDown(int, int, int) {
    return false;
}

bool AEffGUIEditor::onKeyUp(int, int, int) {
    return false;
}

void AEffGUIEditor::setKnobMode(int mode) {
    const std::optional<Gui::KnobMode> known = Gui::knobModeFromNumber(mode);
    if (!known) {
        return;
    }
    knobMode_ = *known;
    if (frame_) {
        frame_->setKnobMode(knobMode_);
    }
}

} // namespace Korvatune
