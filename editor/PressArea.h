#pragma once

#include "gui/Control.h"

namespace Korvatune {

// An invisible push button over something drawn by other views, such as a text that opens a
// list when clicked. A press sets the value to 1; the page springs it back.
class PressArea : public Gui::Control {
public:
    using Control::Control;

    void draw(Gui::DrawContext&) override {}
    View* mouseDown(const Gui::MouseEvent& event) override {
        if (event.button != Gui::MouseButton::Left) {
            return nullptr;
        }
        changeValueByUser(1.0f);
        return this;
    }
};

} // namespace Korvatune
