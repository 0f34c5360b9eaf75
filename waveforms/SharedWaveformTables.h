#pragma once

namespace Korvatune {

// The tables every instance starts from and none changes: the computed catalogue tables
// (normalised where the catalogue says so) and the built-in user shapes at their peak. Built
// once per process, on first use, by whichever thread asks first; read-only afterwards, so any
// number of instances on any threads may read them.
struct SharedWaveformTables {
    static constexpr int kTableSize = 4096;
    static constexpr int kComputedCount = 20;
    static constexpr int kBuiltinShapeCount = 10;

    alignas(64) float computed[kComputedCount][kTableSize];
    alignas(64) float builtinShapes[kBuiltinShapeCount][kTableSize];
};

const SharedWaveformTables& sharedWaveformTables();

} // namespace Korvatune
