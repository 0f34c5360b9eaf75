#include "gui/OnOffButton.h"

#include <utility>

namespace Korvatune::Gui {

OnOffButton::OnOffButton(Rect rect, CControlListener* listener, int tag,
                         std::shared_ptr<const Bitmap> image)
    : Control(rect, listener, tag), image_(std::move(image)) {}

void OnOffButton::draw(DrawContext& context) {
    drawBackground(context);
    if (image_) {
        context.drawBitmap(*image_, rect(), {0, isOn() ? rect().height() : 0});
    }
}

View* OnOffButton::mouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left) {
        return nullptr;
    }
    changeNormalizedValueByUser(isOn() ? 0.0f : 1.0f);
    return this;
}

bool OnOffButton::mouseWheel(const MouseEvent&, int notches) {
    if (wheelStep() <= 0.0f) {
        return false;
    }
    if (notches != 0) {
        changeNormalizedValueByUser(notches > 0 ? 1.0f : 0.0f, ChangeSource::Wheel);
    }
    return true;
}

} // namespace Korvatune::Gui
