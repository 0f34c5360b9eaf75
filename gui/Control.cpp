#include "gui/Control.h"

#include <algorithm>
#include <cmath>

namespace Korvatune::Gui {

Control::Control(Rect rect, CControlListener* listener, int tag)
    : View(rect), listener_(listener), tag_(tag) {
    setTransparent(true);
}

void Control::setValue(float value) {
    if (std::isnan(value)) {
        return;
    }
    const float clamped = std::clamp(value, minimum_, maximum_);
    if (clamped != value_) {
        value_ = clamped;
        setDirty();
    }
}

void Control::setRange(float minimum, float maximum) {
    if (std::isnan(minimum) || std::isnan(maximum)) {
        return;
    }
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, minimum_, maximum_);
    setDirty();
}

float Control::normalizedValue() const {
    const float span = maximum_ - minimum_;
    return span > 0.0f ? (value_ - minimum_) / span : 0.0f;
}

void Control::changeValueByUser(float value) {
    const float before = value_;
    setValue(value);
    if (value_ != before && listener_ != nullptr) {
        listener_->valueChanged(*this);
    }
}

void Control::changeNormalizedValueByUser(float normalized) {
    changeValueByUser(minimum_ + std::clamp(normalized, 0.0f, 1.0f) * (maximum_ - minimum_));
}

} // namespace Korvatune::Gui
