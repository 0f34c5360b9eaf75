#include "gui/Frame.h"

#include "gui/Control.h"

#include <cstdlib>
#include <utility>

namespace Korvatune::Gui {

Frame::Dispatch::Dispatch(Frame& frame) : frame_(frame) {
    ++frame_.dispatchDepth_;
}

Frame::Dispatch::~Dispatch() {
    if (--frame_.dispatchDepth_ == 0) {
        std::vector<std::unique_ptr<View>> closed = std::move(frame_.closedPopups_);
        frame_.closedPopups_.clear();
    }
}

Frame::Frame(int width, int height, Scale scale)
    : ViewContainer({0, 0, width, height}), frameBuffer_(width, height, kBlack), scale_(scale) {
    invalidateAll();
}

std::vector<Rect> Frame::redrawDirty() {
    std::vector<Rect> areas = dirty_.take();
    for (const Rect& area : areas) {
        DrawContext context(frameBuffer_, area, scale_);
        draw(context);
    }
    markClean();
    return areas;
}

void Frame::invalidateAll() {
    dirty_.add(frameBuffer_.bounds());
}

void Frame::invalidateChildArea(Rect area) {
    dirty_.add(area.intersection(frameBuffer_.bounds()));
}

void Frame::handleMouseDown(const MouseEvent& event) {
    const Dispatch dispatch(*this);
    if (capture_ != nullptr) {
        return;
    }
    const MouseEvent press = countClicks(event);
    if (popup_ != nullptr) {
        pressPopup(press);
        return;
    }
    updateHover(press.where);
    if (offerContextMenu(press)) {
        return;
    }
    pointerHeld_ = true;
    takePress(mouseDown(press));
}

MouseEvent Frame::countClicks(const MouseEvent& event) {
    MouseEvent press = event;
    const std::uint32_t elapsed = event.timeMs - lastPress_.timeMs;
    const bool repeats = hasLastPress_ && lastPress_.clickCount == 1 &&
                         lastPress_.button == event.button && elapsed <= kDoubleClickMs &&
                         std::abs(event.where.x - lastPress_.where.x) <= kDoubleClickDistance &&
                         std::abs(event.where.y - lastPress_.where.y) <= kDoubleClickDistance;
    press.clickCount = repeats ? 2 : 1;
    lastPress_ = press;
    hasLastPress_ = true;
    return press;
}

// A press dragged away and brought back is no first click of a double-click.
void Frame::forgetPressThatBecameADrag(Point where) {
    if (pointerHeld_ && (std::abs(where.x - lastPress_.where.x) > kDoubleClickDistance ||
                         std::abs(where.y - lastPress_.where.y) > kDoubleClickDistance)) {
        hasLastPress_ = false;
    }
}

bool Frame::offerContextMenu(const MouseEvent& event) {
    if (event.button != MouseButton::Right || !contextMenuListener_) {
        return false;
    }
    Control* control = controlAt(event.where);
    if (control == nullptr) {
        return false;
    }
    // Copied, so that the listener may replace itself.
    const auto listener = contextMenuListener_;
    listener(*control, event.where);
    return true;
}

void Frame::pressPopup(const MouseEvent& event) {
    View* open = popup_;
    if (!open->rect().contains(event.where)) {
        open->closedByOutsidePress();
        if (popup_ == open) {
            closePopup();
        }
        return;
    }
    pointerHeld_ = true;
    takePress(open->mouseDown(event));
}

// A view that left the frame while handling the press, a closed pop-up say, takes no drag.
void Frame::takePress(View* taker) {
    capture_ = taker != nullptr && taker->isInside(*this) ? taker : nullptr;
    if (capture_ == nullptr) {
        releasePointer();
    }
}

void Frame::handleMouseMove(const MouseEvent& event) {
    const Dispatch dispatch(*this);
    forgetPressThatBecameADrag(event.where);
    if (capture_ != nullptr) {
        capture_->mouseMoved(toCaptureSpace(event));
        return;
    }
    // A pop-up follows the pointer to highlight what lies under it.
    if (popup_ != nullptr) {
        popup_->mouseMoved(event);
    }
    updateHover(event.where);
}

void Frame::handleMouseUp(const MouseEvent& event) {
    const Dispatch dispatch(*this);
    if (capture_ != nullptr) {
        const MouseEvent release = toCaptureSpace(event);
        View* releasing = std::exchange(capture_, nullptr);
        releasing->mouseUp(release);
    }
    if (pointerHeld_) {
        releasePointer();
    }
    updateHover(event.where);
}

void Frame::handleMouseWheel(const MouseEvent& event, int notches) {
    const Dispatch dispatch(*this);
    if (notches == 0 || !rect().contains(event.where)) {
        return;
    }
    const auto offer = [&](View& view, Point where) {
        MouseEvent local = event;
        local.where = where;
        return view.mouseWheel(local, notches);
    };
    if (popup_ == nullptr) {
        findViewAt(event.where, offer);
    } else if (auto* container = dynamic_cast<ViewContainer*>(popup_)) {
        container->findViewAt(event.where, offer);
    } else if (popup_->rect().contains(event.where)) {
        offer(*popup_, event.where);
    }
}

void Frame::handlePointerLeft() {
    if (capture_ == nullptr) {
        setHovered(nullptr);
    }
}

void Frame::setPointerReleaseListener(std::function<void()> listener) {
    pointerReleaseListener_ = std::move(listener);
}

void Frame::setContextMenuListener(std::function<void(Control&, Point)> listener) {
    contextMenuListener_ = std::move(listener);
}

void Frame::setHoverListener(std::function<void(Control*)> listener) {
    hoverListener_ = std::move(listener);
}

void Frame::setKeyListener(std::function<bool(const KeyEvent&)> listener) {
    keyListener_ = std::move(listener);
}

void Frame::releasePointer() {
    pointerHeld_ = false;
    if (pointerReleaseListener_) {
        pointerReleaseListener_();
    }
}

// During a drag the dragged control stays the hovered one; under a pop-up no control is.
void Frame::updateHover(Point where) {
    if (capture_ != nullptr) {
        return;
    }
    const bool overControls = popup_ == nullptr && rect().contains(where);
    setHovered(overControls ? controlAt(where) : nullptr);
}

void Frame::setHovered(Control* control) {
    if (control == hovered_) {
        return;
    }
    hovered_ = control;
    if (hoverListener_) {
        hoverListener_(control);
    }
}

bool Frame::handleKey(const KeyEvent& event) {
    const Dispatch dispatch(*this);
    if (keyFocus_ != nullptr && keyFocus_->keyDown(event)) {
        return true;
    }
    return keyListener_ && keyListener_(event);
}

void Frame::openPopup(std::unique_ptr<View> popup) {
    if (!popup) {
        return;
    }
    const Dispatch dispatch(*this);
    closePopup();
    popup_ = addView(std::move(popup));
    keyFocus_ = popup_;
    setHovered(nullptr);
    popup_->openedAsPopup();
}

void Frame::closePopup() {
    if (popup_ == nullptr) {
        return;
    }
    std::unique_ptr<View> closed = removeView(*popup_);
    popup_ = nullptr;
    if (dispatchDepth_ > 0) {
        closedPopups_.push_back(std::move(closed));
    }
}

void Frame::forgetView(const View& view) {
    if (capture_ != nullptr && capture_->isInside(view)) {
        capture_ = nullptr;
    }
    if (keyFocus_ != nullptr && keyFocus_->isInside(view)) {
        keyFocus_ = nullptr;
    }
    if (popup_ != nullptr && popup_->isInside(view)) {
        popup_ = nullptr;
    }
    if (hovered_ != nullptr && hovered_->isInside(view)) {
        setHovered(nullptr);
    }
}

MouseEvent Frame::toCaptureSpace(const MouseEvent& event) const {
    MouseEvent local = event;
    local.where = event.where - capture_->parentOrigin();
    return local;
}

} // namespace Korvatune::Gui
