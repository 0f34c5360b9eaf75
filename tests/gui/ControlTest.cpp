#include "PixelTestSupport.h"
#include "gui/AnimatedKnob.h"
#include "gui/Frame.h"
#include "gui/HorizontalSlider.h"
#include "gui/OnOffButton.h"
#include "gui/RockerSwitch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace Korvatune::Gui {
namespace {

using Testing::makeNumberedStrip;

class RecordingListener : public CControlListener {
public:
    void valueChanged(Control& control) override {
        changes.emplace_back(control.tag(), control.value());
    }
    std::vector<std::pair<int, float>> changes;
};

MouseEvent leftAt(int x, int y) {
    return {{x, y}, MouseButton::Left};
}

class ControlTest : public ::testing::Test {
protected:
    template <class ControlType, class... Args> ControlType* place(Args&&... args) {
        return frame.addView(std::make_unique<ControlType>(std::forward<Args>(args)...));
    }

    int redrawnRedAt(int x, int y) {
        frame.redrawDirty();
        return frame.frameBuffer().pixel(x, y).red;
    }

    Frame frame{400, 300};
    RecordingListener listener;
};

TEST_F(ControlTest, SetValueClampsRedrawsAndTellsNoListener) {
    Control control({0, 0, 10, 10}, &listener, 3);
    control.setValue(1.5f);
    EXPECT_EQ(control.value(), 1.0f);
    control.setValue(-0.25f);
    EXPECT_EQ(control.value(), 0.0f);
    control.markClean();
    control.setValue(0.0f);
    EXPECT_FALSE(control.isDirty());
    control.setValue(0.75f);
    EXPECT_TRUE(control.isDirty());
    control.setValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(control.value(), 0.75f);
    EXPECT_TRUE(listener.changes.empty());
}

TEST_F(ControlTest, RangeIsOrderedAndHoldsTheValue) {
    Control control({0, 0, 10, 10}, nullptr, 0);
    control.setValue(0.8f);
    control.setRange(0.5f, -0.5f);
    EXPECT_EQ(control.minimum(), -0.5f);
    EXPECT_EQ(control.maximum(), 0.5f);
    EXPECT_EQ(control.value(), 0.5f);
    EXPECT_EQ(control.normalizedValue(), 1.0f);
}

TEST_F(ControlTest, KnobShowsFrameFloorOfValueTimesLastFrame) {
    auto strip =
        std::make_shared<BitmapFilmStrip>(std::make_shared<Bitmap>(makeNumberedStrip(25, 25, 128)));
    auto* knob = place<AnimatedKnob>(Rect{110, 35, 135, 60}, &listener, 5, strip, 128);
    const std::pair<float, int> cases[] = {
        {0.0f, 0}, {1.0f, 127}, {0.5f, 63}, {0.3f, 38}, {0.999f, 126}};
    for (const auto& [value, frameIndex] : cases) {
        knob->setValue(value);
        EXPECT_EQ(knob->currentFrame(), frameIndex) << value;
        EXPECT_EQ(redrawnRedAt(122, 47), frameIndex) << value;
        EXPECT_EQ(redrawnRedAt(110, 35), frameIndex) << value;
    }
}

TEST_F(ControlTest, LinearDragRaisesTheKnobByTheDistanceDragged) {
    frame.setKnobMode(KnobMode::Linear);
    auto* page = frame.addView(std::make_unique<ViewContainer>(Rect{100, 50, 300, 250}));
    auto* knob = page->addView(
        std::make_unique<AnimatedKnob>(Rect{10, 80, 47, 117}, &listener, 43, nullptr, 128));
    knob->setValue(0.2f);
    frame.handleMouseDown(leftAt(128, 148));
    EXPECT_EQ(frame.mouseCapture(), knob);
    EXPECT_FLOAT_EQ(knob->value(), 0.2f);
    frame.handleMouseMove(leftAt(128, 148 - AnimatedKnob::kLinearDragPixels / 2));
    EXPECT_FLOAT_EQ(knob->value(), 0.7f);
    frame.handleMouseMove(leftAt(500, -400));
    EXPECT_EQ(knob->value(), 1.0f);
    frame.handleMouseUp(leftAt(500, -400));
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    frame.handleMouseMove(leftAt(128, 290));
    EXPECT_EQ(knob->value(), 1.0f);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[0].first, 43);
    EXPECT_FLOAT_EQ(listener.changes[0].second, 0.7f);
    EXPECT_EQ(listener.changes[1].second, 1.0f);
}

TEST_F(ControlTest, CircularDragFollowsThePointersAngle) {
    auto* knob = place<AnimatedKnob>(Rect{0, 0, 40, 40}, &listener, 1, nullptr, 128);
    frame.handleMouseDown(leftAt(20, 2));
    EXPECT_FLOAT_EQ(knob->value(), 0.5f);
    frame.handleMouseMove(leftAt(38, 20));
    EXPECT_NEAR(knob->value(), 5.0f / 6.0f, 1e-5f);
    frame.handleMouseMove(leftAt(2, 20));
    EXPECT_NEAR(knob->value(), 1.0f / 6.0f, 1e-5f);
    frame.handleMouseMove(leftAt(19, 39));
    EXPECT_EQ(knob->value(), 0.0f);
    frame.handleMouseMove(leftAt(22, 39));
    EXPECT_EQ(knob->value(), 0.0f);
    frame.handleMouseUp(leftAt(22, 39));
}

