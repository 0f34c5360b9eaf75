#include "EditorTestSupport.h"

#include <gtest/gtest.h>

// Xlib defines macros (None, Bool, ...) that would break the test framework's headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/X11HostDisplay.h"

#include <bit>
#include <chrono>
#include <string>
#include <thread>

namespace Korvatune {
namespace {

using testing::dispatch;

// Plays a host with a window of its own, on its own connection, that opens the instrument's
// editor inside it through the dispatcher.
class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::string skipReason;
        host = testing::openHostDisplay(skipReason);
        if (host == nullptr) {
            GTEST_SKIP() << skipReason;
        }
        parent = testing::createParentWindow(host, 800, 465);
    }

    void TearDown() override {
        if (host != nullptr) {
            dispatch(synth.get(), effEditClose);
            XDestroyWindow(host, parent);
            XCloseDisplay(host);
        }
    }

    bool openEditor() {
        return dispatch(synth.get(), effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) == 1;
    }

    std::vector<Window> editorWindows() { return testing::childWindows(host, parent); }

    void sendPointer(Window target, int type, Gui::Point where) {
        testing::sendPointer(host, target, type, where.x, where.y);
    }

    // The window's pixel at a point, as red, green and blue.
    Gui::Color windowPixel(Window window, Gui::Point where) {
        XImage* image = XGetImage(host, window, where.x, where.y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) {
            return Gui::kTransparent;
        }
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        const Visual* visual = DefaultVisual(host, DefaultScreen(host));
        auto component = [&](unsigned long mask) {
            return static_cast<std::uint8_t>((pixel & mask) >> std::countr_zero(mask));
        };
        return {component(visual->red_mask), component(visual->green_mask),
                component(visual->blue_mask), 255};
    }

    testing::SynthDriver synth;
    Display* host = nullptr;
    Window parent = 0;
};

TEST_F(EditorWindow, DraggingAKnobChangesItsParameter) {
    ASSERT_TRUE(openEditor());
    const std::vector<Window> windows = editorWindows();
    ASSERT_EQ(windows.size(), 1u);
    dispatch(synth.get(), effEditIdle);
    // The volume knob's centre on the page is (660, 318): press straight above it, which is the
    // middle of its sweep, then turn a quarter to the left.
    const Gui::Point centre = Gui::Point{660, 318} + testing::kPageOrigin;
    sendPointer(windows[0], ButtonPress, centre + Gui::Point{0, -12});
    sendPointer(windows[0], MotionNotify, centre + Gui::Point{-12, 0});
    sendPointer(windows[0], ButtonRelease, centre + Gui::Point{-12, 0});
    // A quarter turn left of straight up within a sweep of 0.75 turns to either side; the
    // centre lies half a pixel right of the pointer's column.
    const float expected = (0.75f - 0.5f) / 1.5f;
    const float tolerance = 0.02f;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::abs(synth->getParameter(synth.get(), kVolume) - expected) > tolerance &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        dispatch(synth.get(), effEditIdle);
    }
    const float volume = synth->getParameter(synth.get(), kVolume);
    EXPECT_NEAR(volume, expected, tolerance);
    dispatch(synth.get(), effEditIdle);
    ControlsGUI* page = testing::editorOf(synth.get()).synthPage();
    ASSERT_NE(page, nullptr);
    EXPECT_FLOAT_EQ(page->control(kVolume)->value(), volume);
    EXPECT_EQ(page->volumeText().text(), levelText(volume));
    const Gui::Bitmap& drawn = testing::editorOf(synth.get()).getFrame()->frameBuffer();
    for (const Gui::Point where : {centre, centre + Gui::Point{-12, 0}, Gui::Point{400, 440}}) {
        EXPECT_EQ(windowPixel(windows[0], where), drawn.pixel(where.x, where.y));
    }
}

TEST_F(EditorWindow, OpeningAndClosingFiftyTimesLeavesNothingBehind) {
    const int filesBefore = testing::openFileCount();
    for (int round = 0; round < 50; ++round) {
        ASSERT_TRUE(openEditor());
        dispatch(synth.get(), effEditIdle);
        if (round % 10 == 0) {
            // A host that opens again without closing first.
            ASSERT_TRUE(openEditor());
            EXPECT_EQ(editorWindows().size(), 1u);
        }
        dispatch(synth.get(), effEditClose);
    }
    EXPECT_TRUE(editorWindows().empty());
    EXPECT_EQ(testing::openFileCount(), filesBefore);
}

} // namespace
} // namespace Korvatune
