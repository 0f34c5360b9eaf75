#include "programs/VstXSynthProgram.h"

#include <algorithm>
#include <cstring>

namespace Korvatune {

namespace {
bool isKeyIndex(int index) {
    return index >= 0 && index < kNumProgramKeys;
}
} // namespace

VstXSynthProgram::VstXSynthProgram() {
    for (int i = 0; i < kNumProgramKeys; ++i) {
        values[i].store(kProgramKeys[i].defaultValue, std::memory_order_relaxed);
    }
    setName(kDefaultProgramName);
}

float VstXSynthProgram::getValue(int index) const {
    return isKeyIndex(index) ? values[index].load(std::memory_order_relaxed) : 0.0f;
}

void VstXSynthProgram::setValue(int index, float value) {
    setRawValue(index, std::clamp(value, 0.0f, 1.0f));
}

void VstXSynthProgram::setRawValue(int index, float value) {
    if (isKeyIndex(index)) {
        values[index].store(value, std::memory_order_relaxed);
        revisionCount.fetch_add(1, std::memory_order_release);
    }
}

const char* VstXSynthProgram::keyName(int index) {
    return kProgramKeys[index].text;
}

void VstXSynthProgram::setName(const char* text) {
    std::strncpy(name.data(), text, kProgramNameCapacity);
    name[kProgramNameCapacity] = '\0';
}

} // namespace Korvatune
