#pragma once

#include "support/EntryUnderTest.h"
#include "support/TestHost.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace Korvatune::testing {

// Drives an instance through its AEffect record with MIDI and fixed-size blocks.
class SynthDriver {
public:
    explicit SynthDriver(float sampleRate = 44100.0f, EntryFunction entry = entryUnderTest())
        : effect(entry(recordingHost)) {
        dispatch(effect, effSetSampleRate, 0, 0, nullptr, sampleRate);
        dispatch(effect, effMainsChanged, 0, 1);
    }
    ~SynthDriver() { dispatch(effect, effClose); }
    SynthDriver(const SynthDriver&) = delete;
    SynthDriver& operator=(const SynthDriver&) = delete;

    AEffect* operator->() const { return effect; }
    AEffect* get() const { return effect; }

    void queue(unsigned char status, unsigned char data1, unsigned char data2,
               int deltaFrames = 0) {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof event;
        event.deltaFrames = deltaFrames;
        event.midiData[0] = static_cast<char>(status);
        event.midiData[1] = static_cast<char>(data1);
        event.midiData[2] = static_cast<char>(data2);
        pending.push_back(event);
    }
    void noteOn(int note, int velocity = 127, int deltaFrames = 0) {
        queue(0x90, static_cast<unsigned char>(note), static_cast<unsigned char>(velocity),
              deltaFrames);
    }
    void noteOff(int note, int deltaFrames = 0) {
        queue(0x80, static_cast<unsigned char>(note), 0, deltaFrames);
    }

    // Sends the queued events (also when there are none, as many hosts do) and renders.
    void render(int frames) {
        std::vector<VstEvent*> pointers;
        for (VstMidiEvent& event : pending) {
            pointers.push_back(reinterpret_cast<VstEvent*>(&event));
        }
        std::vector<char> storage(sizeof(VstEvents) + pointers.size() * sizeof(VstEvent*));
        auto* events = reinterpret_cast<VstEvents*>(storage.data());
        events->numEvents = static_cast<std::int32_t>(pointers.size());
        for (std::size_t i = 0; i < pointers.size(); ++i) {
            events->events[i] = pointers[i];
        }
        dispatch(effect, effProcessEvents, 0, 0, events);
        pending.clear();
        left.assign(static_cast<std::size_t>(frames), 1.0f);
        right.assign(static_cast<std::size_t>(frames), 1.0f);
        std::array<float*, 2> outputs = {left.data(), right.data()};
        effect->processReplacing(effect, nullptr, outputs.data(), frames);
    }

    std::vector<float> left;
    std::vector<float> right;

private:
    AEffect* effect;
    std::vector<VstMidiEvent> pending;
};

// The largest magnitude in a rendered channel.
inline float peakOf(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float sample : samples) {
        peak = std::max(peak, std::fabs(sample));
    }
    return peak;
}

} // namespace Korvatune::testing
