#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace Korvatune {
namespace {

using testing::dispatch;
using testing::peakOf;
using testing::SynthDriver;

bool allFinite(const std::vector<float>& samples) {
    for (float sample : samples) {
        if (!std::isfinite(sample)) {
            return false;
        }
    }
    return true;
}

TEST(HostSequences, ScanWithoutSampleRate) {
    for (int i = 0; i < 3; ++i) {
        AEffect* effect = VSTPluginMain(testing::recordingHost);
        ASSERT_NE(effect, nullptr);
        dispatch(effect, effOpen);
        dispatch(effect, effSetSampleRate, 0, 0, nullptr, 0.0f);
        EXPECT_EQ(dispatch(effect, effClose), 1);
    }
}

TEST(HostSequences, MainsChangedInOddOrders) {
    AEffect* effect = VSTPluginMain(testing::recordingHost);
    dispatch(effect, effMainsChanged, 0, 0);
    dispatch(effect, effMainsChanged, 0, 1);
    dispatch(effect, effMainsChanged, 0, 1);
    float left[64], right[64];
    float* outputs[2] = {left, right};
    effect->processReplacing(effect, nullptr, outputs, 64);
    dispatch(effect, effMainsChanged, 0, 0);
    dispatch(effect, effMainsChanged, 0, 0);
    EXPECT_EQ(dispatch(effect, effClose), 1);
}

TEST(HostSequences, LongSilenceThenANoteThenTheEndOfPlaybackBurst) {
    SynthDriver synth;
    for (int block = 0; block < 400; ++block) {
        synth.render(512);
    }
    synth.noteOn(36);
    synth.render(512);
    EXPECT_TRUE(allFinite(synth.left));
    for (int channel = 0; channel < 16; ++channel) {
        for (unsigned char controller : {64, 121, 123}) {
            synth.queue(static_cast<unsigned char>(0xB0 | channel), controller, 0);
        }
    }
    synth.render(512);
    for (int block = 0; block < 20; ++block) {
        synth.render(512);
    }
    EXPECT_TRUE(allFinite(synth.left));
    float peak = 0.0f;
    for (float sample : synth.left) {
        peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_LT(peak, 1e-3f);
}

TEST(HostSequences, SessionRestoreWhileRunning) {
    SynthDriver synth;
    synth.noteOn(36);
    synth.render(256);
    for (int index = 0; index < 60; ++index) {
        synth->setParameter(synth.get(), index, synth->getParameter(synth.get(), index));
    }
    synth.render(256);
    EXPECT_TRUE(allFinite(synth.left));
    EXPECT_TRUE(allFinite(synth.right));
}

TEST(HostSequences, WildAutomationNeverPoisonsTheOutput) {
    SynthDriver synth;
    AEffect* effect = synth.get();
    int round = 0;
    bool finite = true;
    for (int block = 0; block < 8000 && finite; ++block) {
        if (block % 1280 == 0) {
            synth.noteOn(36 + block % 24);
        }
        // Every parameter jumps every few samples, programs change in between.
        for (int change = 0; change < 7; ++change, ++round) {
            effect->setParameter(effect, round % 60, static_cast<float>(round % 100) / 100.0f);
            if (round % 50 == 0) {
                dispatch(effect, effSetProgram, 0, (round / 50) % 45);
            }
        }
        synth.render(4);
        finite = allFinite(synth.left) && allFinite(synth.right);
    }
    EXPECT_TRUE(finite);
}

TEST(HostSequences, ValuesBeyondTheParameterRangeAreHeldAtItsEnds) {
    constexpr int kHeaviestProgram = 32;
    SynthDriver synth;
    AEffect* effect = synth.get();
    float loudest = 0.0f;
    for (int index = 0; index < 60; ++index) {
        for (const float value : {-5.0f, 7.0f, 1e30f, -1e30f}) {
            dispatch(effect, effSetProgram, 0, kHeaviestProgram);
            for (int note = 36; note < 40; ++note) {
                synth.noteOn(note);
            }
            for (int block = 0; block < 8; ++block) {
                effect->setParameter(effect, index, value);
                ASSERT_EQ(effect->getParameter(effect, index), value > 0.0f ? 1.0f : 0.0f)
                    << "parameter " << index << " at " << value;
                synth.render(64);
                ASSERT_TRUE(allFinite(synth.left) && allFinite(synth.right))
                    << "parameter " << index << " at " << value;
                loudest = std::max({loudest, peakOf(synth.left), peakOf(synth.right)});
            }
            for (int note = 36; note < 40; ++note) {
                synth.noteOff(note);
            }
        }
    }
    EXPECT_LT(loudest, 16.0f);
}

// Played loud: eight notes, every band of the tone stage fully up.
float loudestWithAllBandsUp(float rate, int program) {
    SynthDriver synth(rate);
    AEffect* effect = synth.get();
    dispatch(effect, effSetProgram, 0, program);
    for (const int band : {45, 46, 47}) {
        effect->setParameter(effect, band, 1.0f);
    }
    for (int note = 36; note < 120; note += 12) {
        synth.noteOn(note);
    }
    float loudest = 0.0f;
    for (int block = 0; block < 8; ++block) {
        synth.render(256);
        loudest = std::max({loudest, peakOf(synth.left), peakOf(synth.right)});
    }
    return loudest;
}

// At rates where the tone bands' frequencies lie above the Nyquist frequency their designs ran
// away, up to 1e38.
TEST(HostSequences, ToneBandsStayTameAtTheLowestRates) {
    for (const float rate : {1000.0f, 2000.0f, 3000.0f, 4000.0f, 5000.0f, 6000.0f}) {
        for (const int program : {0, 25}) {
            EXPECT_LT(loudestWithAllBandsUp(rate, program), 8.0f)
                << rate << " Hz, program " << program;
        }
    }
}

// With the chain bypassed, oscillator filters at full resonance ring without damping and the
// voices' sum reaches thousands; no host is handed more than 64.
TEST(HostSequences, RingingVoiceFiltersReachTheHostAtMostAt64) {
    constexpr int kCutoffAndResonance[] = {7, 8, 21, 22, 35, 36};
    for (const int program : {0, 35}) {
        SynthDriver synth;
        AEffect* effect = synth.get();
        dispatch(effect, effSetProgram, 0, program);
        for (const int index : kCutoffAndResonance) {
            effect->setParameter(effect, index, 1.0f);
        }
        effect->setParameter(effect, 58, 1.0f);
        effect->setParameter(effect, 59, 1.0f);
        for (int note = 36; note < 120; note += 12) {
            synth.noteOn(note);
        }
        for (int block = 0; block < 24; ++block) {
            synth.render(512);
            ASSERT_TRUE(allFinite(synth.left) && allFinite(synth.right)) << program;
            ASSERT_LE(std::max(peakOf(synth.left), peakOf(synth.right)), 64.0f) << program;
        }
    }
}

} // namespace
} // namespace Korvatune
