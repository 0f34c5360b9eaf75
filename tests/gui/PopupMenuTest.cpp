#include "gui/PopupMenu.h"
#include "gui/Frame.h"
#include "gui/TextField.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune::Gui {
namespace {

constexpr MenuStyle kStyle{kWhite, kBlack, kGrey, kBlack, kWhite, kBlack};
constexpr TextFieldStyle kFieldStyle{kWhite, kBlack, kBlack, kGrey, kBlack};

Point centreOf(Rect area) {
    return {area.left + area.width() / 2, area.top + area.height() / 2};
}

class PopupMenuTest : public ::testing::Test {
protected:
    PopupMenu* open(std::vector<MenuEntry> entries, Point anchor = {10, 10}) {
        frame.openPopup(std::make_unique<PopupMenu>(anchor, std::move(entries), kStyle,
                                                    [this](int id) { chosen.push_back(id); }));
        return static_cast<PopupMenu*>(frame.popup());
    }

    void press(Point where) {
        frame.handleMouseDown({where, MouseButton::Left, {}, 1, time += 1000});
        frame.handleMouseUp({where, MouseButton::Left, {}, 1, time});
    }

    Frame frame{300, 200};
    std::vector<int> chosen;
    std::uint32_t time = 0;
};

TEST_F(PopupMenuTest, ChoosingAnEntryCallsBackWithItsIdAndClosesTheMenu) {
    PopupMenu* menu = open({{"One", 1}, {"Two", 2, false}, {"", 0, true, true}, {"Three", 3}});
    press(centreOf(*menu->entryArea(0, 1)));
    press(centreOf(*menu->entryArea(0, 2)));
    EXPECT_TRUE(frame.hasPopup());
    EXPECT_TRUE(chosen.empty());
    press(centreOf(*menu->entryArea(0, 3)));
    EXPECT_FALSE(frame.hasPopup());
    EXPECT_EQ(chosen, (std::vector<int>{3}));
}

TEST_F(PopupMenuTest, EscapeOrAPressBesideTheListClosesWithoutAChoice) {
    open({{"One", 1}});
    EXPECT_TRUE(frame.handleKey({Key::Escape}));
    EXPECT_FALSE(frame.hasPopup());
    open({{"One", 1}});
    press({290, 190});
    EXPECT_FALSE(frame.hasPopup());
    EXPECT_TRUE(chosen.empty());
}

TEST_F(PopupMenuTest, ListsStayInsideTheFrameAndSubMenusOpenBesideOrOnTheLeft) {
    MenuEntry sub{"More", 0, true, false, {{"Deep", 7, true, false, {{"Deeper", 8}}}}};
    PopupMenu* menu = open({{"One", 1}, sub}, {290, 190});
    const Rect first = menu->listArea(0);
    EXPECT_TRUE(frame.rect().encloses(first));
    press(centreOf(*menu->entryArea(0, 1)));
    ASSERT_EQ(menu->levelCount(), 2u);
    EXPECT_EQ(menu->listArea(1).right, first.left);
    press(centreOf(*menu->entryArea(1, 0)));
    ASSERT_EQ(menu->levelCount(), 3u);
    press(centreOf(*menu->entryArea(2, 0)));
    EXPECT_EQ(chosen, (std::vector<int>{8}));

    menu = open({sub});
    press(centreOf(*menu->entryArea(0, 0)));
    EXPECT_EQ(menu->listArea(1).left, menu->listArea(0).right);
}

TEST_F(PopupMenuTest, HoverHighlightsTheEntryUnderThePointer) {
    PopupMenu* menu = open({{"One", 1}, {"Two", 2}});
    frame.redrawDirty();
    const Rect second = *menu->entryArea(0, 1);
    const Point corner{second.left + 1, second.top + 1};
    EXPECT_EQ(frame.frameBuffer().pixel(corner.x, corner.y), kWhite);
    frame.handleMouseMove({centreOf(second)});
    frame.redrawDirty();
    EXPECT_EQ(frame.frameBuffer().pixel(corner.x, corner.y), kBlack);
}

TEST_F(PopupMenuTest, ALongListScrollsWithTheWheelAndShowsWhereThereIsMore) {
    std::vector<MenuEntry> entries;
    for (int id = 0; id < 1000; ++id) {
        entries.push_back({"Entry " + std::to_string(id), id});
    }
    PopupMenu* menu = open(std::move(entries));
    EXPECT_TRUE(frame.rect().encloses(menu->listArea(0)));
    EXPECT_FALSE(menu->hasMoreAbove(0));
    EXPECT_TRUE(menu->hasMoreBelow(0));
    EXPECT_FALSE(menu->entryArea(0, 500).has_value());
    const Point inList = centreOf(menu->listArea(0));
    frame.handleMouseWheel({inList}, -5);
    EXPECT_EQ(menu->firstVisibleEntry(0), 5u);
    EXPECT_TRUE(menu->hasMoreAbove(0));
    frame.handleMouseWheel({inList}, -5000);
    EXPECT_FALSE(menu->hasMoreBelow(0));
    frame.redrawDirty();
    press(centreOf(*menu->entryArea(0, 999)));
    EXPECT_EQ(chosen, (std::vector<int>{999}));
}

class TextFieldTest : public ::testing::Test {
protected:
    TextField* open(std::string text) {
        frame.openPopup(std::make_unique<TextField>(
            Rect{20, 20, 120, 40}, std::move(text), kFieldStyle,
            [this](const std::string& text) { committed = text; }, [this] { ++cancels; }));
        return static_cast<TextField*>(frame.popup());
    }

    void type(std::u32string characters) {
        for (const char32_t character : characters) {
            frame.handleKey({Key::Character, character});
        }
    }

    Frame frame{200, 100};
    std::optional<std::string> committed;
    int cancels = 0;
};

TEST_F(TextFieldTest, TypingReplacesTheSelectionAndEditsAtTheCaret) {
    open("0.5");
    EXPECT_TRUE(frame.wantsKeyboard());
    type(U"12");
    frame.handleKey({Key::Left});
    type(U"\u00e9");
    frame.handleKey({Key::Home});
    frame.handleKey({Key::Delete});
    type(U"\U0001F600");
    frame.handleKey({Key::End});
    frame.handleKey({Key::Backspace});
    frame.handleKey({Key::Left});
    frame.handleKey({Key::Backspace});
    frame.handleKey({Key::Enter});
    EXPECT_EQ(committed, std::string("\xC3\xA9"));
    frame.redrawDirty();
}

TEST_F(TextFieldTest, ControlKeysAndControlCharactersLeaveTheTextAlone) {
    bool heard = false;
    frame.setKeyListener([&](const KeyEvent& event) { return heard = event.modifiers.control; });
    open("abc");
    frame.handleKey({Key::End});
    EXPECT_TRUE(frame.handleKey({Key::Character, U'z', {false, true}}));
    EXPECT_TRUE(heard);
    type(U"\x7f\x01");
    frame.handleKey({Key::Enter});
    EXPECT_EQ(committed, std::string("abc"));
}

TEST_F(TextFieldTest, EscapeAndAPressOutsideCancel) {
    open("x");
    frame.handleKey({Key::Escape});
    EXPECT_EQ(cancels, 1);
    frame.closePopup();
    open("x");
    frame.handleMouseDown({{150, 80}});
    EXPECT_EQ(cancels, 2);
    EXPECT_FALSE(frame.hasPopup());
    EXPECT_FALSE(committed.has_value());
}

} // namespace
} // namespace Korvatune::Gui
