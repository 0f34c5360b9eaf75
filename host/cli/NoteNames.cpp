#include "host/cli/NoteNames.h"

namespace Korvatune {

std::string noteName(int note) {
    static constexpr const char* kNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                               "F#", "G",  "G#", "A",  "A#", "B"};
    const int octave = note / 12 - 2;
    return kNames[note % 12] + std::to_string(octave);
}

} // namespace Korvatune
