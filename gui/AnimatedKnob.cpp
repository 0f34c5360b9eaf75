#include "gui/AnimatedKnob.h"

#include "gui/Frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace Korvatune::Gui {

namespace {

constexpr double kPi = std::numbers::pi;

// Brings an angle difference into (-pi, pi], so turning across straight down is no jump.
double wrapAngle(double angle) {
    while (angle > kPi) {
        angle -= 2.0 * kPi;
    }
    while (angle <= -kPi) {
        angle += 2.0 * kPi;
    }
    return angle;
}

} // namespace

AnimatedKnob::AnimatedKnob(Rect rect, CControlListener* listener, int tag,
                           std::shared_ptr<const FilmStrip> filmStrip, int frameCount)
    : Control(rect, listener, tag), filmStrip_(std::move(filmStrip)),
      frameCount_(std::max(frameCount, 1)) {}

int AnimatedKnob::currentFrame() const {
    const double position = static_cast<double>(normalizedValue()) * (frameCount_ - 1);
    return std::clamp(static_cast<int>(std::floor(position)), 0, frameCount_ - 1);
}

void AnimatedKnob::draw(DrawContext& context) {
    drawBackground(context);
    if (filmStrip_) {
        filmStrip_->drawFrame(context, currentFrame(), rect());
    }
}

View* AnimatedKnob::mouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left) {
        return nullptr;
    }
    const Frame* owner = frame();
    dragMode_ = owner != nullptr ? owner->knobMode() : KnobMode::Circular;
    const int percent = owner != nullptr ? owner->scale().percent() : 100;
    linearDragPixels_ = static_cast<float>(kLinearDragPixels * percent) / 100.0f;
    dragStart_ = event.where;
    normalizedAtDragStart_ = normalizedValue();
    lastAngle_ = angleTo(event.where);
    if (dragMode_ == KnobMode::Circular) {
        followAngle(lastAngle_);
    }
    return this;
}

void AnimatedKnob::mouseMoved(const MouseEvent& event) {
    const double angle = angleTo(event.where);
    switch (dragMode_) {
    case KnobMode::Circular:
        followAngle(angle);
        break;
    case KnobMode::RelativeCircular:
        changeNormalizedValueByUser(
            normalizedValue() +
            static_cast<float>(wrapAngle(angle - lastAngle_) / (2.0 * kSweepEnd)));
        break;
    case KnobMode::Linear:
        changeNormalizedValueByUser(normalizedAtDragStart_ +
                                    static_cast<float>(dragStart_.y - event.where.y) /
                                        linearDragPixels_);
        break;
    }
    lastAngle_ = angle;
}

// Zero points straight up, positive turns clockwise (screen y grows downwards).
double AnimatedKnob::angleTo(Point where) const {
    const double dx = where.x - (rect().left + rect().width() / 2.0);
    const double dy = where.y - (rect().top + rect().height() / 2.0);
    return std::atan2(dx, -dy);
}

// In the gap below the knob the value goes to the end of the sweep it is nearer to, so
// crossing the gap never flips it from one end to the other.
void AnimatedKnob::followAngle(double angle) {
    if (std::abs(angle) > kSweepEnd) {
        changeNormalizedValueByUser(normalizedValue() < 0.5f ? 0.0f : 1.0f);
        return;
    }
    changeNormalizedValueByUser(static_cast<float>((angle + kSweepEnd) / (2.0 * kSweepEnd)));
}

} // namespace Korvatune::Gui