TEST_F(ControlTest, RelativeCircularDragAddsTheAngleTurned) {
    frame.setKnobMode(KnobMode::RelativeCircular);
    auto* knob = place<AnimatedKnob>(Rect{0, 0, 40, 40}, &listener, 1, nullptr, 128);
    knob->setValue(0.25f);
    frame.handleMouseDown(leftAt(38, 20));
    EXPECT_EQ(knob->value(), 0.25f);
    frame.handleMouseMove(leftAt(20, 38));
    EXPECT_NEAR(knob->value(), 0.25f + 1.0f / 3.0f, 1e-5f);
    frame.handleMouseMove(leftAt(2, 20));
    frame.handleMouseMove(leftAt(20, 2));
    EXPECT_EQ(knob->value(), 1.0f);
}

TEST(KnobMode, HostNumbersMapToModesAndUnknownOnesToNothing) {
    EXPECT_EQ(knobModeFromNumber(0), KnobMode::Circular);
    EXPECT_EQ(knobModeFromNumber(1), KnobMode::RelativeCircular);
    EXPECT_EQ(knobModeFromNumber(2), KnobMode::Linear);
    EXPECT_FALSE(knobModeFromNumber(3).has_value());
    EXPECT_FALSE(knobModeFromNumber(-1).has_value());
}

TEST_F(ControlTest, ControlsIgnoreButtonsOtherThanTheLeft) {
    auto* knob = place<AnimatedKnob>(Rect{0, 0, 40, 40}, &listener, 1, nullptr, 128);
    auto* button = place<OnOffButton>(Rect{50, 0, 94, 16}, &listener, 9, nullptr);
    frame.handleMouseDown({{20, 2}, MouseButton::Right});
    frame.handleMouseDown({{60, 5}, MouseButton::Middle});
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    EXPECT_EQ(knob->value(), 0.0f);
    EXPECT_EQ(button->value(), 0.0f);
}

TEST_F(ControlTest, SliderHandleMovesOnlyWhenDragged) {
    auto handle = std::make_shared<Bitmap>(9, 16, Color{200, 0, 0, 255});
    auto track = std::make_shared<Bitmap>(60, 20, Color{50, 0, 0, 255});
    auto* slider = place<HorizontalSlider>(Rect{179, 87, 239, 107}, &listener, 6,
                                           SliderTravel{181, 229, 2}, handle, track);
    EXPECT_EQ(slider->handleRect(), (Rect{181, 89, 190, 105}));
    EXPECT_EQ(redrawnRedAt(181, 89), 200);
    EXPECT_EQ(redrawnRedAt(181, 88), 50);
    EXPECT_EQ(redrawnRedAt(190, 95), 50);

    frame.handleMouseDown(leftAt(220, 95));
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    EXPECT_EQ(slider->value(), 0.0f);

    frame.handleMouseDown(leftAt(185, 95));
    frame.handleMouseMove(leftAt(185 + 24, 60));
    EXPECT_FLOAT_EQ(slider->value(), 0.5f);
    EXPECT_EQ(redrawnRedAt(205, 89), 200);
    EXPECT_EQ(redrawnRedAt(204, 89), 50);
    frame.handleMouseMove(leftAt(399, 95));
    EXPECT_EQ(slider->value(), 1.0f);
    EXPECT_EQ(slider->handleRect().left, 229);
    frame.handleMouseUp(leftAt(399, 95));
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes.back(), (std::pair<int, float>{6, 1.0f}));
}

TEST_F(ControlTest, OnOffButtonFlipsAndShowsTheLowerStateWhenOn) {
    auto image = std::make_shared<Bitmap>(44, 32, Color{10, 0, 0, 255});
    for (int y = 16; y < 32; ++y) {
        for (int x = 0; x < 44; ++x) {
            image->setPixel(x, y, {90, 0, 0, 255});
        }
    }
    auto* button = place<OnOffButton>(Rect{27, 85, 71, 101}, &listener, 9, image);
    EXPECT_EQ(redrawnRedAt(27, 85), 10);
    frame.handleMouseDown(leftAt(30, 90));
    frame.handleMouseUp(leftAt(30, 90));
    EXPECT_TRUE(button->isOn());
    EXPECT_EQ(redrawnRedAt(70, 100), 90);
    frame.handleMouseDown(leftAt(30, 90));
    frame.handleMouseUp(leftAt(30, 90));
    EXPECT_FALSE(button->isOn());
    EXPECT_EQ(redrawnRedAt(70, 100), 10);
    EXPECT_EQ(listener.changes, (std::vector<std::pair<int, float>>{{9, 1.0f}, {9, 0.0f}}));
}

TEST_F(ControlTest, RockerGivesMinusOneAbovePlusOneBelowAndZeroOnRelease) {
    auto image = std::make_shared<Bitmap>(makeNumberedStrip(12, 24, 3));
    auto* rocker = place<RockerSwitch>(Rect{80, 35, 92, 59}, &listener, 0, image);
    EXPECT_EQ(redrawnRedAt(85, 40), 1);
    frame.handleMouseDown(leftAt(85, 40));
    EXPECT_EQ(rocker->value(), -1.0f);
    EXPECT_EQ(redrawnRedAt(85, 40), 0);
    frame.handleMouseUp(leftAt(85, 40));
    EXPECT_EQ(rocker->value(), 0.0f);
    frame.handleMouseDown(leftAt(85, 50));
    EXPECT_EQ(rocker->value(), 1.0f);
    EXPECT_EQ(redrawnRedAt(85, 40), 2);
    frame.handleMouseUp(leftAt(300, 300));
    EXPECT_EQ(listener.changes,
              (std::vector<std::pair<int, float>>{{0, -1.0f}, {0, 0.0f}, {0, 1.0f}, {0, 0.0f}}));
}

} // namespace
} // namespace Korvatune::Gui
