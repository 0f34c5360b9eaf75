#pragma once

// A phrase of MIDI and the VST 2 module's rendering of it: the sound every other format of the
// instrument must match bit for bit.

#include "programs/ProgramKeys.h"
#include "support/SynthDriver.h"

#include <algorithm>
#include <array>
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

// A parameter change on a frame of the phrase, as automation brings it.
struct TimedChange {
    std::uint32_t frame;
    int index;
    float value;
};

// The parameter values of a VST 2 instance with the program and overrides.
inline std::array<float, kNumProgramKeys> vst2Values(EntryFunction entry, int program,
                                                     const Overrides& overrides) {
    SynthDriver synth(44100.0f, entry);
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

// The phrase through the VST 2 module in blocks of the given size: left, then right. A block
// with changes in it is rendered in pieces, each change set between them, as a VST 2 host cuts a
// block for automation.
inline std::vector<float> renderVst2(EntryFunction entry, int program, const Overrides& overrides,
                                     float sampleRate, std::uint32_t blockSize,
                                     const std::vector<TimedChange>& changes = {}) {
    SynthDriver synth(sampleRate, entry);
    dispatch(synth.get(), effSetProgram, 0, program);
    for (const auto& [index, value] : overrides) {
        synth->setParameter(synth.get(), index, value);
    }
    std::vector<float> left;
    std::vector<float> right;
    const auto renderPiece = [&](std::uint32_t start, std::uint32_t end) {
        for (const TimedMidi& event : testPhrase()) {
            if (event.frame >= start && event.frame < end) {
                synth.queue(event.bytes[0], event.bytes[1], event.bytes[2],
                            static_cast<int>(event.frame - start));
            }
        }
        synth.render(static_cast<int>(end - start));
        left.insert(left.end(), synth.left.begin(), synth.left.end());
        right.insert(right.end(), synth.right.begin(), synth.right.end());
    };
    for (std::uint32_t start = 0; start < kPhraseFrames; start += blockSize) {
        const std::uint32_t end = std::min(start + blockSize, kPhraseFrames);
        std::uint32_t pieceStart = start;
        for (const TimedChange& change : changes) {
            if (change.frame >= start && change.frame < end) {
                if (change.frame > pieceStart) {
                    renderPiece(pieceStart, change.frame);
                    pieceStart = change.frame;
                }
                synth->setParameter(synth.get(), change.index, change.value);
            }
        }
        renderPiece(pieceStart, end);
    }
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

} // namespace Korvatune::testing
