#pragma once

#include "lv2bundle/BundleTestHost.h"
#include "support/SameBits.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace Korvatune::testing {

struct TimedMidi {
    std::uint32_t frame;
    std::vector<std::uint8_t> bytes;
};

// Notes that overlap and retrigger, a controller, a pitch bend and an all-notes-off, over more
// than two blocks of the largest size compared.
inline const std::vector<TimedMidi>& testPhrase() {
    static const std::vector<TimedMidi> phrase = {
        {10, {0x90, 36, 127}},   {500, {0xB0, 1, 64}},     {700, {0xE0, 0, 96}},
        {3000, {0x90, 48, 100}}, {6000, {0x80, 36, 0}},    {6500, {0x91, 36, 90}},
        {9000, {0xB0, 0x7B, 0}}, {10000, {0x90, 40, 127}},
    };
    return phrase;
}

inline constexpr std::uint32_t kPhraseFrames = 12000;

// Parameter changes a user made on top of the program.
using Overrides = std::vector<std::pair<int, float>>;

// The parameter values of a VST 2 instance with the program and overrides.
inline std::array<float, kNumProgramKeys> vst2Values(int program, const Overrides& overrides) {
    SynthDriver synth(44100.0f, vst2ModuleEntry());
    dispatch(synth.get(), effSetProgram, 0, program);
    for (const auto& [index, value] : overrides) {
        synth->setParameter(synth.get(), index, value);
    }
    std::array<float, kNumProgramKeys> values{};
    for (int index = 0; index < kNumProgramKeys; ++index) {
        values[static_cast<std::size_t>(index)] = synth->getParameter(synth.get(), index);
    }
    return values;
}

// The phrase through the VST 2 module in blocks of the given size: left, then right.
inline std::vector<float> renderVst2(int program, const Overrides& overrides, float sampleRate,
                                     std::uint32_t blockSize) {
    SynthDriver synth(sampleRate, vst2ModuleEntry());
    dispatch(synth.get(), effSetProgram, 0, program);
    for (const auto& [index, value] : overrides) {
        synth->setParameter(synth.get(), index, value);
    }
    std::vector<float> left;
    std::vector<float> right;
    for (std::uint32_t start = 0; start < kPhraseFrames; start += blockSize) {
        const std::uint32_t end = std::min(start + blockSize, kPhraseFrames);
        for (const TimedMidi& event : testPhrase()) {
            if (event.frame >= start && event.frame < end) {
                synth.queue(event.bytes[0], event.bytes[1], event.bytes[2],
                            static_cast<int>(event.frame - start));
            }
        }
        synth.render(static_cast<int>(end - start));
        left.insert(left.end(), synth.left.begin(), synth.left.end());
        right.insert(right.end(), synth.right.begin(), synth.right.end());
    }
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

// The phrase through an LV2 instance, in blocks of the given size: left, then right.
inline std::vector<float> playPhrase(Lv2Instance& lv2, std::uint32_t blockSize) {
    for (std::uint32_t start = 0; start < kPhraseFrames; start += blockSize) {
        const std::uint32_t end = std::min(start + blockSize, kPhraseFrames);
        for (const TimedMidi& event : testPhrase()) {
            if (event.frame >= start && event.frame < end) {
                lv2.midi.add(event.frame - start, event.bytes);
            }
        }
        lv2.render(end - start);
    }
    std::vector<float> both = lv2.left;
    both.insert(both.end(), lv2.right.begin(), lv2.right.end());
    return both;
}

// The phrase through a new LV2 instance whose ports hold the values.
inline std::vector<float> renderLv2(LilvHost& host,
                                    const std::array<float, kNumProgramKeys>& values,
                                    double sampleRate, std::uint32_t blockSize) {
    Lv2Instance lv2(host, sampleRate);
    lv2.controls = values;
    lv2.activate();
    return playPhrase(lv2, blockSize);
}

} // namespace Korvatune::testing
