#include "lv2bundle/BundleTestHost.h"

#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/ui/ui.h>
#include <suil/suil.h>

// Xlib defines macros (None, Bool, ...) that would break the test framework's headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "gui/Scale.h"
#include "support/SettingsTestSupport.h"
#include "support/X11HostDisplay.h"
#include "waveforms/WaveformProvider.h"

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

struct PortWrite {
    std::uint32_t port;
    std::uint32_t size;
    std::uint32_t protocol;
    float value;
};

// The Volume knob's square on the Synth page, which starts at (49, 48) in the editor.
constexpr int kVolumeLeft = 49 + 642;
constexpr int kVolumeTop = 48 + 300;
constexpr int kVolumeSize = 37;

// A host that embeds the editor through suil in a window of its own, on its own connection. The
// editor's size depends on no setting of the user's or the environment's.
class Lv2Editor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.plugin, nullptr);
        std::string skipReason;
        display = testing::openHostDisplay(skipReason);
        if (display == nullptr) {
            GTEST_SKIP() << skipReason;
        }
        parent = testing::createParentWindow(display, 800, 465);
        suilHost = suil_host_new(&Lv2Editor::recordWrite, nullptr, nullptr, nullptr);
        suil_host_set_touch_func(suilHost, &Lv2Editor::recordTouch);
    }

    void TearDown() override {
        if (display == nullptr) {
            return;
        }
        closeEditor();
        suil_host_free(suilHost);
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }

    // With the options given, if any, as the host's UI options.
    bool openEditor(std::vector<LV2_Options_Option> options = {}) {
        LilvUIs* uis = lilv_plugin_get_uis(host.plugin);
        const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
        char* bundle = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_bundle_uri(ui)), nullptr);
        char* binary = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
        LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(parent)};
        LV2_Feature instanceFeature{LV2_INSTANCE_ACCESS_URI,
                                    lilv_instance_get_handle(lv2.instance)};
        LV2_Feature resizeFeature{LV2_UI__resize, &resize};
        options.push_back({LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr});
        LV2_Feature optionsFeature{LV2_OPTIONS__options, options.data()};
        std::vector<const LV2_Feature*> features = {&parentFeature, &instanceFeature,
                                                    &resizeFeature, host.urids.mapFeature()};
        if (options.size() > 1) {
            features.push_back(&optionsFeature);
        }
        features.push_back(nullptr);
        ui_ = suil_instance_new(suilHost, this, LV2_UI__X11UI, Lv2::kPluginUri,
                                lilv_node_as_uri(lilv_ui_get_uri(ui)), LV2_UI__X11UI, bundle,
                                binary, features.data());
        lilv_free(bundle);
        lilv_free(binary);
        lilv_uis_free(uis);
        return ui_ != nullptr;
    }

    void closeEditor() {
        if (ui_ != nullptr) {
            suil_instance_free(ui_);
            ui_ = nullptr;
        }
    }

    // A float option as hosts pass ui:scaleFactor; the value must outlive the opening.
    LV2_Options_Option floatOption(const char* key, const float& value) {
        const LV2_URID floatType = host.urids.id(LV2_ATOM__Float);
        return {LV2_OPTIONS_INSTANCE, 0, host.urids.id(key), sizeof value, floatType, &value};
    }

    Window editorWindow() const {
        return static_cast<Window>(reinterpret_cast<std::uintptr_t>(suil_instance_get_widget(ui_)));
    }

    void idle() {
        const auto* idle = static_cast<const LV2UI_Idle_Interface*>(
            suil_instance_extension_data(ui_, LV2_UI__idleInterface));
        ASSERT_NE(idle, nullptr);
        idle->idle(suil_instance_get_handle(ui_));
        XSync(display, False);
    }

    // Idles the editor until the condition holds or five seconds have passed.
    bool idleUntil(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition() && std::chrono::steady_clock::now() < deadline) {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return condition();
    }

    std::vector<Window> editorWindows() { return testing::childWindows(display, parent); }

    std::pair<int, int> editorWindowSize() {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, editorWindow(), &attributes);
        return {attributes.width, attributes.height};
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

    void sendPointer(int type, int x, int y) {
        testing::sendPointer(display, editorWindow(), type, x, y);
    }

    // The About button, then the size menu on the About page, then its entry for 200 %, the
    // fifth of seven above the menu.
    void chooseTwoHundredPercent() {
        const std::pair<int, int> clicks[] = {{443, 441}, {713, 394}, {713, 346}};
        for (const auto& [x, y] : clicks) {
            sendPointer(ButtonPress, x, y);
            sendPointer(ButtonRelease, x, y);
        }
    }

    static void recordWrite(SuilController self, std::uint32_t port, std::uint32_t size,
                            std::uint32_t protocol, const void* buffer) {
        float value = 0.0f;
        if (size == sizeof value) {
            value = *static_cast<const float*>(buffer);
        }
        static_cast<Lv2Editor*>(self)->writes.push_back({port, size, protocol, value});
    }

    static void recordTouch(SuilController self, std::uint32_t port, bool grabbed) {
        static_cast<Lv2Editor*>(self)->touches.emplace_back(port, grabbed);
    }

    testing::ScratchSettings settings;
    testing::BundleCopy copy;
    testing::LilvHost host{copy.folder()};
    testing::Lv2Instance lv2{host, 44100.0};
    Display* display = nullptr;
    Window parent = 0;
    SuilHost* suilHost = nullptr;
    SuilInstance* ui_ = nullptr;
    std::vector<PortWrite> writes;
    std::vector<std::pair<std::uint32_t, bool>> touches;
    std::vector<std::pair<int, int>> resizeRequests;
    bool hostMakesRoom = true;
    // Feature data lives as long as the UI, which may keep it.
    LV2UI_Resize resize{this, [](LV2UI_Feature_Handle self, int width, int height) {
                            auto& editor = *static_cast<Lv2Editor*>(self);
                            editor.resizeRequests.emplace_back(width, height);
                            return editor.hostMakesRoom ? 0 : 1;
                        }};
};

