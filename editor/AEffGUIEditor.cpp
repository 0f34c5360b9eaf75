#include "editor/AEffGUIEditor.h"

#include <cstdint>
#include <utility>

namespace Korvatune {

AEffGUIEditor::AEffGUIEditor(int width, int height) : designWidth_(width), designHeight_(height) {
    setScale(scale_);
}

AEffGUIEditor::~AEffGUIEditor() = default;

void AEffGUIEditor::setScale(Gui::Scale scale) {
    scale_ = scale;
    rect_ = {};
    rect_.right = static_cast<std::int16_t>(scale.pixels(designWidth_));
    rect_.bottom = static_cast<std::int16_t>(scale.pixels(designHeight_));
}

bool AEffGUIEditor::getRect(ERect** rect) {
    if (rect == nullptr) {
        return false;
    }
    if (!isOpen()) {
        setScale(scaleForOpening(nullptr));
        announced_ = scale_;
    }
    *rect = &rect_;
    return true;
}

// Where the host's window lies decides the size too; when that differs from the size the host
// was last told, it is asked for room, and one that refuses gets the size it was told.
bool AEffGUIEditor::open(void* parentWindow) {
    close();
    if (parentWindow == nullptr) {
        return false;
    }
    const Gui::Scale wanted = scaleForOpening(parentWindow);
    const Gui::Scale told = announced_.value_or(wanted);
    setScale(wanted == told || hostMakesRoomFor(wanted) ? wanted : told);
    frame_ = makeFrame();
    window_ = Gui::openPlatformWindow(*frame_, parentWindow, [this] { idle(); });
    if (!window_) {
        close();
        return false;
    }
    return true;
}

void AEffGUIEditor::openOffscreen(Gui::Scale scale) {
    close();
    setScale(scale);
    frame_ = makeFrame();
}

std::unique_ptr<Gui::Frame> AEffGUIEditor::makeFrame() {
    auto frame =
        std::make_unique<Gui::Frame>(rect_.right - rect_.left, rect_.bottom - rect_.top, scale_);
    frame->setKnobMode(knobMode_);
    buildViews(*frame);
    return frame;
}

// The host keeps the size the window had when it reopens without asking again.
void AEffGUIEditor::close() {
    if (frame_) {
        announced_ = scale_;
    }
    window_.reset();
    frame_.reset();
    requested_.reset();
}

void AEffGUIEditor::idle() {
    if (requested_) {
        applyScale(*std::exchange(requested_, std::nullopt));
    }
    if (window_) {
        window_->idle();
    }
}

void AEffGUIEditor::requestScale(Gui::Scale scale) {
    if (isOpen()) {
        requested_ = scale;
    }
}

void AEffGUIEditor::setHostResize(std::function<bool(int width, int height)> resize) {
    hostResize_ = std::move(resize);
}

// Hosts may ask for the rectangle while they make room, so it shows the new size meanwhile.
bool AEffGUIEditor::hostMakesRoomFor(Gui::Scale scale) {
    const Gui::Scale before = scale_;
    setScale(scale);
    const bool accepted =
        hostResize_ && hostResize_(scale.pixels(designWidth_), scale.pixels(designHeight_));
    setScale(before);
    return accepted;
}

// The new frame is complete before the window shows it, and the old one goes only after.
void AEffGUIEditor::applyScale(Gui::Scale scale) {
    if (!isOpen() || scale == scale_ || (window_ && !hostMakesRoomFor(scale))) {
        return;
    }
    setScale(scale);
    std::unique_ptr<Gui::Frame> frame = makeFrame();
    if (window_) {
        window_->showFrame(*frame);
    }
    frame_ = std::move(frame);
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
