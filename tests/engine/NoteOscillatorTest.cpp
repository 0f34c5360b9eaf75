#include "VoiceTestSupport.h"

#include "engine/OscillatorPhase.h"
#include "engine/SampleFunctions.h"
#include "filters/BiquadTweakedButterworthHP.h"
#include "filters/Filter_MoogVCF_variant1.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace Korvatune {
namespace {

constexpr int kFrames = 300;
using Outputs = std::array<std::array<float, Note::kOscillators>, 2>;

TEST(Saturate, BypassesAtZeroRaisesSmallAmountsAndClamps) {
    EXPECT_EQ(saturate(3.5f, 0.0f), 3.5f);
    EXPECT_EQ(saturate(0.01f, 0.01f), saturate(0.01f, 0.0927902f));
    EXPECT_EQ(saturate(0.01f, -0.5f), saturate(0.01f, 0.0927902f));
    // At the lowest gain a full-scale input comes out at full scale.
    EXPECT_NEAR(saturate(1.0f, 0.05f), 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(saturate(-0.05f, 0.5f), std::atan(-0.05f) / std::atan(1.0f) * 0.5f * 10.777f);
    EXPECT_EQ(saturate(-0.3f, 1.0f), -1.0f);
}

// Two voices on the same note with their own owners: a test changes settings of one and
// compares the oscillator outputs frame by frame.
class NotePair : public ::testing::Test {
protected:
    void SetUp() override {
        for (int side = 0; side < 2; ++side) {
            setAllOscillators(program(side), kOscVolume, 1.0f);
            setAllOscillators(program(side), kOscFilterCutoff, 0.6f);
            setAllOscillators(program(side), kOscFilterResonance, 0.3f);
            notes[side].setOwner(owners[side].get());
            notes[side].setNoteNumber(45);
            notes[side].start(127);
        }
    }

    VstXSynthProgram& program(int side) { return owners[side]->program; }

    Outputs renderAndStep() {
        Outputs outputs{};
        for (int side = 0; side < 2; ++side) {
            notes[side].renderFrame();
            for (int k = 0; k < Note::kOscillators; ++k) {
                outputs[side][k] = notes[side].getOscillatorOutput(k);
            }
            stepVoice(notes[side]);
        }
        return outputs;
    }

    std::array<std::unique_ptr<TestAudioEffect>, 2> owners{makeVoiceTestOwner(),
                                                           makeVoiceTestOwner()};
    std::array<Note, 2> notes;
};

TEST_F(NotePair, FullRingMixWithAnIdleModulatorSilencesOnlyTheThirdOscillator) {
    setAllOscillators(program(1), kOscRingModAmount, 1.0f);
    for (int frame = 0; frame < kFrames; ++frame) {
        const Outputs outputs = renderAndStep();
        ASSERT_EQ(outputs[1][0], outputs[0][0]) << frame;
        ASSERT_EQ(outputs[1][1], outputs[0][1]) << frame;
        ASSERT_EQ(outputs[1][2], 0.0f) << frame;
    }
}

TEST_F(NotePair, ThirdOscillatorScalesBeforeRingMixing) {
    // The high-pass alone is linear, so oscillator 3 keeps 1 - r * r of its output.
    setAllOscillators(program(0), kOscFilterType, 1.0f);
    setAllOscillators(program(1), kOscFilterType, 1.0f);
    setAllOscillators(program(1), kOscRingModAmount, 0.5f);
    for (int frame = 0; frame < kFrames; ++frame) {
        const Outputs outputs = renderAndStep();
        ASSERT_EQ(outputs[1][0], outputs[0][0]) << frame;
        ASSERT_NEAR(outputs[1][2], 0.75f * outputs[0][2], 1e-5f) << frame;
    }
}

TEST_F(NotePair, FullFilterModulationClosesOnlyTheSecondOscillator) {
    setAllOscillators(program(1), kOscFiltModAmount, 1.0f);
    setOscillator(program(1), 2, kOscModFrequency, 0.37f);
    setOscillator(program(0), 2, kOscModFrequency, 0.37f);
    setOscillator(program(0), 2, kOscFilterCutoff, 0.0f);
    for (int frame = 0; frame < kFrames; ++frame) {
        const Outputs outputs = renderAndStep();
        for (int k = 0; k < Note::kOscillators; ++k) {
            ASSERT_EQ(outputs[1][k], outputs[0][k]) << frame << " " << k;
        }
    }
}

TEST(NoteOscillator, FrameFollowsTheOscillatorChain) {
    auto owner = makeVoiceTestOwner();
    VstXSynthProgram& program = owner->program;
    setOscillator(program, 2, kOscWaveform, 0.0f);
    setOscillator(program, 2, kOscVolume, 0.8f);
    setOscillator(program, 2, kOscPan, 0.25f);
    setOscillator(program, 2, kOscSat, 0.3f);
    setOscillator(program, 2, kOscInvertWaveform, 1.0f);
    setOscillator(program, 2, kOscFilterType, 0.5f);
    setOscillator(program, 2, kOscFilterCutoff, 0.7f);
    setOscillator(program, 2, kOscFilterResonance, 0.4f);
    Note note;
    note.setOwner(owner.get());
    note.setNoteNumber(40);
    note.start(100);

    const float* sine = owner->provider.getTableAt(0);
    Filter_MoogVCF_variant1 lowPass;
    Note::HighPass highPass;
    const float gain = 100.0f / 127.0f;
    for (int frame = 0; frame < kFrames; ++frame) {
        const float level = note.getEnvelopeLevel();
        const float sample = saturate(invertSample(sine[tableIndex(note.getPhase(1))]), 0.3f);
        const float mean = (1.0f - 0.5f) * lowPass.process(sample, 0.7f, 0.4f) +
                           0.5f * highPass.process(sample, 0.7f, 0.4f);
        const float output = 0.8f * mean;

        const StereoSample rendered = note.renderFrame();
        ASSERT_EQ(note.getOscillatorOutput(1), output) << frame;
        ASSERT_EQ(rendered.left, gain * (level * ((1.0f - 0.25f) * output))) << frame;
        ASSERT_EQ(rendered.right, gain * ((0.25f * output) * level)) << frame;
        stepVoice(note);
    }
}

TEST(NoteOscillator, WaveformAndInversionChangesAreHeardOnTheNextFrame) {
    auto owner = makeVoiceTestOwner();
    VstXSynthProgram& program = owner->program;
    setOscillator(program, 1, kOscVolume, 1.0f);
    Note note;
    note.setOwner(owner.get());
    note.setNoteNumber(45);
    note.start(127);

    Filter_MoogVCF_variant1 lowPass;
    Note::HighPass highPass;
    for (int frame = 0; frame < kFrames; ++frame) {
        const int waveform = (frame / 7) % 3 == 0 ? kTestWaveformIndex : (frame / 7) % 3;
        const bool inverted = (frame / 11) % 2 == 1;
        setOscillator(program, 1, kOscWaveform, waveformValue(waveform));
        setOscillator(program, 1, kOscInvertWaveform, inverted ? 1.0f : 0.0f);
        const float read = owner->provider.getTableAt(waveform)[tableIndex(note.getPhase(0))];
        const float sample = inverted ? invertSample(read) : read;
        const float output = lowPass.process(sample, 1.0f, 0.0f);
        highPass.process(sample, 1.0f, 0.0f);

        note.renderFrame();
        ASSERT_EQ(note.getOscillatorOutput(0), output) << frame;
        stepVoice(note);
    }
}

// The engine core's path: every voice prepared, then stepped on, then finished, program and
// tables handed over directly.
TEST(NoteOscillator, PreparedAndFinishedFramesMatchRenderedFrames) {
    auto owner = makeVoiceTestOwner();
    VstXSynthProgram& program = owner->program;
    for (int k = 1; k <= Note::kOscillators; ++k) {
        setOscillator(program, k, kOscVolume, 0.3f * static_cast<float>(k));
        setOscillator(program, k, kOscWaveform, waveformValue(k + 2));
        setOscillator(program, k, kOscSat, 0.2f * static_cast<float>(k));
        setOscillator(program, k, kOscPan, 0.2f * static_cast<float>(k));
        setOscillator(program, k, kOscFilterType, 0.3f * static_cast<float>(k));
        setOscillator(program, k, kOscFilterCutoff, 0.4f);
        setOscillator(program, k, kOscFilterResonance, 0.6f);
        setOscillator(program, k, kOscModFrequency, 0.1f * static_cast<float>(k));
        setOscillator(program, k, kOscRingModAmount, 0.4f);
        setOscillator(program, k, kOscFreqModAmount, 0.3f);
        setOscillator(program, k, kOscFiltModAmount, 0.5f);
    }
    std::array<Note, 2> rendered;
    std::array<Note, 2> prepared;
    for (std::size_t v = 0; v < 2; ++v) {
        for (Note* note : {&rendered[v], &prepared[v]}) {
            note->setOwner(owner.get());
            note->setNoteNumber(40 + 7 * static_cast<int>(v));
            note->start(90);
        }
    }
    for (int frame = 0; frame < 2 * kFrames; ++frame) {
        if (frame == kFrames) {
            // A knob move while the notes sound.
            setOscillator(program, 2, kOscFilterCutoff, 0.8f);
            setOscillator(program, 3, kOscFilterResonance, 0.1f);
        }
        if (frame == kFrames + kFrames / 2) {
            // Released: the envelope's level changes every frame until the voices fall idle.
            for (std::size_t v = 0; v < 2; ++v) {
                rendered[v].release();
                prepared[v].release();
            }
        }
        // As the engine core does: every voice steps on before any finishes its frame.
        for (Note& note : prepared) {
            note.prepareFrame(program, owner->provider);
        }
        for (std::size_t v = 0; v < 2; ++v) {
            prepared[v].advance();
            prepared[v].modulatePhases(program, 0.0f, 2.0f * prepared[v].phaseIncrement());
        }
        for (std::size_t v = 0; v < 2; ++v) {
            const StereoSample expected = rendered[v].renderFrame();
            const StereoSample actual = prepared[v].finishFrame();
            ASSERT_EQ(actual.left, expected.left) << frame;
            ASSERT_EQ(actual.right, expected.right) << frame;
            stepVoice(rendered[v]);
            ASSERT_EQ(prepared[v].getPhase(2), rendered[v].getPhase(2)) << frame;
        }
    }
}

// The per-frame work compiled for 256-bit registers computes what the baseline computes, bit
// for bit: every oscillator modulated, saturated and filtered, knobs moving, the third
// oscillator falling silent and coming back (which changes the lanes the kernels compute).
TEST(NoteOscillator, WideAndBaselineLanesRenderTheSameBits) {
    if (!wideLanesAvailable()) {
        GTEST_SKIP() << "this build or processor has no wide lanes";
    }
    auto owner = makeVoiceTestOwner();
    VstXSynthProgram& program = owner->program;
    for (int k = 1; k <= Note::kOscillators; ++k) {
        const float step = static_cast<float>(k);
        setOscillator(program, k, kOscVolume, 0.3f * step);
        setOscillator(program, k, kOscWaveform, waveformValue(k + 4));
        setOscillator(program, k, kOscSat, 0.15f * step);
        setOscillator(program, k, kOscPan, 0.25f * step);
        setOscillator(program, k, kOscFilterType, 0.3f * step);
        setOscillator(program, k, kOscFilterCutoff, 0.35f);
        setOscillator(program, k, kOscFilterResonance, 0.7f);
        setOscillator(program, k, kOscModFrequency, 0.2f * step);
        setOscillator(program, k, kOscRingModAmount, 0.5f);
        setOscillator(program, k, kOscFreqModAmount, 0.4f);
        setOscillator(program, k, kOscFiltModAmount, 0.6f);
    }
    VoiceMemos memos;
    std::array<Note, 2> baseline;
    std::array<Note, 2> wide;
    for (std::size_t v = 0; v < 2; ++v) {
        for (Note* note : {&baseline[v], &wide[v]}) {
            note->setOwner(owner.get());
            note->setNoteNumber(33 + 12 * static_cast<int>(v));
            note->start(110);
        }
        wide[v].useWideLanes(true);
        wide[v].shareMemos(&memos);
        ASSERT_TRUE(wide[v].usesWideLanes());
    }
    PitchEnvelope sweep;
    sweep.setAmount(0.6f);
    sweep.setPower(0.4f);
    for (int frame = 0; frame < 20 * kFrames; ++frame) {
        if (frame % 700 == 350) {
            setOscillator(program, 3, kOscVolume, frame % 1400 == 350 ? 0.0f : 0.9f);
            setOscillator(program, 2, kOscFilterCutoff, 0.1f * static_cast<float>(frame % 9));
        }
        for (std::size_t v = 0; v < 2; ++v) {
            const StereoSample expected = baseline[v].renderFrame();
            const StereoSample actual = wide[v].renderFrame();
            ASSERT_EQ(std::bit_cast<std::uint32_t>(actual.left),
                      std::bit_cast<std::uint32_t>(expected.left))
                << "frame " << frame << " voice " << v;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(actual.right),
                      std::bit_cast<std::uint32_t>(expected.right))
                << "frame " << frame << " voice " << v;
            stepVoice(baseline[v], &sweep);
            stepVoice(wide[v], &sweep);
        }
    }
}

} // namespace
} // namespace Korvatune
