#pragma once

#include <atomic>
#include <cstdint>
#include <limits>

namespace Korvatune {

// How long an audition holds its note: the command line's default gate.
inline constexpr double kAuditionGateSeconds = 0.5;

// A note the editor asks the running instrument to play. The request crosses threads as one
// flag; the countdown to the note's release belongs to the audio thread alone.
class Audition {
public:
    static constexpr int kNote = 36;
    static constexpr int kVelocity = 127;
    static constexpr std::int32_t kNotInBlock = std::numeric_limits<std::int32_t>::max();

    // Any thread.
    void request() { requested.store(true, std::memory_order_relaxed); }

    // --- audio thread --------------------------------------------------------------------------
    bool takeRequest() { return requested.exchange(false, std::memory_order_relaxed); }
    // The note now sounds on voice, to be released that many frames after the block's start.
    void start(int voice, std::int64_t framesToRelease) {
        heldVoice = voice;
        releaseIn = framesToRelease;
    }
    // The voice whose release is still pending; -1 when none is.
    int pendingVoice() const { return heldVoice; }
    void cancel() { heldVoice = -1; }
    // The frame of a block of that length at which the note is released, or kNotInBlock.
    std::int32_t releaseFrame(std::int32_t frames) const {
        return heldVoice >= 0 && releaseIn < frames ? static_cast<std::int32_t>(releaseIn)
                                                    : kNotInBlock;
    }
    void advance(std::int32_t frames) {
        if (heldVoice >= 0) {
            releaseIn -= frames;
        }
    }

private:
    std::atomic<bool> requested{false};
    int heldVoice = -1;
    std::int64_t releaseIn = 0;
};

} // namespace Korvatune
