#pragma once

#include "programs/ProgramKeys.h"

#include <array>
#include <span>

namespace Korvatune {

class VstXSynthProgram;

inline constexpr int kNumPrograms = 45;

struct FactoryProgram {
    const char* name;
    // Values by key index; kKeepValue leaves what the record already holds.
    std::array<float, kNumProgramKeys> values;
};

// Marks a value a definition does not set.
inline constexpr float kKeepValue = -1.0f;

const std::array<FactoryProgram, kNumPrograms>& factoryPrograms();

// Fills a bank of kNumPrograms records: program 0's definition first into every record, then
// definition k into record k.
void loadFactoryBank(std::span<VstXSynthProgram, kNumPrograms> bank);

} // namespace Korvatune
