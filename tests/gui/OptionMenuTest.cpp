#include "gui/OptionMenu.h"
#include "gui/Frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Korvatune::Gui {
namespace {

class Choices : public CControlListener {
public:
    void valueChanged(Control& control) override { chosen.push_back(control.value()); }
    std::vector<float> chosen;
};

constexpr OptionMenuStyle kStyle{{10, 10, 10, 255},
                                 {200, 200, 200, 255},
                                 {90, 90, 90, 255},
                                 {250, 140, 40, 255},
                                 {0, 0, 0, 255}};

MouseEvent press(Point where, MouseButton button = MouseButton::Left) {
    return {where, button};
}

void click(Frame& frame, Point where) {
    frame.handleMouseDown(press(where));
    frame.handleMouseUp(press(where));
}

class OptionMenuTest : public ::testing::Test {
protected:
    OptionMenu* place(Rect button) {
        auto* menu = frame.addView(std::make_unique<OptionMenu>(
            button, &choices, 7, std::vector<std::string>{"A", "B", "C", "D"}, kStyle));
        frame.redrawDirty();
        return menu;
    }

    Frame frame{200, 120};
    Choices choices;
};

TEST_F(OptionMenuTest, APressOpensTheListAndAPressOnAnEntryChoosesIt) {
    OptionMenu* menu = place({20, 10, 60, 22});
    click(frame, {5, 5});
    EXPECT_FALSE(menu->isOpen());
    click(frame, {30, 15});
    ASSERT_TRUE(menu->isOpen());
    EXPECT_EQ(menu->entryArea(0), (Rect{20, 22, 60, 34}));
    EXPECT_EQ(menu->entryArea(3), (Rect{20, 58, 60, 70}));
    frame.redrawDirty();
    EXPECT_EQ(frame.frameBuffer().pixel(40, 64), kStyle.face);
    click(frame, {40, 64});
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(menu->rect(), (Rect{20, 10, 60, 22}));
    EXPECT_EQ(choices.chosen, std::vector<float>{3.0f});
    EXPECT_EQ(menu->chosen(), 3);
    frame.redrawDirty();
    EXPECT_EQ(frame.frameBuffer().pixel(40, 64), kBlack) << "the list is gone";
}

TEST_F(OptionMenuTest, APressBesideTheListOnlyClosesIt) {
    OptionMenu* menu = place({20, 10, 60, 22});
    menu->setValue(1.0f);
    click(frame, {30, 15});
    frame.handleMouseDown(press({30, 15}, MouseButton::Right));
    EXPECT_TRUE(menu->isOpen());
    click(frame, {150, 100});
    EXPECT_FALSE(menu->isOpen());
    EXPECT_TRUE(choices.chosen.empty());
    EXPECT_EQ(menu->chosen(), 1);
}

TEST_F(OptionMenuTest, WithoutRoomBelowTheListOpensAbove) {
    OptionMenu* menu = place({20, 90, 60, 102});
    menu->setValue(2.0f);
    click(frame, {30, 95});
    EXPECT_EQ(menu->entryArea(0), (Rect{20, 42, 60, 54}));
    EXPECT_EQ(menu->entryArea(3), (Rect{20, 78, 60, 90}));
    click(frame, {30, 45});
    EXPECT_EQ(choices.chosen, std::vector<float>{0.0f});
}

} // namespace
} // namespace Korvatune::Gui
