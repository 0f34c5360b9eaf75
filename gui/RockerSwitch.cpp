#include "gui/RockerSwitch.h"

#include <cstdlib>
#include <utility>

namespace Korvatune::Gui {

RockerSwitch::RockerSwitch(Rect rect, CControlListener* listener, int tag,
                           std::shared_ptr<const Bitmap> image)
    : Control(rect, listener, tag), image_(std::move(image)) {
    setRange(-1.0f, 1.0f);
}

int RockerSwitch::currentFrame() const {
    if (value() < -0.5f) {
        return 0;
    }
    return value() > 0.5f ? 2 : 1;
}

void RockerSwitch::draw(DrawContext& context) {
    drawBackground(context);
    if (image_) {
        context.drawBitmap(*image_, rect(), {currentFrame() * rect().width(), 0});
    }
}

View* RockerSwitch::mouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left) {
        return nullptr;
    }
    const bool upperHalf = 2 * (event.where.y - rect().top) < rect().height();
    changeValueByUser(upperHalf ? -1.0f : 1.0f);
    return this;
}

void RockerSwitch::mouseUp(const MouseEvent&) {
    changeValueByUser(0.0f);
}

bool RockerSwitch::mouseWheel(const MouseEvent&, int notches) {
    if (wheelStep() <= 0.0f) {
        return false;
    }
    const float pressed = notches > 0 ? -1.0f : 1.0f;
    for (int notch = 0; notch < std::abs(notches); ++notch) {
        changeValueByUser(pressed, ChangeSource::Wheel);
        changeValueByUser(0.0f, ChangeSource::Wheel);
    }
    return true;
}

} // namespace Korvatune::Gui
