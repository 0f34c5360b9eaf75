#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace Korvatune {

// MIDI events waiting for their sample within the block. Slots are scanned in index order, so
// events due at the same sample are handled in slot order, not in order of arrival.
class EventQueue {
public:
    static constexpr int kSlots = 256;

    struct Event {
        std::int32_t deltaFrames;
        std::array<std::uint8_t, 3> midiData;
    };

    EventQueue() { clear(); }

    void clear();
    // Takes the lowest free slot; false when the queue is full. A negative offset is taken as
    // 0: the free-slot marker must never be stored for a real event.
    bool push(std::int32_t deltaFrames, const char* midiData);
    int size() const { return count; }

    // Hands every event due at position (offset not above it) to handle, in slot order, and
    // frees its slot. The slots are scanned only when the earliest event is due: the engine asks
    // every sample, and an event late in the block would otherwise cost a scan per sample.
    template <typename Handler> void dispatchDue(std::int32_t position, Handler&& handle) {
        if (position < earliest) {
            return;
        }
        earliest = kNever;
        for (Event& event : slots) {
            if (event.deltaFrames == kFree) {
                continue;
            }
            if (event.deltaFrames <= position) {
                const Event due = event;
                event.deltaFrames = kFree;
                --count;
                handle(due);
            } else {
                earliest = std::min(earliest, event.deltaFrames);
            }
        }
    }

    // Keeps events of later blocks at their position after a block of the given length.
    void advanceBlock(std::int32_t frames);

private:
    static constexpr std::int32_t kFree = -99;
    static constexpr std::int32_t kNever = std::numeric_limits<std::int32_t>::max();

    std::array<Event, kSlots> slots;
    int count = 0;
    // The lowest offset of a waiting event.
    std::int32_t earliest = kNever;
};

} // namespace Korvatune
