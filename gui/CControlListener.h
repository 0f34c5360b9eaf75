#pragma once

namespace Korvatune::Gui {

class Control;

// Told of every value change a user makes on a control; the control's tag says which one.
class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(Control& control) = 0;
};

} // namespace Korvatune::Gui
