#include "gui/x11/X11Window.h"
#include "gui/Frame.h"
#include "gui/OnOffButton.h"

#include <gtest/gtest.h>

// Xlib defines macros (None, Bool, ...) that would break the test framework's headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "support/X11HostDisplay.h"

#include <bit>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace Korvatune::Gui {
namespace {

// Plays the host: its own connection and a top-level window to hold the editor.
class X11WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string skipReason;
        host = Korvatune::testing::openHostDisplay(skipReason);
        if (host == nullptr) {
            GTEST_SKIP() << skipReason;
        }
        parent = Korvatune::testing::createParentWindow(host, 200, 150);
        frame.setBackgroundColor({200, 100, 50, 255});
        button =
            frame.addView(std::make_unique<OnOffButton>(Rect{10, 10, 30, 20}, nullptr, 9, nullptr));
    }

    void TearDown() override {
        if (host != nullptr) {
            XDestroyWindow(host, parent);
            XCloseDisplay(host);
        }
    }

    unsigned int childCount() {
        Window root = 0;
        Window parentOfParent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(host, parent, &root, &parentOfParent, &children, &count);
        if (children != nullptr) {
            XFree(children);
        }
        return count;
    }

    void sendButton(Window target, int type, int x, int y, unsigned int button = Button1) {
        XEvent event{};
        event.xbutton.type = type;
        event.xbutton.display = host;
        event.xbutton.window = target;
        event.xbutton.x = x;
        event.xbutton.y = y;
        event.xbutton.button = button;
        event.xbutton.same_screen = True;
        const long mask = type == ButtonPress ? ButtonPressMask : ButtonReleaseMask;
        XSendEvent(host, target, False, mask, &event);
        XSync(host, False);
    }

    void sendKey(Window target, KeySym symbol, unsigned int state) {
        XEvent event{};
        event.xkey.type = KeyPress;
        event.xkey.display = host;
        event.xkey.window = target;
        event.xkey.keycode = XKeysymToKeycode(host, symbol);
        event.xkey.state = state;
        event.xkey.same_screen = True;
        XSendEvent(host, target, False, KeyPressMask, &event);
        XSync(host, False);
    }

    template <class Condition> void idleUntil(X11Window& window, Condition done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            window.idle();
        }
    }

    Display* host = nullptr;
    Window parent = 0;
    Frame frame{120, 80};
    OnOffButton* button = nullptr;
};

TEST_F(X11WindowTest, ShowsTheFramesPixelsInAChildOfTheHostWindow) {
    std::unique_ptr<X11Window> window = X11Window::open(frame, parent);
    ASSERT_TRUE(window);
    EXPECT_EQ(childCount(), 1u);
    window->idle();
    XImage* image = XGetImage(host, window->windowId(), 0, 0, 120, 80, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    const unsigned long pixel = XGetPixel(image, 60, 40);
    XDestroyImage(image);
    const Visual* visual = DefaultVisual(host, DefaultScreen(host));
    auto component = [&](unsigned long mask) { return (pixel & mask) >> std::countr_zero(mask); };
    EXPECT_EQ(component(visual->red_mask), 200u);
    EXPECT_EQ(component(visual->green_mask), 100u);
    EXPECT_EQ(component(visual->blue_mask), 50u);
}

TEST_F(X11WindowTest, MousePressesReachTheFramesViews) {
    std::unique_ptr<X11Window> window = X11Window::open(frame, parent);
    ASSERT_TRUE(window);
    window->idle();
    sendButton(window->windowId(), ButtonPress, 15, 15);
    sendButton(window->windowId(), ButtonRelease, 15, 15);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!button->isOn() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        window->idle();
    }
    EXPECT_TRUE(button->isOn());
    EXPECT_EQ(frame.mouseCapture(), nullptr);
}

TEST_F(X11WindowTest, TheWheelAndKeysReachTheFrame) {
    std::unique_ptr<X11Window> window = X11Window::open(frame, parent);
    ASSERT_TRUE(window);
    button->setWheelStep(1.0f);
    std::vector<KeyEvent> keys;
    frame.setKeyListener([&](const KeyEvent& key) {
        keys.push_back(key);
        return true;
    });
    window->idle();
    sendButton(window->windowId(), ButtonPress, 15, 15, Button4);
    sendKey(window->windowId(), XK_z, ControlMask);
    idleUntil(*window, [&] { return button->isOn() && !keys.empty(); });
    EXPECT_TRUE(button->isOn());
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].key, Key::Character);
    EXPECT_EQ(keys[0].character, U'z');
    EXPECT_TRUE(keys[0].modifiers.control);
    EXPECT_FALSE(keys[0].modifiers.shift);
}

// The host's own keys (the space bar for its transport, say) still reach the host.
TEST_F(X11WindowTest, AKeyTheFrameDoesNotUseGoesOnToTheHostsWindow) {
    std::unique_ptr<X11Window> window = X11Window::open(frame, parent);
    ASSERT_TRUE(window);
    frame.setKeyListener([](const KeyEvent&) { return false; });
    XSelectInput(host, parent, KeyPressMask);
    window->idle();
    sendKey(window->windowId(), XK_space, 0);
    XEvent passed{};
    bool arrived = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!arrived && std::chrono::steady_clock::now() < deadline) {
        window->idle();
        XSync(host, False);
        arrived = XCheckTypedWindowEvent(host, parent, KeyPress, &passed);
    }
    ASSERT_TRUE(arrived);
    EXPECT_EQ(passed.xkey.keycode, XKeysymToKeycode(host, XK_space));
}

TEST_F(X11WindowTest, ClosingLeavesNoWindowOrConnectionBehind) {
    const int filesBefore = Korvatune::testing::openFileCount();
    for (int round = 0; round < 10; ++round) {
        std::unique_ptr<X11Window> window = X11Window::open(frame, parent);
        ASSERT_TRUE(window);
        window->idle();
    }
    XSync(host, False);
    EXPECT_EQ(childCount(), 0u);
    EXPECT_EQ(Korvatune::testing::openFileCount(), filesBefore);
}

TEST_F(X11WindowTest, RefusesAMissingParentOrDisplay) {
    EXPECT_EQ(X11Window::open(frame, 0), nullptr);
    EXPECT_EQ(X11Window::open(frame, parent, "unix:4711"), nullptr);
}

} // namespace
} // namespace Korvatune::Gui