using Sizes = std::vector<std::pair<int, int>>;

TEST_F(Lv2Editor, EmbedsTheEditorAtItsSize) {
    ASSERT_TRUE(openEditor());
    const std::vector<Window> windows = editorWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], editorWindow());
    EXPECT_EQ(editorWindowSize(), std::make_pair(800, 465));
    EXPECT_EQ(resizeRequests, (Sizes{{800, 465}}));
}

TEST_F(Lv2Editor, OpensAtTheHostsScaleFactor) {
    const float twice = 2.0f;
    ASSERT_TRUE(openEditor({floatOption(LV2_UI__scaleFactor, twice)}));
    EXPECT_EQ(editorWindowSize(), std::make_pair(1600, 930));
    EXPECT_EQ(resizeRequests, (Sizes{{1600, 930}}));
}

// Another option of the same type and value is no scale factor.
TEST_F(Lv2Editor, OtherOptionsLeaveTheEditorAtItsDesignSize) {
    const float notAScale = 2.0f;
    ASSERT_TRUE(openEditor({floatOption(LV2_PARAMETERS__sampleRate, notAScale)}));
    EXPECT_EQ(editorWindowSize(), std::make_pair(800, 465));
    EXPECT_EQ(resizeRequests, (Sizes{{800, 465}}));
}

TEST_F(Lv2Editor, OmbrafellScaleComesBeforeTheHostsScaleFactor) {
    const testing::ScopedVariable forced("OMBRAFELL_SCALE", "150");
    const float twice = 2.0f;
    ASSERT_TRUE(openEditor({floatOption(LV2_UI__scaleFactor, twice)}));
    EXPECT_EQ(editorWindowSize(), std::make_pair(1200, 698));
}

TEST_F(Lv2Editor, ChoosingASizeAsksTheHostAndTheWindowTakesIt) {
    ASSERT_TRUE(openEditor());
    idle();
    chooseTwoHundredPercent();
    ASSERT_TRUE(idleUntil([&] { return resizeRequests.size() == 2; }));
    EXPECT_EQ(resizeRequests[1], std::make_pair(1600, 930));
    EXPECT_EQ(editorWindowSize(), std::make_pair(1600, 930));
}

