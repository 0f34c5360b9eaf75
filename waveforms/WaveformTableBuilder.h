#pragma once

namespace Korvatune {

// Computes the catalogue's computed tables and normalises
// tables. Tables are arrays of WaveformProvider::kTableSize floats.
class WaveformTableBuilder {
public:
    static constexpr int kTableSize = 4096;
    static constexpr int kComputedTableCount = 20; // indices 0..19: classic, noise, Form1..10
    static constexpr unsigned kNoiseSeed = 777;

    // Fills tables[0..19] in catalogue order and sets tables[20..29] to zero. The noise tables
    // come from a generator seeded with 777 and a high-pass filtered copy of the noise.
    static void buildComputedTables(float (*tables)[kTableSize], int tableCount);

    // Scales the table so that its largest magnitude becomes peak: x -> peak * (x / m).
    // A table of zeros stays unchanged.
    static void normalise(float* table, float peak);

    // The largest magnitude of the table's entries.
    static float peakOf(const float* table);
};

} // namespace Korvatune
