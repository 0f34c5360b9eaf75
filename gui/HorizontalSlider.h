#pragma once

#include "gui/Control.h"

#include <memory>

namespace Korvatune::Gui {

// Where a slider's handle goes: its left edge travels between two x positions (in the parent's
// coordinates, like the slider's rectangle), its top lies handleTop pixels below the slider's.
struct SliderTravel {
    int handleLeftAtMinimum = 0;
    int handleLeftAtMaximum = 0;
    int handleTop = 0;
};

// A handle image over a track image. The handle moves only when it is dragged: a press beside
// it changes nothing. With Shift held the drag moves it ten times finer; a double-click on it
// restores the default value, when there is one.
class HorizontalSlider : public Control {
public:
    HorizontalSlider(Rect rect, CControlListener* listener, int tag, SliderTravel travel,
                     std::shared_ptr<const Bitmap> handle, std::shared_ptr<const Bitmap> track);

    Rect handleRect() const;

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    void mouseMoved(const MouseEvent& event) override;
    bool mouseWheel(const MouseEvent& event, int notches) override;

private:
    int handleLeft() const;
    void anchorDrag(int x);

    SliderTravel travel_;
    std::shared_ptr<const Bitmap> handle_;
    std::shared_ptr<const Bitmap> track_;
    // A drag moves the value from where it stood at the anchor, so that the handle keeps its
    // place under the pointer until Shift is used.
    int anchorX_ = 0;
    float normalizedAtAnchor_ = 0.0f;
    int lastX_ = 0;
    bool dragging_ = false;
};

} // namespace Korvatune::Gui