TEST_F(Lv2Editor, AHostThatRefusesKeepsTheOldSize) {
    ASSERT_TRUE(openEditor());
    idle();
    hostMakesRoom = false;
    chooseTwoHundredPercent();
    ASSERT_TRUE(idleUntil([&] { return resizeRequests.size() == 2; }));
    EXPECT_EQ(resizeRequests[1], std::make_pair(1600, 930));
    idle();
    EXPECT_EQ(resizeRequests.size(), 2u) << "asked once";
    EXPECT_EQ(editorWindowSize(), std::make_pair(800, 465));
    EXPECT_EQ(editorWindows().size(), 1u);
}

TEST_F(Lv2Editor, APortEventMovesItsKnob) {
    ASSERT_TRUE(openEditor());
    std::vector<unsigned long> before;
    ASSERT_TRUE(idleUntil([&] {
        before = volumeKnobPixels();
        return !before.empty() && before != std::vector<unsigned long>(before.size(), before[0]);
    }));
    const float quiet = 0.1f;
    suil_instance_port_event(ui_, kVolume, sizeof quiet, 0, &quiet);
    EXPECT_TRUE(idleUntil([&] { return volumeKnobPixels() != before; }));
    EXPECT_TRUE(writes.empty());
}

// The drag is the user's edit, so the host hears of it as writes to the Volume port.
TEST_F(Lv2Editor, DraggingTheVolumeKnobWritesItsPort) {
    ASSERT_TRUE(openEditor());
    idle();
    const int centreX = kVolumeLeft + 18;
    const int centreY = kVolumeTop + 18;
    sendPointer(ButtonPress, centreX, centreY - 12);
    sendPointer(MotionNotify, centreX - 12, centreY);
    sendPointer(ButtonRelease, centreX - 12, centreY);
    ASSERT_TRUE(idleUntil([&] { return !writes.empty(); }));
    for (const PortWrite& write : writes) {
        EXPECT_EQ(write.port, static_cast<std::uint32_t>(kVolume));
        EXPECT_EQ(write.size, sizeof(float));
        EXPECT_EQ(write.protocol, 0u);
    }
    EXPECT_NEAR(writes.back().value, (0.75f - 0.5f) / 1.5f, 0.02f);
    using Touches = std::vector<std::pair<std::uint32_t, bool>>;
    EXPECT_EQ(touches, (Touches{{kVolume, true}, {kVolume, false}}));
}

// The desktop's file dialog program, stood in for by a script that names the file and leaves a
// mark that it ran.
void writeDialogStandIn(const std::filesystem::path& folder, const std::string& chosen) {
    const std::filesystem::path script = folder / "zenity";
    std::ofstream(script) << "#!/bin/sh\necho '" << chosen << "'\ntouch '"
                          << (folder / "answered").string() << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

// The LOAD beside oscillator 1 changes what the session holds, and the host is told so through
// the notify port, once; playing tells it nothing.
TEST_F(Lv2Editor, LoadingAUserWaveformTellsTheHostTheStateChanged) {
    testfiles::TemporaryDirectory folder;
    std::vector<float> cycle(WaveformProvider::kTableSize);
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        cycle[i] = std::sin(static_cast<float>(i) * 0.003f);
    }
    testfiles::writeBytes(folder.file("cycle.raw"), testfiles::rawFloats(cycle));
    writeDialogStandIn(folder.get(), folder.file("cycle.raw"));
    const testing::ScopedVariable path("PATH", folder.get().string() + ":/usr/bin:/bin");
    lv2.controls[0] = static_cast<float>(WaveformProvider::kFirstUserWaveform) / 29.0f;
    lv2.activate();
    lv2.render(64);
    EXPECT_EQ(lv2.stateChangeNotices(), 0);
    lv2.deactivate();

    ASSERT_TRUE(openEditor());
    idle();
    sendPointer(ButtonPress, 49 + 49, 48 + 110);
    sendPointer(ButtonRelease, 49 + 49, 48 + 110);
    ASSERT_TRUE(idleUntil([&] { return std::filesystem::exists(folder.get() / "answered"); }));
    for (int round = 0; round < 20; ++round) {
        idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    lv2.activate();
    lv2.render(64);
    EXPECT_EQ(lv2.stateChangeNotices(), 1);
    lv2.render(64);
    EXPECT_EQ(lv2.stateChangeNotices(), 0);
}

TEST_F(Lv2Editor, TwentyOpeningsLeaveNoWindowBehind) {
    const int filesBefore = testing::openFileCount();
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(openEditor()) << round;
        idle();
        EXPECT_EQ(editorWindows().size(), 1u);
        closeEditor();
    }
    EXPECT_TRUE(editorWindows().empty());
    EXPECT_EQ(testing::openFileCount(), filesBefore);
}

