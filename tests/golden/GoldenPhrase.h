#pragma once

#include "support/SynthDriver.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace Korvatune::testing {

// The short phrase every golden render plays: overlapping notes and note-offs, in host blocks
// of 512 frames.
inline constexpr int kGoldenBlock = 512;
inline constexpr double kGoldenPhraseSeconds = 0.8;

struct PhraseEvent {
    double seconds;
    unsigned char status;
    unsigned char note;
};

inline constexpr PhraseEvent kGoldenPhrase[] = {
    {0.0, 0x90, 36}, {0.1, 0x90, 43},  {0.25, 0x80, 36},
    {0.3, 0x90, 48}, {0.45, 0x80, 43}, {0.5, 0x80, 48},
};

// A parameter change as a host automates it: applied before the block that holds its time.
struct ParameterMove {
    double seconds;
    int index;
    float value;
};

struct Rendering {
    std::vector<float> left;
    std::vector<float> right;
};

inline Rendering renderPhrase(int program, float sampleRate, double seconds,
                              std::span<const ParameterMove> moves = {}) {
    SynthDriver synth(sampleRate);
    dispatch(synth.get(), effSetProgram, 0, program);
    const auto total = static_cast<long>(seconds * sampleRate);
    const auto frameOf = [sampleRate](double time) { return static_cast<long>(time * sampleRate); };
    Rendering result;
    for (long start = 0; start < total; start += kGoldenBlock) {
        const int frames = static_cast<int>(std::min<long>(kGoldenBlock, total - start));
        for (const ParameterMove& move : moves) {
            const long frame = frameOf(move.seconds);
            if (frame >= start && frame < start + frames) {
                synth->setParameter(synth.get(), move.index, move.value);
            }
        }
        for (const PhraseEvent& event : kGoldenPhrase) {
            const long frame = frameOf(event.seconds);
            if (frame >= start && frame < start + frames) {
                synth.queue(event.status, event.note, event.status == 0x90 ? 127 : 0,
                            static_cast<int>(frame - start));
            }
        }
        synth.render(frames);
        result.left.insert(result.left.end(), synth.left.begin(), synth.left.end());
        result.right.insert(result.right.end(), synth.right.begin(), synth.right.end());
    }
    return result;
}

// A golden data file: OMBRAFELL_TEST_DATA/golden/name.
inline std::string goldenDataPath(const std::string& name) {
    const char* folder = std::getenv("OMBRAFELL_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/golden/" + name;
}

inline bool updatingGoldenData() {
    return std::getenv("OMBRAFELL_UPDATE_GOLDEN") != nullptr;
}

} // namespace Korvatune::testing
