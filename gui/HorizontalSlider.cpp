#include "gui/HorizontalSlider.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Korvatune::Gui {

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
    grabOffset_ = event.where.x - handleLeft();
    return this;
}

void HorizontalSlider::mouseMoved(const MouseEvent& event) {
    const int distance = travel_.handleLeftAtMaximum - travel_.handleLeftAtMinimum;
    if (distance == 0) {
        return;
    }
    const int left = event.where.x - grabOffset_;
    changeNormalizedValueByUser(static_cast<float>(left - travel_.handleLeftAtMinimum) /
                                static_cast<float>(distance));
}

} // namespace Korvatune::Gui
