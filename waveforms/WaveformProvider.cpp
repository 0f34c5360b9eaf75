#include "waveforms/WaveformProvider.h"

#include "engine/SampleFunctions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Korvatune {

namespace {

constexpr const char* kNames[WaveformProvider::kNumWaveforms] = {
    "Sine",       "Sawtooth",   "Pulse",      "QuadPulse", "OctPulse", "Triangle",
    "Noize",      "LQ Noize 1", "LQ Noize 2", "LQ Noize 3", "Form1",   "Form2",
    "Form3",      "Form4",      "Form5",      "Form6",      "Form7",   "Form8",
    "Form9",      "Form10",     "User1",      "User2",      "User3",   "User4",
    "User5",      "User6",      "User7",      "User8",      "User9",   "User10"};

} // namespace

WaveformProvider::WaveformProvider() {
    std::memset(tables, 0, sizeof(tables));
    std::memset(scratch, 0, sizeof(scratch));
}

WaveformProvider::~WaveformProvider() = default;

void WaveformProvider::setSubfolder(const char* name) { subfolder = name ? name : ""; }

void WaveformProvider::setFolder(const char* hostDirectory) {
    if (hostDirectory) {
        folder = hostDirectory;
    }
}

std::string WaveformProvider::userFilePath(int slot) const {
    if (slot < 1 || slot > kNumUserWaveforms) {
        return std::string();
    }
    char name[16];
    std::snprintf(name, sizeof(name), "user%02d.raw", slot);
    return folder + "/" + subfolder + "/" + name;
}

void WaveformProvider::build() {
    // Stub: sine only until the table builders land.
    for (int i = 0; i < kTableSize; ++i) {
        tables[0][i] = std::sin(6.2831855f * static_cast<float>(i) / 4096.0f);
    }
}

bool WaveformProvider::loadUserWaveform(const char*, float) { return false; }

bool WaveformProvider::loadFile(const char*, float*) { return false; }

const char* WaveformProvider::waveformName(float value) { return waveformNameAt(waveformIndex(value)); }

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
    std::strncpy(text, waveformName(value), kDisplayTextSize - 1);
    text[kDisplayTextSize - 1] = '\0';
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
        const float e = table[i * kTableSize / kPreviewPointCount];
        points[i] = invert ? invertSample(e) : e;
    }
}

} // namespace Korvatune
