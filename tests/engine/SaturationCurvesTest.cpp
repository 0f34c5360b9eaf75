#include "VoiceTestSupport.h"

#include "engine/OscillatorKeys.h"
#include "engine/SampleFunctions.h"
#include "engine/SaturationCurves.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Korvatune {
namespace {

constexpr int kTableSize = WaveformProvider::kTableSize;

void expectCurveOf(const float* curve, const float* table, bool inverted) {
    ASSERT_NE(curve, nullptr);
    for (int i = 0; i < kTableSize; ++i) {
        const float x = inverted ? invertSample(table[i]) : table[i];
        const float expected = FastMath::atan(x) / std::atan(1.0f);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(curve[i]), std::bit_cast<std::uint32_t>(expected))
            << "entry " << i << (inverted ? " inverted" : "");
    }
}

VoiceFrameSettings saturatedSettings(std::array<const float*, 3> tables, IntLanes saturated,
                                     IntLanes inverted) {
    VoiceFrameSettings settings;
    settings.tables = tables;
    settings.saturated = saturated;
    settings.inverted = inverted;
    return settings;
}

TEST(SaturationCurves, HoldTheArctangentOfEachEntryFoldedWhereTheOscillatorInverts) {
    auto owner = makeVoiceTestOwner();
    const WaveformProvider& provider = owner->provider;
    const std::array<const float*, 3> tables = {provider.getTableAt(0), provider.getTableAt(7),
                                                provider.getTableAt(kTestWaveformIndex)};
    VoiceFrameSettings settings =
        saturatedSettings(tables, IntLanes{-1, 0, -1, 0}, IntLanes{0, 0, -1, 0});
    SaturationCurves curves;
    curves.attach(settings, provider.getTablesRevision());
    EXPECT_TRUE(settings.curvesReady);
    expectCurveOf(settings.saturationCurves[0], tables[0], false);
    EXPECT_EQ(settings.saturationCurves[1], nullptr);
    expectCurveOf(settings.saturationCurves[2], tables[2], true);
}

// Curves are kept while their inputs stay, so a table written in place is seen only with a new
// revision, as the provider gives after every load.
TEST(SaturationCurves, AreComputedAgainWhenTableInversionOrRevisionChange) {
    std::vector<float> first(kTableSize);
    std::vector<float> second(kTableSize);
    for (int i = 0; i < kTableSize; ++i) {
        first[static_cast<std::size_t>(i)] = static_cast<float>(i) / 2048.0f - 1.0f;
        second[static_cast<std::size_t>(i)] = 0.5f - static_cast<float>(i % 512) / 256.0f;
    }
    SaturationCurves curves;
    VoiceFrameSettings settings = saturatedSettings({first.data(), first.data(), first.data()},
                                                    IntLanes{-1, -1, -1, 0}, IntLanes{});
    curves.attach(settings, 1);
    expectCurveOf(settings.saturationCurves[1], first.data(), false);

    const std::vector<float> original = first;
    first[100] = 0.9f;
    curves.attach(settings, 1);
    expectCurveOf(settings.saturationCurves[1], original.data(), false);
    curves.attach(settings, 2);
    expectCurveOf(settings.saturationCurves[1], first.data(), false);

    settings.inverted = IntLanes{0, -1, 0, 0};
    curves.attach(settings, 2);
    expectCurveOf(settings.saturationCurves[1], first.data(), true);
    expectCurveOf(settings.saturationCurves[0], first.data(), false);

    settings.tables[2] = second.data();
    curves.attach(settings, 2);
    expectCurveOf(settings.saturationCurves[2], second.data(), false);
}

// The engine core's voices read their saturation from the curves; a voice computing it per
// sample must hear the same, on both lane paths, with the third oscillator coming and going.
TEST(SaturationCurves, VoicesReadingCurvesRenderWhatVoicesComputingThemRender) {
    auto owner = makeVoiceTestOwner();
    VstXSynthProgram& program = owner->program;
    for (int k = 1; k <= Note::kOscillators; ++k) {
        const float step = static_cast<float>(k);
        setOscillator(program, k, kOscVolume, 0.3f * step);
        setOscillator(program, k, kOscWaveform, waveformValue(k == 2 ? kTestWaveformIndex : k + 4));
        setOscillator(program, k, kOscSat, k == 2 ? 0.0f : 0.02f + 0.3f * step);
        setOscillator(program, k, kOscInvertWaveform, k == 3 ? 1.0f : 0.0f);
        // Each oscillator at its own pitch, so that every lane reads another entry.
        setOscillator(program, k, kOscPitch, 0.3f + 0.15f * step);
        setOscillator(program, k, kOscFilterCutoff, 0.4f);
        setOscillator(program, k, kOscFilterResonance, 0.5f);
        setOscillator(program, k, kOscModFrequency, 0.1f * step);
        setOscillator(program, k, kOscRingModAmount, 0.3f);
    }
    std::vector<bool> paths = {false};
    if (wideLanesAvailable()) {
        paths.push_back(true);
    }
    for (const bool wide : paths) {
        SCOPED_TRACE(wide ? "wide lanes" : "baseline lanes");
        Note computing;
        Note reading;
        for (Note* note : {&computing, &reading}) {
            note->setOwner(owner.get());
            note->setNoteNumber(40);
            note->start(120);
            note->useWideLanes(wide);
        }
        SaturationCurves curves;
        for (int frame = 0; frame < 6000; ++frame) {
            if (frame % 1000 == 500) {
                setOscillator(program, 3, kOscVolume, frame % 2000 == 500 ? 0.0f : 0.8f);
            }
            VoiceFrameSettings settings =
                makeVoiceFrameSettings(readOscillatorSettings(program), owner->provider);
            curves.attach(settings, owner->provider.getTablesRevision());
            const StereoSample expected = computing.renderFrame();
            reading.prepareFrame(settings);
            const StereoSample actual = reading.finishFrame();
            ASSERT_EQ(std::bit_cast<std::uint32_t>(actual.left),
                      std::bit_cast<std::uint32_t>(expected.left))
                << "frame " << frame;
            ASSERT_EQ(std::bit_cast<std::uint32_t>(actual.right),
                      std::bit_cast<std::uint32_t>(expected.right))
                << "frame " << frame;
            stepVoice(computing);
            stepVoice(reading);
        }
    }
}

} // namespace
} // namespace Korvatune
