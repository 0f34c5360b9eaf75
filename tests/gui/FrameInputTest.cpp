#include "gui/Frame.h"
#include "gui/OnOffButton.h"
#include "gui/TextLabel.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace Korvatune::Gui {
namespace {

MouseEvent pressAt(Point where, std::uint32_t timeMs, MouseButton button = MouseButton::Left) {
    return {where, button, {}, 1, timeMs};
}

// Records the click count of every press and the keys it is given while focused.
class PressRecorder : public View {
public:
    using View::View;
    View* mouseDown(const MouseEvent& event) override {
        clickCounts.push_back(event.clickCount);
        return this;
    }
    bool keyDown(const KeyEvent& event) override {
        keys.push_back(event.character);
        return event.key == Key::Character;
    }
    std::vector<int> clickCounts;
    std::vector<char32_t> keys;
};

// Closes the frame's pop-up from inside its own press handler and then touches its members.
class SelfClosingPopup : public View {
public:
    using View::View;
    View* mouseDown(const MouseEvent&) override {
        frame()->closePopup();
        ++presses;
        return this;
    }
    int presses = 0;
};

class FrameInputTest : public ::testing::Test {
protected:
    FrameInputTest() {
        page = frame.addView(std::make_unique<ViewContainer>(Rect{100, 100, 200, 200}));
        button =
            page->addView(std::make_unique<OnOffButton>(Rect{10, 10, 30, 30}, nullptr, 1, nullptr));
        recorder = frame.addView(std::make_unique<PressRecorder>(Rect{0, 0, 50, 50}));
    }

