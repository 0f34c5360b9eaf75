#pragma once

#include "gui/Control.h"

#include <memory>

namespace Korvatune::Gui {

// A vertical rocker with the values -1, 0 and +1: pressing the upper half gives -1, the lower
// half +1, releasing gives 0. Its image holds three frames side by side, each as wide as the
// rocker, for -1, 0 and +1 from left to right. With a wheel step set, each notch up acts as a
// press and release of the upper half, each notch down as one of the lower half.
class RockerSwitch : public Control {
public:
    RockerSwitch(Rect rect, CControlListener* listener, int tag,
                 std::shared_ptr<const Bitmap> image);

    int currentFrame() const;

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    void mouseUp(const MouseEvent& event) override;
    bool mouseWheel(const MouseEvent& event, int notches) override;

private:
    std::shared_ptr<const Bitmap> image_;
};

} // namespace Korvatune::Gui