// Real pointer, wheel and key events from the X server's test extension, at a size: the LV2
// editor answers them as the VST 2 one does, writing the ports the host records.
class Lv2EditorGestures : public Lv2Editor {
protected:
    // The port's default, program 0's Volume.
    static constexpr float kDefaultVolume = 0.842f;

    bool openAt(int percent) {
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
            return false;
        }
        scale_ = Gui::Scale(percent);
        scaleFactor_ = static_cast<float>(percent) / 100.0f;
        XResizeWindow(display, parent, static_cast<unsigned>(scale_.pixels(800)),
                      static_cast<unsigned>(scale_.pixels(465)));
        if (!openEditor({floatOption(LV2_UI__scaleFactor, scaleFactor_)})) {
            return false;
        }
        // As a window manager gives the host's window the keyboard.
        XSetInputFocus(display, parent, RevertToParent, CurrentTime);
        return true;
    }
    void settle() {
        XSync(display, False);
        for (int round = 0; round < 20; ++round) {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    Gui::Point volumeKnob() const {
        return scale_.point({kVolumeLeft + kVolumeSize / 2, kVolumeTop + kVolumeSize / 2});
    }
    void moveTo(Gui::Point where) {
        XTestFakeMotionEvent(display, DefaultScreen(display), where.x, where.y, CurrentTime);
        settle();
    }
    void buttonClicks(unsigned int button, int count) {
        for (int click = 0; click < count; ++click) {
            XTestFakeButtonEvent(display, button, True, CurrentTime);
            XTestFakeButtonEvent(display, button, False, CurrentTime);
        }
        settle();
    }
    void undoKey() {
        const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
        const KeyCode z = XKeysymToKeycode(display, XK_z);
        XTestFakeKeyEvent(display, control, True, CurrentTime);
        XTestFakeKeyEvent(display, z, True, CurrentTime);
        XTestFakeKeyEvent(display, z, False, CurrentTime);
        XTestFakeKeyEvent(display, control, False, CurrentTime);
        settle();
    }
    void setVolume(float value) {
        suil_instance_port_event(ui_, kVolume, sizeof value, 0, &value);
        settle();
        writes.clear();
    }
    float lastVolumeWritten() const {
        for (auto write = writes.rbegin(); write != writes.rend(); ++write) {
            if (write->port == static_cast<std::uint32_t>(kVolume)) {
                return write->value;
            }
        }
        return -1.0f;
    }

    // The window lies at the screen's corner; the editor at the window's.
    void runGestures(int percent) {
        if (!openAt(percent)) {
            GTEST_SKIP() << "the X server has no test extension";
        }
        settle();
        setVolume(0.2f);
        moveTo(volumeKnob());
        buttonClicks(Button1, 2);
        EXPECT_FLOAT_EQ(lastVolumeWritten(), kDefaultVolume);

        setVolume(0.5f);
        moveTo(volumeKnob());
        buttonClicks(4, 3);
        EXPECT_NEAR(lastVolumeWritten(), 0.53f, 1e-5f);
        undoKey();
        EXPECT_FLOAT_EQ(lastVolumeWritten(), 0.5f);
    }

    Gui::Scale scale_;
    float scaleFactor_ = 1.0f;
};

TEST_F(Lv2EditorGestures, DoubleClickWheelAndUndoWriteThePortsAt100Percent) {
    runGestures(100);
}

TEST_F(Lv2EditorGestures, DoubleClickWheelAndUndoWriteThePortsAt200Percent) {
    runGestures(200);
}

} // namespace
} // namespace Korvatune
