#pragma once

#include "support/Vst2Phrase.h"
#include "vst3/Vst3TestHost.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Korvatune::testing {

// One block's share of the phrase as a host sends it: notes as note events, controllers through
// the controller's MIDI mapping as parameter changes, other messages dropped.
inline void addPhraseEvents(std::uint32_t start, std::uint32_t end, IMidiMapping* mapping,
                            EventList& events, ParameterChanges& changes) {
    for (const TimedMidi& message : testPhrase()) {
        if (message.frame < start || message.frame >= end) {
            continue;
        }
        const auto offset = static_cast<std::int32_t>(message.frame - start);
        const int status = message.bytes[0] & 0xF0;
        const int channel = message.bytes[0] & 0x0F;
        if (status == 0x90 || status == 0x80) {
            const bool on = status == 0x90 && message.bytes[2] > 0;
            events.addNote(on, offset, channel, message.bytes[1], message.bytes[2]);
        } else if (status == 0xB0 && mapping != nullptr) {
            ParamID id = 0;
            if (mapping->getMidiControllerAssignment(0, static_cast<std::int16_t>(channel),
                                                     message.bytes[1], id) == kResultTrue) {
                changes.add(id, offset, message.bytes[2] / 127.0);
            }
        }
    }
}

// The phrase through the processor in blocks of the given size, after the program and the
// overrides arrive as the first block's changes, with the automation given: left, then right.
inline std::vector<float> playPhrase(Processor& processor, IMidiMapping* mapping, int program,
                                     const Overrides& overrides, std::uint32_t blockSize,
                                     const std::vector<TimedChange>& automation = {}) {
    for (std::uint32_t start = 0; start < kPhraseFrames; start += blockSize) {
        const std::uint32_t end = std::min(start + blockSize, kPhraseFrames);
        EventList events;
        ParameterChanges changes;
        if (start == 0) {
            changes.add(kProgramId, 0, program / static_cast<double>(kLastProgram));
            for (const auto& [index, value] : overrides) {
                changes.add(static_cast<ParamID>(index), 0, value);
            }
        }
        for (const TimedChange& change : automation) {
            if (change.frame >= start && change.frame < end) {
                changes.add(static_cast<ParamID>(change.index),
                            static_cast<std::int32_t>(change.frame - start), change.value);
            }
        }
        addPhraseEvents(start, end, mapping, events, changes);
        processor.render(static_cast<std::int32_t>(end - start), &events, &changes);
    }
    std::vector<float> both = processor.left;
    both.insert(both.end(), processor.right.begin(), processor.right.end());
    return both;
}

} // namespace Korvatune::testing
