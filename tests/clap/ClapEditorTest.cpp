#include "clap/ClapTestHost.h"
#include "programs/ProgramKeys.h"

#include <gtest/gtest.h>

// Xlib defines macros (None, Bool, ...) that would break the test framework's headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/SettingsTestSupport.h"
#include "support/X11HostDisplay.h"
#include "waveforms/WaveformProvider.h"
#include "waveforms/WaveformTestFiles.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace Korvatune {
namespace {

// The Volume knob's square on the Synth page, which starts at (49, 48) in the editor.
constexpr int kVolumeLeft = 49 + 642;
constexpr int kVolumeTop = 48 + 300;
constexpr int kVolumeSize = 37;

using Sizes = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// A host that embeds the editor in a window of its own, on its own connection, and runs the
// plug-in's timers itself. The editor's size depends on no setting of the user's or the
// environment's.
class ClapEditor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module.ready());
        ASSERT_NE(clap.plugin, nullptr);
        gui = clap.extension<Clap::PluginGui>(Clap::kGuiExtension);
        timers = clap.extension<Clap::PluginTimerSupport>(Clap::kTimerSupportExtension);
        ASSERT_NE(gui, nullptr);
        ASSERT_NE(timers, nullptr);
        std::string skipReason;
        display = testing::openHostDisplay(skipReason);
        if (display == nullptr) {
            GTEST_SKIP() << skipReason;
        }
        parent = testing::createParentWindow(display, 800, 465);
    }

    void TearDown() override {
        if (display == nullptr) {
            return;
        }
        gui->destroy(clap.plugin);
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }

    bool openEditor(double scale = 1.0) {
        if (!gui->create(clap.plugin, Clap::kX11WindowApi, false) ||
            !gui->setScale(clap.plugin, scale)) {
            return false;
        }
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        gui->size(clap.plugin, &width, &height);
        Clap::Window window{};
        window.api = Clap::kX11WindowApi;
        window.x11 = parent;
        return gui->setParent(clap.plugin, &window) && gui->show(clap.plugin);
    }

    // What the host's timers do: every timer the plug-in registered fires.
    void idle() {
        for (const auto& [id, period] : host.timers) {
            timers->onTimer(clap.plugin, id);
        }
        XSync(display, False);
    }

    bool idleUntil(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition() && std::chrono::steady_clock::now() < deadline) {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return condition();
    }

    std::vector<Window> editorWindows() { return testing::childWindows(display, parent); }

    Window editorWindow() {
        const std::vector<Window> windows = editorWindows();
        return windows.empty() ? 0 : windows.front();
    }

    std::pair<int, int> editorWindowSize() {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, editorWindow(), &attributes);
        return {attributes.width, attributes.height};
    }

    std::pair<std::uint32_t, std::uint32_t> reportedSize() {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        EXPECT_TRUE(gui->size(clap.plugin, &width, &height));
        return {width, height};
    }

    std::vector<unsigned long> volumeKnobPixels() {
        XImage* image = XGetImage(display, editorWindow(), kVolumeLeft, kVolumeTop, kVolumeSize,
                                  kVolumeSize, AllPlanes, ZPixmap);
        std::vector<unsigned long> pixels;
        if (image == nullptr) {
            return pixels;
        }
        for (int y = 0; y < kVolumeSize; ++y) {
            for (int x = 0; x < kVolumeSize; ++x) {
                pixels.push_back(XGetPixel(image, x, y));
            }
        }
        XDestroyImage(image);
        return pixels;
    }

    testing::ScratchSettings settings;
    testing::ClapModule module;
    testing::TestHost host;
    testing::ClapInstance clap{module, host};
    const Clap::PluginGui* gui = nullptr;
    const Clap::PluginTimerSupport* timers = nullptr;
    Display* display = nullptr;
    Window parent = 0;
};

TEST_F(ClapEditor, OffersOnlyAnEmbeddedX11Window) {
    const char* api = nullptr;
    bool floating = true;
    ASSERT_TRUE(gui->preferredApi(clap.plugin, &api, &floating));
    EXPECT_STREQ(api, "x11");
    EXPECT_FALSE(floating);
    EXPECT_TRUE(gui->isApiSupported(clap.plugin, "x11", false));
    EXPECT_FALSE(gui->isApiSupported(clap.plugin, "x11", true));
    EXPECT_FALSE(gui->isApiSupported(clap.plugin, "win32", false));
    EXPECT_FALSE(gui->create(clap.plugin, "wayland", false));
    EXPECT_FALSE(gui->canResize(clap.plugin));
}

TEST_F(ClapEditor, OpensInTheHostsWindowAtItsSize) {
    ASSERT_TRUE(openEditor());
    const std::vector<Window> windows = editorWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(editorWindowSize(), std::make_pair(800, 465));
    EXPECT_EQ(reportedSize(), std::make_pair(800u, 465u));
    EXPECT_TRUE(host.resizeRequests.empty());
    ASSERT_EQ(host.timers.size(), 1u);
    EXPECT_GE(host.timers.begin()->second, 10u);
    EXPECT_LE(host.timers.begin()->second, 50u);
}

// The host's scale reaches the editor when it opens; the host is asked for the room.
TEST_F(ClapEditor, OpensAtTheHostsScale) {
    ASSERT_TRUE(openEditor(2.0));
    EXPECT_EQ(editorWindowSize(), std::make_pair(1600, 930));
    EXPECT_EQ(reportedSize(), std::make_pair(1600u, 930u));
    EXPECT_EQ(host.resizeRequests, (Sizes{{1600, 930}}));
}

