#include "VoiceTestSupport.h"

#include "engine/OscillatorPhase.h"
#include "engine/SampleFunctions.h"
#include "filters/BiquadTweakedButterworthHP.h"
#include "filters/Filter_MoogVCF_variant1.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace Korvatune {
namespace {

constexpr int kFrames = 300;

// Two voices on the same note, each with its own owner, so that a test can change one setting
// and compare oscillator outputs frame by frame.
class NotePair : public ::testing::Test {
protected:
    void SetUp() override {
        for (int side = 0; side < 2; ++side) {
            setAllOscillators(owners[side]->program, kOscVolume, 1.0f);
            setAllOscillators(owners[side]->program, kOscFilterCutoff, 0.6f);
            setAllOscillators(owners[side]->program, kOscFilterResonance, 0.3f);
            notes[side].setOwner(owners[side].get());
            notes[side].setNoteNumber(45);
            notes[side].start(127);
        }
    }

    VstXSynthProgram& program(int side) { return owners[side]->program; }

    // Outputs of both voices for one frame, then one step.
    std::array<std::array<float, Note::kOscillators>, 2> renderFrame() {
        std::array<std::array<float, Note::kOscillators>, 2> outputs{};
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
    bool sounded = false;
    for (int frame = 0; frame < kFrames; ++frame) {
        const auto outputs = renderFrame();
        EXPECT_EQ(outputs[1][0], outputs[0][0]) << frame;
        EXPECT_EQ(outputs[1][1], outputs[0][1]) << frame;
        EXPECT_EQ(outputs[1][2], 0.0f) << frame;
        sounded = sounded || outputs[0][2] != 0.0f;
    }
    EXPECT_TRUE(sounded);
}

TEST_F(NotePair, ThirdOscillatorScalesBeforeRingMixing) {
    // With the modulator idle (value 1) and the high-pass alone, the outputs are linear in the
    // ring-mixed sample: oscillators 1 and 2 keep it, oscillator 3 keeps 1 - r * r of it.
    setAllOscillators(program(0), kOscFilterType, 1.0f);
    setAllOscillators(program(1), kOscFilterType, 1.0f);
    setAllOscillators(program(1), kOscRingModAmount, 0.5f);
    for (int frame = 0; frame < kFrames; ++frame) {
        const auto outputs = renderFrame();
        EXPECT_EQ(outputs[1][0], outputs[0][0]) << frame;
        EXPECT_EQ(outputs[1][1], outputs[0][1]) << frame;
        EXPECT_NEAR(outputs[1][2], 0.75f * outputs[0][2], 1e-5f) << frame;
    }
}

TEST_F(NotePair, SecondOscillatorFilterModulationClosesTheCutoff) {
    setAllOscillators(program(1), kOscModFrequency, 0.37f);
    setOscillator(program(1), 2, kOscFiltModAmount, 1.0f);
    setAllOscillators(program(0), kOscModFrequency, 0.37f);
    setOscillator(program(0), 2, kOscFilterCutoff, 0.0f);
    for (int frame = 0; frame < kFrames; ++frame) {
        const auto outputs = renderFrame();
        EXPECT_EQ(outputs[1][1], outputs[0][1]) << frame;
    }
}

TEST_F(NotePair, FullFilterModulationWithAnIdleModulatorKeepsTheCutoffOfOscillatorsOneAndThree) {
    setOscillator(program(1), 1, kOscFiltModAmount, 1.0f);
    setOscillator(program(1), 3, kOscFiltModAmount, 1.0f);
    for (int frame = 0; frame < kFrames; ++frame) {
        const auto outputs = renderFrame();
        EXPECT_EQ(outputs[1][0], outputs[0][0]) << frame;
        EXPECT_EQ(outputs[1][2], outputs[0][2]) << frame;
    }
}

// The documented chain of one oscillator, built from the parts: table, invert, saturate,
// crossfade of the two filters, level, pan, velocity and envelope.
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
    BiquadTweakedButterworthHP<float> highPass;
    const float gain = 100.0f / 127.0f;
    for (int frame = 0; frame < kFrames; ++frame) {
        const float level = note.getEnvelopeLevel();
        float sample = sine[tableIndex(note.getPhase(1))];
        sample = saturate(invertSample(sample), 0.3f);
        const float filtered = (1.0f - 0.5f) * lowPass.process(sample, 0.7f, 0.4f) +
                               0.5f * highPass.process(sample, 0.7f, 0.4f);
        const float output = 0.8f * filtered;

        const StereoSample rendered = note.renderFrame();
        ASSERT_EQ(note.getOscillatorOutput(1), output) << frame;
        ASSERT_EQ(rendered.left, gain * (level * ((1.0f - 0.25f) * output))) << frame;
        ASSERT_EQ(rendered.right, gain * ((0.25f * output) * level)) << frame;
        stepVoice(note);
    }
}

} // namespace
} // namespace Korvatune
