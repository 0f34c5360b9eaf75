#pragma once

#include "lv2bundle/BundleTestHost.h"
#include "support/SameBits.h"
#include "support/Vst2Phrase.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace Korvatune::testing {

// The parameter values of a VST 2 instance with the program and overrides.
inline std::array<float, kNumProgramKeys> vst2Values(int program, const Overrides& overrides) {
    return vst2Values(vst2ModuleEntry(), program, overrides);
}

// The phrase through the VST 2 module in blocks of the given size: left, then right.
inline std::vector<float> renderVst2(int program, const Overrides& overrides, float sampleRate,
                                     std::uint32_t blockSize) {
    return renderVst2(vst2ModuleEntry(), program, overrides, sampleRate, blockSize);
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
