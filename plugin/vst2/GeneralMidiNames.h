#pragma once

#include <array>

namespace Korvatune {

inline constexpr int kNumGeneralMidiPrograms = 128;
inline constexpr int kNumGeneralMidiCategories = 17;

extern const std::array<const char*, kNumGeneralMidiPrograms> kGeneralMidiProgramNames;

struct GeneralMidiCategory {
    const char* name;
    int firstProgram;
};

// The last category only bounds the one before it.
extern const std::array<GeneralMidiCategory, kNumGeneralMidiCategories> kGeneralMidiCategories;

// The category whose range holds the program, or -1.
int generalMidiCategoryOf(int program);

} // namespace Korvatune
