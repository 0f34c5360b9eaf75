#pragma once

#include "gui/CControlListener.h"
#include "gui/View.h"

namespace Korvatune::Gui {

// A view with a value the user can change. The value stays within the control's range, [0, 1]
// unless set otherwise; a change redraws the control.
class Control : public View {
public:
    Control(Rect rect, CControlListener* listener, int tag);

    int tag() const { return tag_; }
    CControlListener* listener() const { return listener_; }
    void setListener(CControlListener* listener) { listener_ = listener; }

    float value() const { return value_; }
    // For changes that come from the program: clamps, redraws, tells no listener. A NaN is
    // ignored.
    void setValue(float value);

    float minimum() const { return minimum_; }
    float maximum() const { return maximum_; }
    // Swapped when given the wrong way round; the value is clamped into the new range.
    void setRange(float minimum, float maximum);
    // The value's position in the range, from 0 to 1.
    float normalizedValue() const;

protected:
    // For changes the user makes: sets the value and tells the listener when it changed.
    void changeValueByUser(float value);
    void changeNormalizedValueByUser(float normalized);

private:
    CControlListener* listener_;
    int tag_;
    float value_ = 0.0f;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
};

} // namespace Korvatune::Gui
