#include "gui/Frame.h"

#include <utility>

namespace Korvatune::Gui {

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
    if (capture_ != nullptr) {
        return;
    }
    pointerHeld_ = true;
    capture_ = mouseDown(event);
    if (capture_ == nullptr) {
        releasePointer();
    }
}

void Frame::handleMouseMove(const MouseEvent& event) {
    if (capture_ != nullptr) {
        capture_->mouseMoved(toCaptureSpace(event));
    }
}

void Frame::handleMouseUp(const MouseEvent& event) {
    if (capture_ != nullptr) {
        const MouseEvent release = toCaptureSpace(event);
        View* releasing = std::exchange(capture_, nullptr);
        releasing->mouseUp(release);
    }
    if (pointerHeld_) {
        releasePointer();
    }
}

void Frame::setPointerReleaseListener(std::function<void()> listener) {
    pointerReleaseListener_ = std::move(listener);
}

void Frame::releasePointer() {
    pointerHeld_ = false;
    if (pointerReleaseListener_) {
        pointerReleaseListener_();
    }
}

void Frame::forgetView(const View& view) {
    if (capture_ != nullptr && capture_->isInside(view)) {
        capture_ = nullptr;
    }
}

MouseEvent Frame::toCaptureSpace(const MouseEvent& event) const {
    return {event.where - capture_->parentOrigin(), event.button};
}

} // namespace Korvatune::Gui
