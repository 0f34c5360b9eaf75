#include "EditorTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace Korvatune {
namespace {

// Host automation and program changes arrive on the audio thread while the user-interface
// thread idles the open editor; built with ThreadSanitizer this proves that only flags and
// atomics cross between them.
TEST(EditorConcurrency, AutomationWhileTheEditorIdles) {
    testing::SynthDriver synth;
    AEffect* effect = synth.get();
    DrawTestEditor& editor = testing::editorOf(effect);
    editor.openOffscreen();
    std::atomic<bool> done{false};
    std::atomic<int> idles{0};
    std::thread userInterface([&] {
        while (!done.load()) {
            testing::dispatch(effect, effEditIdle);
            editor.getFrame()->redrawDirty();
            ++idles;
        }
    });
    for (int block = 0; block < 400 || idles.load() < 50; ++block) {
        effect->setParameter(effect, block % kNumProgramKeys, static_cast<float>(block % 7) / 7.0f);
        if (block % 40 == 0) {
            testing::dispatch(effect, effSetProgram, 0, (block / 40) % 45);
            synth.noteOn(36);
        }
        synth.render(128);
    }
    done = true;
    userInterface.join();
    testing::dispatch(effect, effEditIdle);
    ControlsGUI* page = editor.synthPage();
    ASSERT_NE(page, nullptr);
    EXPECT_FLOAT_EQ(page->control(kVolume)->value(), effect->getParameter(effect, kVolume));
    EXPECT_GE(idles.load(), 50);
}

} // namespace
} // namespace Korvatune
