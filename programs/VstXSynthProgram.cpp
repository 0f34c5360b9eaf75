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

std::string VstXSynthProgram::getName() const {
    std::string text;
    for (const std::atomic<char>& character : name) {
        const char c = character.load(std::memory_order_relaxed);
        if (c == '\0') {
            break;
        }
        text.push_back(c);
    }
    return text;
}

// As strncpy: the rest of the field is cleared.
void VstXSynthProgram::setName(const char* text) {
    bool ended = false;
    for (std::size_t i = 0; i < kProgramNameCapacity; ++i) {
        ended = ended || text[i] == '\0';
        name[i].store(ended ? '\0' : text[i], std::memory_order_relaxed);
    }
    name[kProgramNameCapacity].store('\0', std::memory_order_relaxed);
}

} // namespace Korvatune
