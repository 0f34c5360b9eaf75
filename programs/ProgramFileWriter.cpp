#include "programs/ProgramFile.h"

#include "engine/Distortion.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <charconv>
#include <string>

namespace Korvatune {

namespace {

using NameText = std::array<char, kProgramNameCapacity + 1>;
// Room for the widest float in fixed notation with six decimals.
using NumberText = std::array<char, 64>;

// A line break inside the name would start a new line and shift every key after it.
NameText printableName(const VstXSynthProgram& program) {
    NameText text{};
    const std::string name = program.getName();
    for (std::size_t i = 0; i < kProgramNameCapacity && i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        text[i] = (c < 0x20 || c == 0x7f) ? ' ' : name[i];
    }
    return text;
}

// Six decimals as C's "%f" gives them, but with a point whatever the process locale says.
NumberText fixedSixDecimals(float value) {
    NumberText text{};
    std::to_chars(text.data(), text.data() + text.size() - 1, static_cast<double>(value),
                  std::chars_format::fixed, 6);
    return text;
}

bool writeKeyLine(std::FILE* file, const VstXSynthProgram& program, int index) {
    const float value = program.getValue(index);
    const char* key = VstXSynthProgram::keyName(index);
    if (isWaveformKey(index)) {
        return std::fprintf(file, "%s = %s;\n", key, WaveformProvider::waveformName(value)) > 0;
    }
    if (index == kDistortionType) {
        return std::fprintf(file, "%s = %s;\n", key, Distortion::typeName(value)) > 0;
    }
    return std::fprintf(file, "%s = %s;\n", key, fixedSixDecimals(value).data()) > 0;
}

} // namespace

bool writeProgramStream(std::FILE* file, const VstXSynthProgram& program) {
    if (std::fprintf(file, "Name = %s;\n", printableName(program).data()) < 0) {
        return false;
    }
    for (int index = 0; index < kNumProgramKeys; ++index) {
        if (!writeKeyLine(file, program, index)) {
            return false;
        }
    }
    return std::fflush(file) == 0 && std::ferror(file) == 0;
}

} // namespace Korvatune
