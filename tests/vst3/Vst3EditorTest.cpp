#include "vst3/EditorWaveformLoad.h"
#include "vst3/Vst3TestHost.h"

#include "plugin/InstrumentState.h"
#include "plugin/vst3/Vst3Controller.h"
#include "plugin/vst3/Vst3View.h"

#include <gtest/gtest.h>

// Xlib defines macros (None, Bool, ...) that would break the test framework's headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/SettingsTestSupport.h"
#include "support/X11HostDisplay.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace Korvatune {
namespace {

using namespace Vst3;
using Sizes = std::vector<std::pair<int, int>>;

// The Volume knob's square on the Synth page, which starts at (49, 48) in the editor.
constexpr int kVolumeLeft = 49 + 642;
constexpr int kVolumeTop = 48 + 300;
constexpr int kVolumeSize = 37;

// The host's frame around the view, and its run loop, whose timers the test fires.
class HostFrame : public IPlugFrame, public IRunLoop {
public:
    tresult VST3_API queryInterface(const char* iid, void** object) override {
        if (sameUid(iid, IPlugFrame::iid) || sameUid(iid, FUnknown::iid)) {
            *object = static_cast<IPlugFrame*>(this);
        } else if (sameUid(iid, IRunLoop::iid)) {
            *object = static_cast<IRunLoop*>(this);
        } else {
            *object = nullptr;
            return kNoInterface;
        }
        return kResultOk;
    }
    std::uint32_t VST3_API addRef() override { return 1; }
    std::uint32_t VST3_API release() override { return 1; }

    // As hosts do: the view hears of the new size before the call returns.
    tresult VST3_API resizeView(IPlugView* view, ViewRect* size) override {
        requests.emplace_back(size->right - size->left, size->bottom - size->top);
        if (!makesRoom) {
            return kResultFalse;
        }
        view->onSize(size);
        return kResultOk;
    }

    tresult VST3_API registerEventHandler(IEventHandler*, int) override { return kResultOk; }
    tresult VST3_API unregisterEventHandler(IEventHandler*) override { return kResultOk; }
    tresult VST3_API registerTimer(ITimerHandler* handler, std::uint64_t interval) override {
        timers.push_back(handler);
        lastInterval = interval;
        return kResultOk;
    }
    tresult VST3_API unregisterTimer(ITimerHandler* handler) override {
        std::erase(timers, handler);
        return kResultOk;
    }

    void fireTimers() {
        for (ITimerHandler* timer : std::vector<ITimerHandler*>(timers)) {
            timer->onTimer();
        }
    }

    Sizes requests;
    bool makesRoom = true;
    std::vector<ITimerHandler*> timers;
    std::uint64_t lastInterval = 0;
};

class Vst3Editor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(controller.edit.get(), nullptr);
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
        closeEditor();
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }

    // At the host's content scale, when it gives one.
    bool openEditor(float scale = 0.0f) {
        view = controller.edit->createView("editor");
        if (view == nullptr) {
            return false;
        }
        view->setFrame(&frame);
        if (scale > 0.0f) {
            IPlugViewContentScaleSupport* scaling =
                testing::queried<IPlugViewContentScaleSupport>(view);
            EXPECT_NE(scaling, nullptr);
            if (scaling != nullptr) {
                EXPECT_EQ(scaling->setContentScaleFactor(scale), kResultOk);
                scaling->release();
            }
        }
        EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
        return view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID) ==
               kResultOk;
    }

    void closeEditor() {
        if (view != nullptr) {
            view->removed();
            view->setFrame(nullptr);
            view->release();
            view = nullptr;
        }
    }

    void idle() {
        frame.fireTimers();
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

    Window editorWindow() {
        const std::vector<Window> windows = testing::childWindows(display, parent);
        return windows.size() == 1 ? windows[0] : 0;
    }

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

    testing::ScratchSettings settings;
    testing::LoadedModule module;
    testing::Controller controller{module};
    HostFrame frame;
    IPlugView* view = nullptr;
    Display* display = nullptr;
    Window parent = 0;
};

TEST_F(Vst3Editor, OpensInTheHostsWindowAtItsSize) {
    ASSERT_TRUE(openEditor());
    ASSERT_NE(editorWindow(), 0u);
    EXPECT_EQ(editorWindowSize(), std::make_pair(800, 465));
    EXPECT_EQ(frame.requests, (Sizes{{800, 465}}));
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(std::make_pair(size.right - size.left, size.bottom - size.top),
              std::make_pair(800, 465));
    ASSERT_EQ(frame.timers.size(), 1u) << "the editor idles on the host's run loop";
    EXPECT_GE(frame.lastInterval, 10u);
    EXPECT_LE(frame.lastInterval, 50u);
}

TEST_F(Vst3Editor, OpensAtTheHostsContentScale) {
    ASSERT_TRUE(openEditor(2.0f));
    EXPECT_EQ(editorWindowSize(), std::make_pair(1600, 930));
    EXPECT_EQ(frame.requests, (Sizes{{1600, 930}}));
}

TEST_F(Vst3Editor, AParameterSetByTheHostMovesItsKnob) {
    ASSERT_TRUE(openEditor());
    std::vector<unsigned long> before;
    ASSERT_TRUE(idleUntil([&] {
        before = volumeKnobPixels();
        return !before.empty() && before != std::vector<unsigned long>(before.size(), before[0]);
    }));
    ASSERT_EQ(controller.edit->setParamNormalized(kVolume, 0.1), kResultOk);
    EXPECT_TRUE(idleUntil([&] { return volumeKnobPixels() != before; }));
    EXPECT_TRUE(controller.handler.edits.empty());
}

