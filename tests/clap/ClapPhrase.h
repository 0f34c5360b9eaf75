#pragma once

// The phrase every format must play as the VST 2 module does, through a CLAP instance.

#include "clap/ClapTestHost.h"
#include "support/SameBits.h"
#include "support/Vst2Phrase.h"

#include <algorithm>
#include <vector>

namespace Korvatune::testing {

// The VST 2 module's entry point, from the module as a host loads it.
inline EntryFunction vst2ModuleEntry() {
    static const LoadedLibrary module(vst2ModuleUnderTest());
    return reinterpret_cast<EntryFunction>(module.symbol("VSTPluginMain"));
}

// How the host hands notes over: as MIDI, or as its own note events (the rest stays MIDI).
enum class Notes { AsMidi, AsNoteEvents };

inline AnyEvent phraseEvent(const TimedMidi& event, std::uint32_t time, Notes notes) {
    const std::uint8_t status = event.bytes[0] & 0xF0;
    const int channel = event.bytes[0] & 0x0F;
    if (notes == Notes::AsNoteEvents && (status == 0x90 || status == 0x80)) {
        return noteEvent(status == 0x90 ? Clap::kEventNoteOn : Clap::kEventNoteOff, time,
                         event.bytes[1], event.bytes[2] / 127.0, channel);
    }
    return midiEvent(time, event.bytes[0], event.bytes[1], event.bytes[2]);
}

// A parameter's value as the instance's parameters take it: a list's entry number, else 0..1.
inline double plainValueOf(const ClapInstance& clap, int index, float value) {
    Clap::ParamInfo info{};
    clap.params().getInfo(clap.plugin, static_cast<std::uint32_t>(index), &info);
    return value * info.maxValue;
}

// The phrase through the instance in blocks of the given size, with the changes as parameter
// events on their frames: left, then right.
inline std::vector<float> playPhrase(ClapInstance& clap, std::uint32_t blockSize, Notes notes,
                                     const std::vector<TimedChange>& changes = {}) {
    EventList events;
    for (std::uint32_t start = 0; start < kPhraseFrames; start += blockSize) {
        const std::uint32_t end = std::min(start + blockSize, kPhraseFrames);
        events.clear();
        for (const TimedMidi& event : testPhrase()) {
            if (event.frame >= start && event.frame < end) {
                events.add(phraseEvent(event, event.frame - start, notes));
            }
        }
        for (const TimedChange& change : changes) {
            if (change.frame >= start && change.frame < end) {
                events.add(paramEvent(change.frame - start,
                                      static_cast<std::uint32_t>(change.index),
                                      plainValueOf(clap, change.index, change.value)));
            }
        }
        clap.process(end - start, events);
    }
    return clap.both();
}

// The values set before the first block.
inline void setOverrides(ClapInstance& clap, const Overrides& overrides) {
    EventList events;
    for (const auto& [index, value] : overrides) {
        events.add(
            paramEvent(0, static_cast<std::uint32_t>(index), plainValueOf(clap, index, value)));
    }
    clap.flush(events);
}

// The phrase through a new instance playing the program with the overrides.
inline std::vector<float> renderClap(const ClapModule& module, int program,
                                     const Overrides& overrides, double sampleRate,
                                     std::uint32_t blockSize, Notes notes = Notes::AsMidi,
                                     const std::vector<TimedChange>& changes = {}) {
    TestHost host;
    ClapInstance clap(module, host);
    if (clap.plugin == nullptr || !clap.activate(sampleRate, blockSize) ||
        !clap.loadProgram(program)) {
        return {};
    }
    setOverrides(clap, overrides);
    return playPhrase(clap, blockSize, notes, changes);
}

} // namespace Korvatune::testing
