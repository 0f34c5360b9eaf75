#include "EditorTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

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

// Instances whose editors open on threads of their own share one set of images per size; the
// set and its knob frames are drawn by whichever thread comes first.
TEST(EditorConcurrency, EditorsOnSeveralThreadsShareTheirImages) {
    constexpr int kEditors = 3;
    std::vector<Gui::Bitmap> pictures(kEditors);
    std::vector<std::thread> threads;
    for (int i = 0; i < kEditors; ++i) {
        threads.emplace_back([&pictures, i] {
            testing::SynthDriver synth;
            DrawTestEditor& editor = testing::editorOf(synth.get());
            for (int round = 0; round < 3; ++round) {
                editor.openOffscreen(Gui::Scale(125));
                testing::dispatch(synth.get(), effEditIdle);
                editor.getFrame()->redrawDirty();
                pictures[static_cast<std::size_t>(i)] = editor.getFrame()->frameBuffer();
                editor.close();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const Gui::Bitmap& picture : pictures) {
        ASSERT_EQ(picture.width(), 1000);
        EXPECT_TRUE(std::equal(picture.data(), picture.data() + 1000 * 581, pictures[0].data()));
    }
}

} // namespace
} // namespace Korvatune
