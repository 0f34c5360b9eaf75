#pragma once

#include "gui/Control.h"

#include <memory>

namespace Korvatune::Gui {

// A vertical rocker with the values -1, 0 and +1: pressing the upper half gives -1, the lower
// half +1, releasing gives 0. Its image holds three frames side by side, each as wide as the
// rocker, for -1, 0 and +1 from left to right.
class RockerSwitch : public Control {
public:
    RockerSwitch(Rect rect, CControlListener* listener, int tag,
                 std::shared_ptr<const Bitmap> image);

    int currentFrame() const;

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    void mouseUp(const MouseEvent& event) override;

private:
    std::shared_ptr<const Bitmap> image_;
};

} // namespace Korvatune::Gui
