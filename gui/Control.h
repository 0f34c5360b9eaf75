#pragma once

#include "gui/CControlListener.h"
#include "gui/View.h"

#include <optional>

namespace Korvatune::Gui {

// Where the latest value change came from: a press or drag, the wheel, or setValue().
enum class ChangeSource { Pointer, Wheel, Program };

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

    // The value a double-click restores, for the controls that offer it.
    std::optional<float> defaultValue() const { return defaultValue_; }
    void setDefaultValue(std::optional<float> value) { defaultValue_ = value; }

    // How far one wheel notch moves the normalised value; 0 leaves the wheel to others.
    float wheelStep() const { return wheelStep_; }
    void setWheelStep(float normalizedPerNotch);

    // Set before the listener is told, so that it can tell wheel turns from drags.
    ChangeSource lastChangeSource() const { return lastChangeSource_; }

protected:
    // For changes the user makes: sets the value and tells the listener when it changed.
    void changeValueByUser(float value, ChangeSource source = ChangeSource::Pointer);
    void changeNormalizedValueByUser(float normalized, ChangeSource source = ChangeSource::Pointer);
    // Moves the normalised value by the wheel step per notch, a tenth of it with Shift held;
    // false when the control takes no wheel.
    bool stepByWheel(const MouseEvent& event, int notches);

private:
    bool assignValue(float value);

    CControlListener* listener_;
    int tag_;
    float value_ = 0.0f;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
    std::optional<float> defaultValue_;
    float wheelStep_ = 0.0f;
    ChangeSource lastChangeSource_ = ChangeSource::Program;
};

} // namespace Korvatune::Gui
