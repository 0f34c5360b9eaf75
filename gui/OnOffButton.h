#pragma once

#include "gui/Control.h"

#include <memory>

namespace Korvatune::Gui {

// A two-state button: a press flips it between 0 (off) and 1 (on). Its image holds the off
// state above the on state, each as high as the button. With a wheel step set, a notch up
// switches it on and a notch down off.
class OnOffButton : public Control {
public:
    OnOffButton(Rect rect, CControlListener* listener, int tag,
                std::shared_ptr<const Bitmap> image);

    bool isOn() const { return value() > 0.5f; }

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    bool mouseWheel(const MouseEvent& event, int notches) override;

private:
    std::shared_ptr<const Bitmap> image_;
};

} // namespace Korvatune::Gui
