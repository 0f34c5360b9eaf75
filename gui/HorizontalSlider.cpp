#include "gui/HorizontalSlider.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Korvatune::Gui {

namespace {

constexpr float kFineFactor = 0.1f;

} // namespace

HorizontalSlider::HorizontalSlider(Rect rect, CControlListener* listener, int tag,
                                   SliderTravel travel, std::shared_ptr<const Bitmap> handle,
                                   std::shared_ptr<const Bitmap> track)
    : Control(rect, listener, tag), travel_(travel), handle_(std::move(handle)),
      track_(std::move(track)) {}

int HorizontalSlider::handleLeft() const {
    const int distance = travel_.handleLeftAtMaximum - travel_.handleLeftAtMinimum;
    return travel_.handleLeftAtMinimum +
           static_cast<int>(std::lround(normalizedValue() * static_cast<float>(distance)));
}

Rect HorizontalSlider::handleRect() const {
    const int width = handle_ ? handle_->width() : 0;
    const int height = handle_ ? handle_->height() : 0;
    return Rect::fromSize({handleLeft(), rect().top + travel_.handleTop}, width, height);
}

void HorizontalSlider::draw(DrawContext& context) {
    drawBackground(context);
    if (track_) {
        context.drawBitmap(*track_, rect());
    }
    if (handle_) {
        context.drawBitmap(*handle_, handleRect());
    }
}

View* HorizontalSlider::mouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left || !handleRect().contains(event.where)) {
        return nullptr;
    }
    dragging_ = !(event.clickCount == 2 && defaultValue());
    if (!dragging_) {
        changeValueByUser(*defaultValue());
        return this;
    }
    anchorDrag(event.where.x);
    return this;
}

void HorizontalSlider::anchorDrag(int x) {
    anchorX_ = x;
    lastX_ = x;
    normalizedAtAnchor_ = normalizedValue();
}

void HorizontalSlider::mouseMoved(const MouseEvent& event) {
    const int distance = travel_.handleLeftAtMaximum - travel_.handleLeftAtMinimum;
    if (!dragging_ || distance == 0) {
        return;
    }
    if (event.modifiers.shift) {
        const float moved =
            static_cast<float>(event.where.x - lastX_) / static_cast<float>(distance);
        changeNormalizedValueByUser(normalizedValue() + moved * kFineFactor);
        anchorDrag(event.where.x);
        return;
    }
    changeNormalizedValueByUser(normalizedAtAnchor_ + static_cast<float>(event.where.x - anchorX_) /
                                                          static_cast<float>(distance));
    lastX_ = event.where.x;
}

bool HorizontalSlider::mouseWheel(const MouseEvent& event, int notches) {
    return stepByWheel(event, notches);
}

} // namespace Korvatune::Gui
