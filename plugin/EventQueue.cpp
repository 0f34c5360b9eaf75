#include "plugin/EventQueue.h"

#include <algorithm>

namespace Korvatune {

void EventQueue::clear() {
    for (Event& event : slots) {
        event = {kFree, {0, 0, 0}};
    }
    count = 0;
    earliest = kNever;
}

bool EventQueue::push(std::int32_t deltaFrames, const char* midiData) {
    if (count >= kSlots) {
        return false;
    }
    const auto free = std::find_if(slots.begin(), slots.end(),
                                   [](const Event& event) { return event.deltaFrames == kFree; });
    if (free == slots.end()) {
        return false;
    }
    free->deltaFrames = std::max(deltaFrames, 0);
    earliest = std::min(earliest, free->deltaFrames);
    for (int i = 0; i < 3; ++i) {
        free->midiData[i] = static_cast<std::uint8_t>(midiData[i]);
    }
    ++count;
    return true;
}

void EventQueue::advanceBlock(std::int32_t frames) {
    if (count == 0) {
        return;
    }
    for (Event& event : slots) {
        if (event.deltaFrames != kFree) {
            event.deltaFrames -= frames;
        }
    }
    earliest -= frames;
}

} // namespace Korvatune