// The drag is the user's edit, so the host hears of it as one gesture on Volume.
TEST_F(Vst3Editor, DraggingTheVolumeKnobIsOneEditOfItsParameter) {
    ASSERT_TRUE(openEditor());
    idle();
    const int centreX = kVolumeLeft + 18;
    const int centreY = kVolumeTop + 18;
    testing::sendPointer(display, editorWindow(), ButtonPress, centreX, centreY - 12);
    testing::sendPointer(display, editorWindow(), MotionNotify, centreX - 12, centreY);
    testing::sendPointer(display, editorWindow(), ButtonRelease, centreX - 12, centreY);
    const auto& edits = controller.handler.edits;
    ASSERT_TRUE(idleUntil([&] { return !edits.empty() && edits.back().kind == 'e'; }));
    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front().kind, 'b');
    for (std::size_t i = 0; i < edits.size(); ++i) {
        EXPECT_EQ(edits[i].id, static_cast<ParamID>(kVolume)) << i;
        if (i > 0 && i + 1 < edits.size()) {
            EXPECT_EQ(edits[i].kind, 'p') << i;
        }
    }
    EXPECT_NEAR(edits[edits.size() - 2].value, (0.75 - 0.5) / 1.5, 0.02);
}

// The host's timer, which idles the open editor, also carries what LOAD changed to the
// processor: only then, and once.
TEST_F(Vst3Editor, AWaveformLoadedInTheEditorReachesTheProcessorOnTheHostsTimer) {
    testing::Processor processor(testing::createLinked<IComponent>(kProcessorUid), 44100.0);
    testing::Controller linked(testing::createLinked<IEditController>(kControllerUid));
    testing::Connection connection(processor, linked);
    ASSERT_TRUE(connection.connected);
    Instrument& instrument = static_cast<Vst3Controller*>(linked.edit.get())->instrument();
    ASSERT_EQ(linked.edit->setParamNormalized(kOscWaveform, testing::kUser1), kResultOk);
    testing::Held<IPlugView> linkedView(linked.edit->createView("editor"));
    ASSERT_NE(linkedView.get(), nullptr);
    linkedView->setFrame(&frame);
    ASSERT_EQ(linkedView->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID),
              kResultOk);
    testfiles::TemporaryDirectory folder;
    ASSERT_EQ(testing::loadWaveformThroughEditor(*drawTestEditorOf(instrument.synth()), folder),
              1u);
    const std::vector<std::uint8_t> before = processor.savedState();

    idle();
    idle();
    linkedView->removed();
    linkedView->setFrame(nullptr);
    EXPECT_EQ(linked.handler.dirtyCalls, std::vector<bool>{true});
    const auto saved = decodeStateRecord(processor.savedState());
    ASSERT_TRUE(saved->userWaveforms[0].has_value());
    EXPECT_EQ(*saved->userWaveforms[0], instrument.state()->userWaveforms[0]);
    EXPECT_NE(*decodeStateRecord(before)->userWaveforms[0], *saved->userWaveforms[0]);
}

float peakOf(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (const float sample : samples) {
        peak = std::max(peak, std::abs(sample));
    }
    return peak;
}

// The editor drives the controller's copy of the instrument, which renders nothing: what it
// plays, and the program it steps to, must reach the processor.
TEST_F(Vst3Editor, AuditionAndProgramStepsInTheEditorReachTheProcessor) {
    testing::Processor processor(testing::createLinked<IComponent>(kProcessorUid), 44100.0);
    testing::Controller linked(testing::createLinked<IEditController>(kControllerUid));
    testing::Connection connection(processor, linked);
    ASSERT_TRUE(connection.connected);
    Instrument& instrument = static_cast<Vst3Controller*>(linked.edit.get())->instrument();
    testing::Held<IPlugView> linkedView(linked.edit->createView("editor"));
    ASSERT_NE(linkedView.get(), nullptr);
    linkedView->setFrame(&frame);
    ASSERT_EQ(linkedView->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID),
              kResultOk);
    Gui::Frame& editorFrame = *drawTestEditorOf(instrument.synth())->getFrame();

    processor.render(4096);
    EXPECT_LT(peakOf(processor.left), 1e-6f);
    testing::clickOnPage(editorFrame, {675, 279});
    idle();
    processor.render(4096);
    EXPECT_GT(peakOf(processor.left), 0.1f);

    testing::clickOnPage(editorFrame, {660, 279});
    EXPECT_EQ(instrument.currentProgram(), 1);
    const auto edited = [&](int index) {
        return std::any_of(linked.handler.edits.begin(), linked.handler.edits.end(),
                           [&](const auto& edit) {
                               return edit.kind == 'p' && edit.id == static_cast<ParamID>(index);
                           });
    };
    EXPECT_TRUE(edited(kVolume));
    EXPECT_TRUE(edited(kPitchAmount));
    linkedView->removed();
    linkedView->setFrame(nullptr);
}

TEST_F(Vst3Editor, TwentyOpeningsLeaveNothingBehind) {
    const int filesBefore = testing::openFileCount();
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(openEditor()) << round;
        idle();
        EXPECT_NE(editorWindow(), 0u);
        closeEditor();
        EXPECT_TRUE(frame.timers.empty()) << round;
    }
    EXPECT_TRUE(testing::childWindows(display, parent).empty());
    EXPECT_EQ(testing::openFileCount(), filesBefore);
}

} // namespace
} // namespace Korvatune
