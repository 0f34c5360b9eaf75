#pragma once

#include <array>

namespace Korvatune {

inline constexpr int kDistortionTableSize = 256;

using DistortionTable = std::array<float, kDistortionTableSize>;

// The transfer tables of the waveshaper; built once, identical in every instance.
struct DistortionTables {
    DistortionTable shape0;
    DistortionTable shape1;
    DistortionTable shape2;
    DistortionTable shape3;
    DistortionTable shape4;
    DistortionTable shape5;
    DistortionTable shape6;
    DistortionTable shape7;
    DistortionTable shape8;
    DistortionTable shape9;
    DistortionTable shape10;
    DistortionTable shape11;
    DistortionTable shape12;
    DistortionTable shape13;
    DistortionTable shape14;
};

DistortionTables buildDistortionTables();

// One set for the whole process, built on first use by whichever thread asks first.
const DistortionTables& sharedDistortionTables();

} // namespace Korvatune
