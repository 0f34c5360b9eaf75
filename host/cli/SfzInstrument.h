#pragma once

#include <string>
#include <vector>

namespace Korvatune {

struct SfzSample {
    // Relative to the instrument file, with forward slashes.
    std::string path;
    int note = 60;
    int velocity = 127;
};

// An SFZ instrument that plays each sample on its own key, unpitched. Several velocities of a
// key become velocity layers: each sample answers the velocities from just above the next
// softer one up to its own, the loudest up to 127.
std::string sfzInstrumentText(const std::string& title, const std::vector<SfzSample>& samples);

// Writes the text; on failure says why in error and leaves no file behind.
bool writeTextFile(const std::string& path, const std::string& text, std::string& error);

} // namespace Korvatune
