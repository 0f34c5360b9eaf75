#pragma once

namespace Korvatune {

// Reads user waveform files into 4096-entry tables.
//
// - Raw files: headerless little-endian 32-bit floats, one channel; 4096 or more floats are
//   taken as they are, fewer are resampled. Non-finite values read as 0.
// - WAVE files: RIFF "WAVE" with 16-bit mono PCM. The "fmt " and "data" chunks are found by
//   walking the chunk list, so extra chunks and longer format chunks are fine. At most 4096
//   samples are used; fewer are resampled. Anything else is refused and reports false.
// - The WAVE loader is chosen when the file name's extension is ".wav" in any case.
//
// The scratch table is caller-owned (the provider's), so nothing here allocates tables.
class WaveformFileLoader {
public:
    static constexpr int kTableSize = 4096;

    // Chooses the loader by extension. False when path or table is null or loading failed.
    static bool loadFile(const char* path, float* table, float* scratch);

    // False when the file cannot be opened; a file shorter than 4 bytes leaves the table as it
    // was and reports true.
    static bool loadRaw(const char* path, float* table, float* scratch);

    // False when the file cannot be opened or is not a 16-bit mono WAVE file (the table is then
    // unchanged); true when its samples were taken.
    static bool loadWave(const char* path, float* table, float* scratch);

    // For i = 0..4095: x = i / 4096 * count (double), r = floor(x + 0.5); when r < count,
    // table[i] = (source[trunc(x)] + source[r]) * 0.5, else table[i] keeps its value.
    // Nothing happens when count >= 4096.
    static void resample(const float* source, float* table, int count);

    // True when the final path component ends in ".wav", compared without regard to case.
    static bool hasWaveExtension(const char* path);
};

} // namespace Korvatune
