#pragma once

#include "plugin/Instrument.h"
#include "plugin/vst3/Vst3Processing.h"

#include <cstdint>

namespace Korvatune::Vst3 {

// One host block played through the instrument. Notes go to the instrument's queue at their
// offsets and the block renders in one piece, as from a VST 2 host; it is cut only where a
// change of the host's automation or a program change must take effect on its own frame, and
// where the queue is full. Never allocates, locks or waits.
class BlockPlayer {
public:
    // Without both channels the block's changes still apply, and nothing renders.
    BlockPlayer(Instrument& instrument, float* left, float* right, std::int32_t frames);

    void play(IEventList* events, IParameterChanges* changes);

private:
    struct Point {
        std::int32_t queue = -1;
        std::int32_t offset = 0;
        ParamValue value = 0.0;
    };

    // Queues past this many are taken at the block's start; hosts send one per parameter.
    static constexpr std::int32_t kMaxQueues = 128;

    Point earliestPoint(IParameterChanges* changes, std::int32_t queueCount,
                        const std::int32_t* nextPoints) const;
    void apply(ParamID id, std::int32_t offset, ParamValue value);
    void playNote(const Event& event);
    void queue(const std::uint8_t (&message)[3], std::int32_t frame);
    void renderUpTo(std::int32_t frame);
    std::int32_t clampedOffset(std::int32_t offset, std::int32_t last) const;

    Instrument& instrument_;
    float* left_;
    float* right_;
    std::int32_t frames_;
    // The first frame not yet rendered, and how many events wait in the queue for the piece
    // that starts there.
    std::int32_t start_ = 0;
    int queued_ = 0;
};

} // namespace Korvatune::Vst3
