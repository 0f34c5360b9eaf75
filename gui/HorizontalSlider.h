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
// it changes nothing.
class HorizontalSlider : public Control {
public:
    HorizontalSlider(Rect rect, CControlListener* listener, int tag, SliderTravel travel,
                     std::shared_ptr<const Bitmap> handle, std::shared_ptr<const Bitmap> track);

    Rect handleRect() const;

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    void mouseMoved(const MouseEvent& event) override;

private:
    int handleLeft() const;

    SliderTravel travel_;
    std::shared_ptr<const Bitmap> handle_;
    std::shared_ptr<const Bitmap> track_;
    int grabOffset_ = 0;
};

} // namespace Korvatune::Gui
