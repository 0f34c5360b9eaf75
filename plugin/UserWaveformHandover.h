#pragma once

#include "plugin/UserWaveformCodec.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <atomic>

namespace Korvatune {

// Hands user waveform tables prepared on another thread to the audio thread, which copies them
// into the instrument between blocks. The audio thread never waits: while a writer holds the
// tables it leaves them for the next block. A writer waits only while the audio thread copies.
//
// One writer at a time (the host's restore calls never overlap). pendingTable may be called by
// a thread that never overlaps with a writer (the host's save) while the audio thread delivers.
class UserWaveformHandover {
public:
    static constexpr int kSlots = WaveformProvider::kNumUserWaveforms;

    // Holds the tables for one writer; what it put is published when it ends.
    class Offer {
    public:
        explicit Offer(UserWaveformHandover& handover);
        ~Offer();
        Offer(const Offer&) = delete;
        Offer& operator=(const Offer&) = delete;

        // Slot 0..9 (User1..User10); a later put to the same slot wins.
        void put(int slot, const WaveformTable& table);

    private:
        UserWaveformHandover& handover_;
    };

    // Audio thread: copies the published tables into their user slots. True when it did.
    bool deliverTo(WaveformProvider& provider);

    // The table waiting for a slot, or null when none waits.
    const float* pendingTable(int slot) const;

private:
    enum Phase : int { kEmpty, kWriting, kPublished, kDelivering };

    std::atomic<int> phase_{kEmpty};
    std::array<bool, kSlots> waiting_{};
    std::array<WaveformTable, kSlots> tables_{};
};

} // namespace Korvatune
