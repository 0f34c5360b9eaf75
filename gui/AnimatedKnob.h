#pragma once

#include "gui/Control.h"
#include "gui/FilmStrip.h"
#include "gui/KnobMode.h"

#include <memory>
#include <numbers>

namespace Korvatune::Gui {

// A knob drawn as one frame of a film strip, each frame as wide and as high as the knob, the
// first for the lowest value. The frame shown is floor(normalized value x (frame count - 1)).
// Dragging follows the frame's knob mode; a linear drag measures design pixels, so it feels the
// same at every scale. With Shift held a drag moves ten times finer, relative to the pointer's
// last position in every mode, so pressing or releasing Shift never makes the value jump. A
// double-click restores the default value, when there is one.
class AnimatedKnob : public Control {
public:
    // The knob's sweep: from kSweepEnd radians left of straight up to kSweepEnd right of it.
    static constexpr double kSweepEnd = 0.75 * std::numbers::pi;
    // Design pixels of vertical drag that cover the whole range in linear mode.
    static constexpr int kLinearDragPixels = 150;

    AnimatedKnob(Rect rect, CControlListener* listener, int tag,
                 std::shared_ptr<const FilmStrip> filmStrip, int frameCount);

    int frameCount() const { return frameCount_; }
    int currentFrame() const;

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    void mouseMoved(const MouseEvent& event) override;
    bool mouseWheel(const MouseEvent& event, int notches) override;

private:
    double angleTo(Point where) const;
    void followAngle(double angle);
    void moveCoarse(const MouseEvent& event, double angle);
    void moveFine(const MouseEvent& event, double angle);
    void anchorLinearDrag(Point where);

    std::shared_ptr<const FilmStrip> filmStrip_;
    int frameCount_;
    KnobMode dragMode_ = KnobMode::Circular;
    float linearDragPixels_ = kLinearDragPixels;
    Point dragStart_;
    float normalizedAtDragStart_ = 0.0f;
    double lastAngle_ = 0.0;
    Point lastPoint_;
    // A Circular drag stops following the pointer's angle once Shift has been used in it.
    bool followsPointerAngle_ = false;
    bool dragging_ = false;
};

} // namespace Korvatune::Gui
