#pragma once

#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>

namespace Korvatune {

// Gives the 30 single-cycle waveform tables of 4096 floats each: six classic shapes,
// four noise tables, Form1..Form10 and the user slots User1..User10, and turns waveform
// parameter values (index / 29) into tables, names and display texts. The first twenty are
// shared by every instance in the process; only the user slots belong to this provider.
//
// Usage by the plug-in object: setSubfolder("waveforms"), setFolder(host directory or null),
// build(). Voices then call getTable(value) once per oscillator and sample.
class WaveformProvider {
public:
    static constexpr int kTableSize = 4096;
    static constexpr int kNumWaveforms = 30;
    static constexpr int kFirstUserWaveform = 20;
    static constexpr int kNumUserWaveforms = 10;
    static constexpr int kDisplayTextSize = 8; // bytes, terminator included
    static constexpr int kPreviewPointCount = 50;
    static constexpr float kValueStep = 0.034482758620689655f; // 1 / 29: one catalogue step

    WaveformProvider();
    virtual ~WaveformProvider();
    WaveformProvider(const WaveformProvider&) = delete;
    WaveformProvider& operator=(const WaveformProvider&) = delete;

    // --- data folder and files -------------------------------------------------------------
    // Name of the waveform folder below the data folder ("waveforms" in the plug-in).
    void setSubfolder(const char* name);
    const std::string& getSubfolder() const { return subfolder; }

    // Chooses the data folder: the host directory when not null and not empty, else the
    // environment variable KORVATUNE_OMBRAFELL when set (even empty), else the working directory.
    void setFolder(const char* hostDirectory);
    // The same for a folder already in UTF-8, such as the one a plug-in format names.
    void setUtf8Folder(std::string utf8Folder);
    const std::string& getFolder() const { return folder; }

    // folder, subfolder and "userNN.raw" joined by the platform's separator, for slot 1..10 (empty
    // text for other slots).
    std::string userFilePath(int slot) const;

    // Computes all tables and loads the user files. Call once, after setFolder.
    void build();

    // Loads a raw or WAVE file into the user slot that the value selects (indices 20..29);
    // normalises that slot to 0.98777. False for other indices or when the file failed to load.
    bool loadUserWaveform(const char* path, float value);

    // Loads a file into a table: the WAVE loader when the file name's extension is ".wav" in any
    // case, else the raw loader. False when path or table is null or the file failed to load.
    bool loadFile(const char* path, float* table);

    // --- catalogue and values --------------------------------------------------------------
    // Clamp to 0..1 (NaN counts as 0), then floor(29 * value + 0.5).
    static std::uint16_t waveformIndex(float value) {
        if (!(value > 0.0f)) {
            value = 0.0f;
        }
        if (value > 1.0f) {
            value = 1.0f;
        }
        return static_cast<std::uint16_t>(std::floor(29.0f * value + 0.5f));
    }

    // The table of waveformIndex(value); a clamp, a multiply, a floor and a direct selection.
    const float* getTable(float value) const { return tables[waveformIndex(value)]; }

    // The table at a catalogue index; indices outside 0..29 give table 0 ("Sine").
    const float* getTableAt(int index) const {
        return tables[(index >= 0 && index < kNumWaveforms) ? index : 0];
    }
    // Writable access to a user slot (20..29) for tests and tools; null for the shared tables.
    // The engine only reads tables; writers call markTablesChanged when done.
    float* getMutableTableAt(int index) {
        return (index >= kFirstUserWaveform && index < kNumWaveforms)
                   ? userTables[index - kFirstUserWaveform]
                   : nullptr;
    }

    // Counts changes of the user tables' contents, so that values derived from a table can
    // tell when to compute again.
    void markTablesChanged() { tablesRevision.fetch_add(1, std::memory_order_release); }
    // Replaces user slot 0..9 (User1..User10) sample by sample with atomic stores, so that the
    // editor may draw its picture meanwhile; call markTablesChanged after.
    void replaceUserTable(int slot, const float* samples);
    std::uint32_t getTablesRevision() const {
        return tablesRevision.load(std::memory_order_acquire);
    }

    static const char* waveformName(float value);
    static const char* waveformNameAt(int index); // "Sine" outside 0..29

    // Exact, case-sensitive match against the catalogue names; no match (and "Sine") gives 0.
    static int waveformIndexOfName(const char* name);

    // Writes a name of at most 7 characters and a terminator into an 8-byte buffer.
    static void displayText(float value, char* text);

    // One catalogue step down or up, clamped to 0..1.
    static float previousValue(float value);
    static float nextValue(float value);

    // 50 points of the selected table at trunc(i / 50 * 4096), optionally through invertSample.
    void previewPoints(float value, bool invert, float* points) const;

private:
    std::string subfolder;
    std::string folder;
    // Every slot in catalogue order, so a lookup is one load whoever owns the table.
    const float* tables[kNumWaveforms];
    alignas(64) float userTables[kNumUserWaveforms][kTableSize];
    std::atomic<std::uint32_t> tablesRevision{0};
};

} // namespace Korvatune
