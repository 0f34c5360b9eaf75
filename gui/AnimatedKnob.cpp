#include "gui/AnimatedKnob.h"

#include "gui/Frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace Korvatune::Gui {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFineFactor = 0.1;

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
    // The press is still taken, so the views below it do not see it, but it drags nothing.
    dragging_ = !(event.clickCount == 2 && defaultValue());
    if (!dragging_) {
        changeValueByUser(*defaultValue());
        return this;
    }
    const Frame* owner = frame();
    dragMode_ = owner != nullptr ? owner->knobMode() : KnobMode::Circular;
    const int percent = owner != nullptr ? owner->scale().percent() : 100;
    linearDragPixels_ = static_cast<float>(kLinearDragPixels * percent) / 100.0f;
    anchorLinearDrag(event.where);
    lastPoint_ = event.where;
    lastAngle_ = angleTo(event.where);
    followsPointerAngle_ = dragMode_ == KnobMode::Circular && !event.modifiers.shift;
    if (followsPointerAngle_) {
        followAngle(lastAngle_);
    }
    return this;
}

void AnimatedKnob::mouseMoved(const MouseEvent& event) {
    if (!dragging_) {
        return;
    }
    const double angle = angleTo(event.where);
    if (event.modifiers.shift) {
        moveFine(event, angle);
    } else {
        moveCoarse(event, angle);
    }
    lastAngle_ = angle;
    lastPoint_ = event.where;
}

void AnimatedKnob::moveCoarse(const MouseEvent& event, double angle) {
    if (dragMode_ == KnobMode::Linear) {
        changeNormalizedValueByUser(normalizedAtDragStart_ +
                                    static_cast<float>(dragStart_.y - event.where.y) /
                                        linearDragPixels_);
    } else if (followsPointerAngle_) {
        followAngle(angle);
    } else {
        changeNormalizedValueByUser(
            normalizedValue() +
            static_cast<float>(wrapAngle(angle - lastAngle_) / (2.0 * kSweepEnd)));
    }
}

void AnimatedKnob::moveFine(const MouseEvent& event, double angle) {
    const double coarseChange =
        dragMode_ == KnobMode::Linear
            ? static_cast<double>(lastPoint_.y - event.where.y) / linearDragPixels_
            : wrapAngle(angle - lastAngle_) / (2.0 * kSweepEnd);
    changeNormalizedValueByUser(normalizedValue() + static_cast<float>(coarseChange * kFineFactor));
    followsPointerAngle_ = false;
    // A later coarse linear move goes on from here instead of from where the drag began.
    anchorLinearDrag(event.where);
}

void AnimatedKnob::anchorLinearDrag(Point where) {
    dragStart_ = where;
    normalizedAtDragStart_ = normalizedValue();
}

bool AnimatedKnob::mouseWheel(const MouseEvent& event, int notches) {
    return stepByWheel(event, notches);
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