    Frame frame{300, 300};
    ViewContainer* page = nullptr;
    OnOffButton* button = nullptr;
    PressRecorder* recorder = nullptr;
};

TEST_F(FrameInputTest, DoubleClickNeedsTheSameButtonSoonAndNearAndAThirdPressCountsAsOne) {
    frame.handleMouseDown(pressAt({10, 10}, 1000));
    frame.handleMouseUp(pressAt({10, 10}, 1010));
    frame.handleMouseDown(pressAt({14, 6}, 1400));
    frame.handleMouseUp(pressAt({14, 6}, 1410));
    frame.handleMouseDown(pressAt({14, 6}, 1500));
    frame.handleMouseUp(pressAt({14, 6}, 1510));
    frame.handleMouseDown(pressAt({14, 6}, 1901));
    frame.handleMouseUp(pressAt({14, 6}, 1910));
    frame.handleMouseDown(pressAt({19, 6}, 2000));
    frame.handleMouseUp(pressAt({19, 6}, 2010));
    frame.handleMouseDown(pressAt({19, 6}, 2100, MouseButton::Middle));
    frame.handleMouseUp(pressAt({19, 6}, 2110, MouseButton::Middle));
    EXPECT_EQ(recorder->clickCounts, (std::vector<int>{1, 2, 1, 1, 1, 1}));
}

// A drag that comes back to where it began is no click: the next press starts anew.
TEST_F(FrameInputTest, APressAfterADragIsAFirstClick) {
    frame.handleMouseDown(pressAt({10, 10}, 1000));
    frame.handleMouseMove(pressAt({10, 40}, 1050));
    frame.handleMouseMove(pressAt({10, 10}, 1100));
    frame.handleMouseUp(pressAt({10, 10}, 1110));
    frame.handleMouseDown(pressAt({10, 10}, 1200));
    EXPECT_EQ(recorder->clickCounts, (std::vector<int>{1, 1}));
}

TEST_F(FrameInputTest, DoubleClickTimingSurvivesTheClockWrappingAround) {
    frame.handleMouseDown(pressAt({10, 10}, 0xFFFFFF00u));
    frame.handleMouseUp(pressAt({10, 10}, 0xFFFFFF10u));
    frame.handleMouseDown(pressAt({10, 10}, 0x00000050u));
    EXPECT_EQ(recorder->clickCounts, (std::vector<int>{1, 2}));
}

TEST_F(FrameInputTest, RightPressOverAControlGoesToTheContextListenerElseToTheViews) {
    frame.handleMouseDown(pressAt({20, 20}, 0, MouseButton::Right));
    EXPECT_EQ(recorder->clickCounts.size(), 1u);
    frame.handleMouseUp(pressAt({20, 20}, 0, MouseButton::Right));

    Control* asked = nullptr;
    Point askedAt;
    frame.setContextMenuListener([&](Control& control, Point where) {
        asked = &control;
        askedAt = where;
    });
    // A label lying over the button is looked through.
    page->addView(std::make_unique<TextLabel>(Rect{0, 0, 100, 100}, "over"));
    frame.handleMouseDown(pressAt({115, 125}, 2000, MouseButton::Right));
    EXPECT_EQ(asked, button);
    EXPECT_EQ(askedAt, (Point{115, 125}));
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    EXPECT_FALSE(button->isOn());
    frame.handleMouseUp(pressAt({115, 125}, 2000, MouseButton::Right));

    asked = nullptr;
    frame.handleMouseDown(pressAt({20, 20}, 4000, MouseButton::Right));
    EXPECT_EQ(asked, nullptr);
    EXPECT_EQ(recorder->clickCounts.size(), 2u);
}

TEST_F(FrameInputTest, HoverFollowsThePointerStaysWithADragAndEndsWhenThePointerLeaves) {
    auto* other =
        page->addView(std::make_unique<OnOffButton>(Rect{50, 10, 70, 30}, nullptr, 2, nullptr));
    std::vector<Control*> told;
    frame.setHoverListener([&](Control* control) { told.push_back(control); });
    frame.handleMouseMove({{115, 115}});
    frame.handleMouseMove({{120, 120}});
    frame.handleMouseMove({{160, 115}});
    frame.handleMouseMove({{250, 250}});
    frame.handleMouseMove({{115, 115}});
    frame.handleMouseDown({{115, 115}});
    frame.handleMouseMove({{160, 115}});
    EXPECT_EQ(frame.hoveredControl(), button);
    frame.handleMouseUp({{160, 115}});
    frame.handlePointerLeft();
    EXPECT_EQ(told, (std::vector<Control*>{button, other, nullptr, button, other, nullptr}));
}

TEST_F(FrameInputTest, MovesWithoutAPressAreNotDrags) {
    frame.handleMouseMove({{20, 20}});
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    EXPECT_TRUE(recorder->clickCounts.empty());
}

TEST_F(FrameInputTest, KeysGoToTheFocusedViewThenToTheKeyListener) {
    std::vector<char32_t> heard;
    frame.setKeyListener([&](const KeyEvent& event) {
        heard.push_back(event.character);
        return event.modifiers.control;
    });
    EXPECT_FALSE(frame.wantsKeyboard());
    EXPECT_FALSE(frame.handleKey({Key::Character, U'a'}));
    EXPECT_TRUE(frame.handleKey({Key::Character, U'z', {false, true}}));
    frame.setKeyFocus(recorder);
    EXPECT_TRUE(frame.wantsKeyboard());
    EXPECT_TRUE(frame.handleKey({Key::Character, U'b'}));
    EXPECT_FALSE(frame.handleKey({Key::Enter, U'c'}));
    EXPECT_EQ(recorder->keys, (std::vector<char32_t>{U'b', U'c'}));
    EXPECT_EQ(heard, (std::vector<char32_t>{U'a', U'z', U'c'}));

    std::unique_ptr<View> removed = frame.removeView(*recorder);
    EXPECT_EQ(frame.keyFocus(), nullptr);
    EXPECT_FALSE(frame.wantsKeyboard());
}

TEST_F(FrameInputTest, APopupTakesEveryPressAndAPressOutsideOnlyClosesIt) {
    frame.openPopup(std::make_unique<PressRecorder>(Rect{150, 150, 250, 250}));
    auto* popup = static_cast<PressRecorder*>(frame.popup());
    ASSERT_TRUE(frame.hasPopup());
    EXPECT_EQ(frame.keyFocus(), popup);
    frame.handleMouseDown({{160, 160}});
    frame.handleMouseUp({{160, 160}});
    EXPECT_EQ(popup->clickCounts.size(), 1u);

    std::vector<Control*> hovered;
    frame.setHoverListener([&](Control* control) { hovered.push_back(control); });
    frame.handleMouseDown({{115, 115}});
    EXPECT_FALSE(frame.hasPopup());
    EXPECT_FALSE(button->isOn());
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    EXPECT_EQ(frame.keyFocus(), nullptr);
    frame.handleMouseUp({{115, 115}});
    frame.handleMouseDown({{115, 115}, MouseButton::Left, {}, 1, 5000});
    EXPECT_TRUE(button->isOn());
}

TEST_F(FrameInputTest, APopupClosingItselfInItsHandlerLivesUntilTheHandlerReturned) {
    frame.openPopup(std::make_unique<SelfClosingPopup>(Rect{150, 150, 250, 250}));
    frame.handleMouseDown({{160, 160}});
    EXPECT_FALSE(frame.hasPopup());
    EXPECT_EQ(frame.mouseCapture(), nullptr);
    EXPECT_FALSE(frame.pointerHeld());
    frame.handleMouseUp({{160, 160}});
    EXPECT_TRUE(recorder->clickCounts.empty());
}

TEST_F(FrameInputTest, WhileAPopupIsOpenTheWheelReachesOnlyThePopup) {
    button->setWheelStep(1.0f);
    frame.openPopup(std::make_unique<PressRecorder>(Rect{0, 0, 10, 10}));
    frame.handleMouseWheel({{115, 115}}, 1);
    EXPECT_FALSE(button->isOn());
    frame.closePopup();
    frame.handleMouseWheel({{115, 115}}, 1);
    EXPECT_TRUE(button->isOn());
}

} // namespace
} // namespace Korvatune::Gui
