#include "EditorTestSupport.h"
#include "plugin/Instrument.h"
#include "plugin/OfferedEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
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

// A host restores states (program name and user waveforms) on its own thread while the audio
// thread renders and the user-interface thread redraws the pictures of those very tables.
TEST(EditorConcurrency, RestoresWhileTheEditorRedraws) {
    Instrument instrument("/nonexistent", offeredEditor());
    DrawTestEditor& editor = *drawTestEditorOf(instrument.synth());
    editor.openOffscreen();
    for (int oscillator = 1; oscillator <= kNumOscillators; ++oscillator) {
        instrument.setParameterValue(
            oscillatorKey(oscillator, kOscWaveform),
            static_cast<float>(WaveformProvider::kFirstUserWaveform + oscillator - 1) / 29.0f);
    }
    auto states = std::make_unique<std::array<RestoredState, 2>>();
    for (std::size_t which = 0; which < states->size(); ++which) {
        RestoredState& state = (*states)[which];
        state.programName = which == 0 ? "First restored kick" : "Second";
        for (std::size_t slot = 0; slot < state.userWaveforms.size(); ++slot) {
            WaveformTable table;
            table.fill(which == 0 ? 0.5f : -0.25f);
            state.userWaveforms[slot] = table;
        }
    }
    instrument.activate();
    std::atomic<bool> done{false};
    std::atomic<int> idles{0};
    std::thread userInterface([&] {
        while (!done.load()) {
            editor.refreshAll();
            editor.idle();
            editor.getFrame()->redrawDirty();
            ++idles;
        }
    });
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        const std::uint8_t noteOn[] = {0x90, 36, 100};
        for (int block = 0; !done.load(); ++block) {
            if (block % 50 == 0) {
                instrument.queueMidi(noteOn, 0);
            }
            instrument.render(left.data(), right.data(), 256);
        }
    });
    for (int round = 0; round < 200 || idles.load() < 20; ++round) {
        instrument.restore((*states)[static_cast<std::size_t>(round % 2)]);
    }
    instrument.restore((*states)[1]);
    done = true;
    userInterface.join();
    audio.join();
    instrument.deactivate();
    EXPECT_EQ(instrument.state()->programName, "Second");
    EXPECT_EQ(instrument.state()->userWaveforms[0][100], -0.25f);
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
