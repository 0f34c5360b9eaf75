// libFuzzer target: any text read as a program file must leave a record within its ranges that
// survives being written and read again.
#include "engine/Distortion.h"
#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Korvatune {
namespace {

// Six decimals lose at most half a millionth, plus the rounding to float.
constexpr float kSixDecimalsTolerance = 6e-7f;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkRanges(const VstXSynthProgram& program) {
    for (int i = 0; i < kNumProgramKeys; ++i) {
        const float value = program.getValue(i);
        require(value >= 0.0f && value <= 1.0f);
    }
    require(std::strlen(program.getName().c_str()) <= kProgramNameCapacity);
}

void checkSameSound(const VstXSynthProgram& written, const VstXSynthProgram& read) {
    for (int i = 0; i < kNumProgramKeys; ++i) {
        const float a = written.getValue(i);
        const float b = read.getValue(i);
        if (isWaveformKey(i)) {
            require(WaveformProvider::waveformIndex(a) == WaveformProvider::waveformIndex(b));
        } else if (i == kDistortionType) {
            require(Distortion::typeIndex(a) == Distortion::typeIndex(b));
        } else {
            require(std::fabs(a - b) <= kSixDecimalsTolerance);
        }
    }
}

void readText(VstXSynthProgram& program, char* text, std::size_t size) {
    if (std::FILE* file = fmemopen(text, size, "r")) {
        require(readProgramStream(program, file));
        std::fclose(file);
    }
}

void checkRoundTrip(const VstXSynthProgram& program) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* file = open_memstream(&text, &size);
    require(file != nullptr);
    require(writeProgramStream(file, program));
    std::fclose(file);
    VstXSynthProgram again;
    readText(again, text, size);
    std::free(text);
    checkSameSound(program, again);
}

} // namespace
} // namespace Korvatune

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char> text(data, data + size);
    Korvatune::VstXSynthProgram program;
    Korvatune::readText(program, text.data(), text.size());
    Korvatune::checkRanges(program);
    Korvatune::checkRoundTrip(program);
    return 0;
}
