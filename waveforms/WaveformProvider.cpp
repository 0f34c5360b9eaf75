#include "waveforms/WaveformProvider.h"

#include "engine/SampleFunctions.h"
#include "platform/TextPaths.h"
#include "waveforms/SharedWaveformTables.h"
#include "waveforms/WaveformFileLoader.h"
#include "waveforms/WaveformTableBuilder.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace Korvatune {

namespace {

constexpr const char* kNames[WaveformProvider::kNumWaveforms] = {
    "Sine",       "Sawtooth",   "Pulse", "QuadPulse", "OctPulse", "Triangle", "Noize", "LQ Noize 1",
    "LQ Noize 2", "LQ Noize 3", "Form1", "Form2",     "Form3",    "Form4",    "Form5", "Form6",
    "Form7",      "Form8",      "Form9", "Form10",    "User1",    "User2",    "User3", "User4",
    "User5",      "User6",      "User7", "User8",     "User9",    "User10"};

constexpr const char* kEnvironmentVariable = "KORVATUNE_OMBRAFELL";

constexpr float kUserPeak = 0.98777f;

// Display names of at most 7 characters for the 8-byte host display text.
constexpr const char* kShortNames[WaveformProvider::kNumWaveforms] = {
    "Sine",    "Saw",     "Pulse", "QuadPls", "OctPls", "Triangl", "Noize", "LQNoiz1",
    "LQNoiz2", "LQNoiz3", "Form1", "Form2",   "Form3",  "Form4",   "Form5", "Form6",
    "Form7",   "Form8",   "Form9", "Form10",  "User1",  "User2",   "User3", "User4",
    "User5",   "User6",   "User7", "User8",   "User9",  "User10"};

} // namespace

WaveformProvider::WaveformProvider() {
    const SharedWaveformTables& shared = sharedWaveformTables();
    for (int index = 0; index < kFirstUserWaveform; ++index) {
        tables[index] = shared.computed[index];
    }
    std::memset(userTables, 0, sizeof(userTables));
    for (int slot = 0; slot < kNumUserWaveforms; ++slot) {
        tables[kFirstUserWaveform + slot] = userTables[slot];
    }
}

WaveformProvider::~WaveformProvider() = default;

void WaveformProvider::setSubfolder(const char* name) {
    subfolder = name ? name : "";
}

void WaveformProvider::setFolder(const char* hostDirectory) {
    setUtf8Folder(hostDirectory != nullptr ? Platform::hostTextToUtf8(hostDirectory) : "");
}

void WaveformProvider::setUtf8Folder(std::string utf8Folder) {
    if (!utf8Folder.empty()) {
        folder = std::move(utf8Folder);
        return;
    }
    if (const auto environment = Platform::environmentVariable(kEnvironmentVariable)) {
        folder = *environment; // even an empty value
        return;
    }
    std::error_code error;
    const std::filesystem::path workingDirectory = std::filesystem::current_path(error);
    if (!error) {
        folder = Platform::pathToUtf8(workingDirectory);
    }
}

std::string WaveformProvider::userFilePath(int slot) const {
    if (slot < 1 || slot > kNumUserWaveforms) {
        return std::string();
    }
    char name[16];
    std::snprintf(name, sizeof(name), "user%02d.raw", slot);
    std::string path = folder;
    path += Platform::kPathSeparator;
    path += subfolder;
    path += Platform::kPathSeparator;
    path += name;
    return path;
}

void WaveformProvider::build() {
    // The built-in shapes, then the user files where present; every user table ends at peak
    // 0.98777.
    const SharedWaveformTables& shared = sharedWaveformTables();
    for (int slot = 0; slot < kNumUserWaveforms; ++slot) {
        float* table = userTables[slot];
        std::memcpy(table, shared.builtinShapes[slot], sizeof(userTables[slot]));
        const std::string path = userFilePath(slot + 1);
        loadFile(path.c_str(), table);
        WaveformTableBuilder::normalise(table, kUserPeak);
    }
    markTablesChanged();
}

bool WaveformProvider::loadUserWaveform(const char* path, float value) {
    const int index = waveformIndex(value);
    if (index < kFirstUserWaveform || index >= kNumWaveforms) {
        return false;
    }
    const int slot = index - kFirstUserWaveform;
    std::vector<float> table(userTables[slot], userTables[slot] + kTableSize);
    const bool loaded = loadFile(path, table.data());
    WaveformTableBuilder::normalise(table.data(), kUserPeak);
    replaceUserTable(slot, table.data());
    markTablesChanged();
    return loaded;
}

void WaveformProvider::replaceUserTable(int slot, const float* samples) {
    if (slot < 0 || slot >= kNumUserWaveforms) {
        return;
    }
    for (int i = 0; i < kTableSize; ++i) {
        std::atomic_ref<float>(userTables[slot][i]).store(samples[i], std::memory_order_relaxed);
    }
}

bool WaveformProvider::loadFile(const char* path, float* table) {
    std::vector<float> scratch(kTableSize);
    return WaveformFileLoader::loadFile(path, table, scratch.data());
}

const char* WaveformProvider::waveformName(float value) {
    return waveformNameAt(waveformIndex(value));
}

const char* WaveformProvider::waveformNameAt(int index) {
    return (index >= 0 && index < kNumWaveforms) ? kNames[index] : kNames[0];
}

int WaveformProvider::waveformIndexOfName(const char* name) {
    if (!name) {
        return 0;
    }
    for (int i = 1; i < kNumWaveforms; ++i) {
        if (std::strcmp(name, kNames[i]) == 0) {
            return i;
        }
    }
    return 0;
}

void WaveformProvider::displayText(float value, char* text) {
    if (!text) {
        return;
    }
    const char* name = kShortNames[waveformIndex(value)];
    std::size_t length = std::strlen(name);
    if (length > static_cast<std::size_t>(kDisplayTextSize - 1)) {
        length = kDisplayTextSize - 1;
    }
    std::memcpy(text, name, length);
    text[length] = '\0';
}

float WaveformProvider::previousValue(float value) {
    return clampValue(value - kValueStep, 0.0f, 1.0f);
}

float WaveformProvider::nextValue(float value) {
    return clampValue(value + kValueStep, 0.0f, 1.0f);
}

void WaveformProvider::previewPoints(float value, bool invert, float* points) const {
    if (!points) {
        return;
    }
    const float* table = getTable(value);
    for (int i = 0; i < kPreviewPointCount; ++i) {
        // trunc(i / 50 * 4096), computed exactly in integers
        // Atomic, as a restore may replace a user table while the editor draws it.
        const float e =
            std::atomic_ref<float>(const_cast<float&>(table[i * kTableSize / kPreviewPointCount]))
                .load(std::memory_order_relaxed);
        points[i] = invert ? invertSample(e) : e;
    }
}

} // namespace Korvatune
