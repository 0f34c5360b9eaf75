#include "gui/Control.h"

#include <algorithm>
#include <cmath>

namespace Korvatune::Gui {

namespace {

constexpr float kFineFactor = 0.1f;

} // namespace

Control::Control(Rect rect, CControlListener* listener, int tag)
    : View(rect), listener_(listener), tag_(tag) {
    setTransparent(true);
}

void Control::setValue(float value) {
    lastChangeSource_ = ChangeSource::Program;
    assignValue(value);
}

bool Control::assignValue(float value) {
    if (std::isnan(value)) {
        return false;
    }
    const float clamped = std::clamp(value, minimum_, maximum_);
    if (clamped == value_) {
        return false;
    }
    value_ = clamped;
    setDirty();
    return true;
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

void Control::setWheelStep(float normalizedPerNotch) {
    wheelStep_ = std::isfinite(normalizedPerNotch) ? std::max(normalizedPerNotch, 0.0f) : 0.0f;
}

void Control::changeValueByUser(float value, ChangeSource source) {
    if (assignValue(value)) {
        lastChangeSource_ = source;
        if (listener_ != nullptr) {
            listener_->valueChanged(*this);
        }
    }
}

void Control::changeNormalizedValueByUser(float normalized, ChangeSource source) {
    changeValueByUser(minimum_ + std::clamp(normalized, 0.0f, 1.0f) * (maximum_ - minimum_),
                      source);
}

bool Control::stepByWheel(const MouseEvent& event, int notches) {
    if (wheelStep_ <= 0.0f) {
        return false;
    }
    const float step = event.modifiers.shift ? wheelStep_ * kFineFactor : wheelStep_;
    changeNormalizedValueByUser(normalizedValue() + static_cast<float>(notches) * step,
                                ChangeSource::Wheel);
    return true;
}

} // namespace Korvatune::Gui
