#include "gui/AnimatedKnob.h"
#include "gui/Frame.h"
#include "gui/HorizontalSlider.h"
#include "gui/OnOffButton.h"
#include "gui/RockerSwitch.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace Korvatune::Gui {
namespace {

struct Change {
    float value;
    ChangeSource source;
    friend bool operator==(const Change&, const Change&) = default;
};

class SourceListener : public CControlListener {
public:
    void valueChanged(Control& control) override {
        changes.push_back({control.value(), control.lastChangeSource()});
    }
    std::vector<Change> changes;
};

MouseEvent at(int x, int y, bool shift = false, std::uint32_t timeMs = 0) {
    return {{x, y}, MouseButton::Left, {shift, false}, 1, timeMs};
}

class ControlInputTest : public ::testing::Test {
protected:
    AnimatedKnob* knobAt(Rect rect) {
        return frame.addView(std::make_unique<AnimatedKnob>(rect, &listener, 1, nullptr, 128));
    }

    Frame frame{400, 300};
    SourceListener listener;
};

TEST_F(ControlInputTest, WheelStepsTheKnobAFinerStepWithShiftClampedAndSaysItWasTheWheel) {
    auto* knob = knobAt({0, 0, 40, 40});
    frame.handleMouseWheel(at(20, 20), 1);
    EXPECT_EQ(knob->value(), 0.0f);
    knob->setWheelStep(0.05f);
    knob->setValue(0.5f);
    EXPECT_EQ(knob->lastChangeSource(), ChangeSource::Program);
    frame.handleMouseWheel(at(20, 20), 2);
    EXPECT_NEAR(knob->value(), 0.6f, 1e-6f);
    EXPECT_EQ(knob->lastChangeSource(), ChangeSource::Wheel);
    frame.handleMouseWheel(at(20, 20, true), -1);
    EXPECT_NEAR(knob->value(), 0.595f, 1e-6f);
    frame.handleMouseWheel(at(20, 20), 100);
    EXPECT_EQ(knob->value(), 1.0f);
    frame.handleMouseWheel(at(200, 200), -1);
    EXPECT_EQ(knob->value(), 1.0f);
    ASSERT_EQ(listener.changes.size(), 3u);
    EXPECT_EQ(listener.changes.back(), (Change{1.0f, ChangeSource::Wheel}));
}

TEST_F(ControlInputTest, WheelOnTheRockerPulsesAndOnTheButtonSwitches) {
    auto* rocker =
        frame.addView(std::make_unique<RockerSwitch>(Rect{0, 0, 12, 24}, &listener, 2, nullptr));
    auto* button =
        frame.addView(std::make_unique<OnOffButton>(Rect{50, 0, 70, 20}, &listener, 3, nullptr));
    rocker->setWheelStep(1.0f);
    button->setWheelStep(1.0f);
    frame.handleMouseWheel(at(5, 5), 1);
    frame.handleMouseWheel(at(5, 5), -1);
    EXPECT_EQ(rocker->value(), 0.0f);
    frame.handleMouseWheel(at(60, 5), 1);
    frame.handleMouseWheel(at(60, 5), 1);
    EXPECT_TRUE(button->isOn());
    frame.handleMouseWheel(at(60, 5), -1);
    constexpr auto wheel = ChangeSource::Wheel;
    EXPECT_EQ(listener.changes, (std::vector<Change>{{-1.0f, wheel},
                                                     {0.0f, wheel},
                                                     {1.0f, wheel},
                                                     {0.0f, wheel},
                                                     {1.0f, wheel},
                                                     {0.0f, wheel}}));
}

TEST_F(ControlInputTest, DoubleClickRestoresTheDefaultAndDragsNothing) {
    auto* knob = knobAt({0, 0, 40, 40});
    frame.setKnobMode(KnobMode::Linear);
    knob->setValue(0.9f);
    frame.handleMouseDown(at(20, 20, false, 100));
    frame.handleMouseUp(at(20, 20, false, 110));
    frame.handleMouseDown(at(20, 20, false, 200));
    EXPECT_FLOAT_EQ(knob->value(), 0.9f);
    frame.handleMouseUp(at(20, 20, false, 210));

    knob->setDefaultValue(0.25f);
    frame.handleMouseDown(at(20, 20, false, 1000));
    frame.handleMouseUp(at(20, 20, false, 1010));
    frame.handleMouseDown(at(20, 20, false, 1100));
    EXPECT_EQ(knob->value(), 0.25f);
    frame.handleMouseMove(at(20, -100));
    EXPECT_EQ(knob->value(), 0.25f);
    frame.handleMouseUp(at(20, -100));
}

TEST_F(ControlInputTest, ShiftDragMovesTheLinearKnobATenthWithoutJumps) {
    frame.setKnobMode(KnobMode::Linear);
    auto* knob = knobAt({0, 0, 40, 40});
    knob->setValue(0.5f);
    frame.handleMouseDown(at(20, 20, true));
    EXPECT_EQ(knob->value(), 0.5f);
    frame.handleMouseMove(at(20, 20 - 60, true));
    EXPECT_NEAR(knob->value(), 0.5f + 0.1f * 60.0f / 150.0f, 1e-5f);
    const float afterFine = knob->value();
    // Releasing Shift goes on from there.
    frame.handleMouseMove(at(20, 20 - 60));
    EXPECT_NEAR(knob->value(), afterFine, 1e-6f);
    frame.handleMouseMove(at(20, 20 - 90));
    EXPECT_NEAR(knob->value(), afterFine + 30.0f / 150.0f, 1e-5f);
    frame.handleMouseMove(at(20, 20 - 90, true));
    EXPECT_NEAR(knob->value(), afterFine + 30.0f / 150.0f, 1e-5f);
    frame.handleMouseUp(at(20, 20 - 90, true));
}

TEST_F(ControlInputTest, LinearFineDragFeelsTheSameAtEveryScale) {
    Frame large{800, 600, Scale(200)};
    large.setKnobMode(KnobMode::Linear);
    auto* knob =
        large.addView(std::make_unique<AnimatedKnob>(Rect{0, 0, 80, 80}, nullptr, 1, nullptr, 128));
    large.handleMouseDown(at(40, 40, true));
    large.handleMouseMove(at(40, 40 - 120, true));
    EXPECT_NEAR(knob->value(), 0.1f * 60.0f / 150.0f, 1e-5f);
}

TEST_F(ControlInputTest, ShiftDragInCircularModeIsATenthOfARelativeTurnAndNeverJumps) {
    auto* knob = knobAt({0, 0, 40, 40});
    knob->setValue(0.5f);
    // From the right to the bottom: a quarter turn.
    frame.handleMouseDown(at(38, 20, true));
    EXPECT_EQ(knob->value(), 0.5f);
    frame.handleMouseMove(at(20, 38, true));
    // A quarter of a full turn is a third of the sweep of three quarters of a turn each way.
    const float quarterTurn = 1.0f / 3.0f;
    EXPECT_NEAR(knob->value(), 0.5f + 0.1f * quarterTurn, 1e-5f);
    const float afterFine = knob->value();
    frame.handleMouseMove(at(20, 38));
    EXPECT_NEAR(knob->value(), afterFine, 1e-6f);
    // Without Shift the rest of the drag adds the angle turned rather than following the pointer.
    frame.handleMouseMove(at(2, 20));
    EXPECT_NEAR(knob->value(), afterFine + quarterTurn, 1e-5f);
    frame.handleMouseUp(at(2, 20));
}

TEST_F(ControlInputTest, ShiftDragMovesTheSliderATenthAndReleasingShiftDoesNotJump) {
    auto handle = std::make_shared<Bitmap>(10, 16, kWhite);
    auto* slider = frame.addView(std::make_unique<HorizontalSlider>(
        Rect{0, 0, 120, 20}, &listener, 4, SliderTravel{0, 100, 2}, handle, nullptr));
    frame.handleMouseDown(at(5, 10));
    frame.handleMouseMove(at(55, 10, true));
    EXPECT_NEAR(slider->value(), 0.05f, 1e-6f);
    frame.handleMouseMove(at(55, 10));
    EXPECT_NEAR(slider->value(), 0.05f, 1e-6f);
    frame.handleMouseMove(at(65, 10));
    EXPECT_NEAR(slider->value(), 0.15f, 1e-6f);
    frame.handleMouseUp(at(65, 10));
    slider->setWheelStep(0.1f);
    frame.handleMouseWheel(at(110, 10), -1);
    EXPECT_NEAR(slider->value(), 0.05f, 1e-6f);
}

} // namespace
} // namespace Korvatune::Gui
