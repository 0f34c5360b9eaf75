#include "programs/ProgramFile.h"

#include "engine/Distortion.h"
#include "platform/CNumbers.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Korvatune {

namespace {

// A longer physical line arrives in pieces, and each piece counts as a line of its own.
constexpr int kLineBufferSize = 1024;
constexpr int kNameLine = -1;

const char* expectedKey(int position) {
    return position == kNameLine ? "Name" : VstXSynthProgram::keyName(position);
}

// The text between "= " and ";", cut off in place; null when the line carries no value.
const char* valueTextOf(char* line, const char* key) {
    if (std::strstr(line, key) == nullptr) {
        return nullptr;
    }
    char* equals = std::strchr(line, '=');
    char* semicolon = std::strchr(line, ';');
    if (equals == nullptr || semicolon == nullptr || semicolon <= equals + 2) {
        return nullptr;
    }
    *semicolon = '\0';
    // The character after "=" is skipped whatever it is, as the writer always puts a blank there.
    return equals + 2;
}

void storeNumber(VstXSynthProgram& program, int index, const char* text) {
    const double number = Platform::parseCNumberPrefix(text);
    if (std::isfinite(number)) {
        program.setValue(index, static_cast<float>(std::clamp(number, 0.0, 1.0)));
    }
}

void storeValue(VstXSynthProgram& program, int position, const char* text) {
    if (position == kNameLine) {
        program.setName(text);
    } else if (isWaveformKey(position)) {
        program.setValue(position, waveformValue(WaveformProvider::waveformIndexOfName(text)));
    } else if (position == kDistortionType) {
        program.setValue(position, distortionTypeValue(Distortion::typeFromName(text)));
    } else {
        storeNumber(program, position, text);
    }
}

} // namespace

bool readProgramStream(VstXSynthProgram& program, std::FILE* file) {
    std::array<char, kLineBufferSize> line;
    // Lines past the last key can change nothing, so reading stops there.
    for (int position = kNameLine; position < kNumProgramKeys; ++position) {
        if (std::fgets(line.data(), kLineBufferSize, file) == nullptr) {
            break;
        }
        if (const char* value = valueTextOf(line.data(), expectedKey(position))) {
            storeValue(program, position, value);
        }
    }
    return std::ferror(file) == 0;
}

} // namespace Korvatune