TEST_F(ClapEditor, AHostParameterChangeMovesItsKnob) {
    ASSERT_TRUE(openEditor());
    std::vector<unsigned long> before;
    ASSERT_TRUE(idleUntil([&] {
        before = volumeKnobPixels();
        return !before.empty() && before != std::vector<unsigned long>(before.size(), before[0]);
    }));
    testing::EventList events;
    events.add(testing::paramEvent(0, kVolume, 0.1));
    clap.flush(events);
    EXPECT_TRUE(idleUntil([&] { return volumeKnobPixels() != before; }));
    EXPECT_TRUE(clap.sent.events.empty());
}

// The drag is the user's edit: the host hears of it as one gesture on the Volume parameter, in
// the next block or, while it does not run the plug-in, in the flush it was asked for.
TEST_F(ClapEditor, DraggingTheVolumeKnobReachesTheHostAsAGesture) {
    ASSERT_TRUE(openEditor());
    idle();
    const int centreX = kVolumeLeft + 18;
    const int centreY = kVolumeTop + 18;
    testing::sendPointer(display, editorWindow(), ButtonPress, centreX, centreY - 12);
    testing::sendPointer(display, editorWindow(), MotionNotify, centreX - 12, centreY);
    testing::sendPointer(display, editorWindow(), ButtonRelease, centreX - 12, centreY);
    ASSERT_TRUE(idleUntil([&] {
        clap.flush(testing::EventList{});
        return !clap.sent.events.empty() &&
               clap.sent.events.back().type == Clap::kEventParamGestureEnd;
    }));
    EXPECT_GT(host.flushRequests, 0);
    const std::vector<testing::SentEvent>& sent = clap.sent.events;
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front().type, Clap::kEventParamGestureBegin);
    for (const testing::SentEvent& event : sent) {
        EXPECT_EQ(event.paramId, static_cast<std::uint32_t>(kVolume));
    }
    for (std::size_t i = 1; i + 1 < sent.size(); ++i) {
        EXPECT_EQ(sent[i].type, Clap::kEventParamValue);
    }
    EXPECT_NEAR(sent[sent.size() - 2].value, (0.75 - 0.5) / 1.5, 0.02);
    EXPECT_EQ(clap.value(kVolume), sent[sent.size() - 2].value);

    clap.sent.events.clear();
    testing::sendPointer(display, editorWindow(), ButtonPress, centreX, centreY - 12);
    testing::sendPointer(display, editorWindow(), MotionNotify, centreX + 12, centreY);
    testing::sendPointer(display, editorWindow(), ButtonRelease, centreX + 12, centreY);
    ASSERT_TRUE(clap.activate(44100.0, 256));
    ASSERT_TRUE(idleUntil([&] {
        clap.process(256, testing::EventList{});
        return !clap.sent.events.empty() &&
               clap.sent.events.back().type == Clap::kEventParamGestureEnd;
    }));
    EXPECT_EQ(clap.sent.events.front().type, Clap::kEventParamGestureBegin);
}

// The desktop's file dialog program, stood in for by a script that names the file and leaves a
// mark that it ran.
void writeDialogStandIn(const std::filesystem::path& folder, const std::string& chosen) {
    const std::filesystem::path script = folder / "zenity";
    std::ofstream(script) << "#!/bin/sh\necho '" << chosen << "'\ntouch '"
                          << (folder / "answered").string() << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

// The LOAD beside oscillator 1 changes what the session holds: the host is told to mark it
// changed, once; a parameter edit, which the host sees itself, is no such change.
TEST_F(ClapEditor, LoadingAUserWaveformMarksTheSessionChanged) {
    testfiles::TemporaryDirectory folder;
    std::vector<float> cycle(WaveformProvider::kTableSize);
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        cycle[i] = std::sin(static_cast<float>(i) * 0.003f);
    }
    testfiles::writeBytes(folder.file("cycle.raw"), testfiles::rawFloats(cycle));
    writeDialogStandIn(folder.get(), folder.file("cycle.raw"));
    const testing::ScopedVariable path("PATH", folder.get().string() + ":/usr/bin:/bin");
    testing::EventList userWaveform;
    userWaveform.add(testing::paramEvent(0, 0, WaveformProvider::kFirstUserWaveform));
    clap.flush(userWaveform);

    ASSERT_TRUE(openEditor());
    idle();
    testing::sendPointer(display, editorWindow(), ButtonPress, 49 + 49, 48 + 110);
    testing::sendPointer(display, editorWindow(), ButtonRelease, 49 + 49, 48 + 110);
    ASSERT_TRUE(idleUntil([&] { return std::filesystem::exists(folder.get() / "answered"); }));
    EXPECT_TRUE(idleUntil([&] { return host.dirtyMarks > 0; }));
    for (int round = 0; round < 10; ++round) {
        idle();
    }
    EXPECT_EQ(host.dirtyMarks, 1);
}

TEST_F(ClapEditor, TwentyOpeningsLeaveNothingBehind) {
    const int filesBefore = testing::openFileCount();
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(openEditor(round % 2 == 0 ? 1.0 : 2.0)) << round;
        idle();
        EXPECT_EQ(editorWindows().size(), 1u);
        gui->destroy(clap.plugin);
        EXPECT_TRUE(host.timers.empty()) << round;
    }
    EXPECT_TRUE(editorWindows().empty());
    EXPECT_EQ(testing::openFileCount(), filesBefore);
}

} // namespace
} // namespace Korvatune
