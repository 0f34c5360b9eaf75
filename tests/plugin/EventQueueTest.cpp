#include "plugin/EventQueue.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace Korvatune {
namespace {

using Handled = std::vector<std::pair<std::int32_t, int>>;

// Asks at every sample of a block, as the engine does, and notes which event came when.
void runBlock(EventQueue& queue, std::int32_t frames, Handled& handled, std::int32_t pushAt = -1,
              std::int32_t pushedOffset = 0, char pushedNote = 0) {
    for (std::int32_t position = 0; position < frames; ++position) {
        if (position == pushAt) {
            const char data[3] = {static_cast<char>(0x90), pushedNote, 100};
            queue.push(pushedOffset, data);
        }
        queue.dispatchDue(position, [&](const EventQueue::Event& event) {
            handled.emplace_back(position, event.midiData[1]);
        });
    }
    queue.advanceBlock(frames);
}

void push(EventQueue& queue, std::int32_t offset, char note) {
    const char data[3] = {static_cast<char>(0x90), note, 100};
    ASSERT_TRUE(queue.push(offset, data));
}

TEST(EventQueue, EveryEventComesAtItsSampleInSlotOrderAlsoInLaterBlocks) {
    EventQueue queue;
    push(queue, 200, 1);
    push(queue, 50, 2);
    push(queue, 700, 3);
    push(queue, 50, 4);
    Handled handled;
    runBlock(queue, 512, handled);
    EXPECT_EQ(handled, (Handled{{50, 2}, {50, 4}, {200, 1}}));
    EXPECT_EQ(queue.size(), 1);

    // An event arriving during a block for a sample before the one waiting is not held back
    // by it, and one already past is handled at once.
    handled.clear();
    runBlock(queue, 512, handled, 10, 40, 5);
    push(queue, 0, 6);
    runBlock(queue, 512, handled, 300, 100, 7);
    EXPECT_EQ(handled, (Handled{{40, 5}, {188, 3}, {0, 6}, {300, 7}}));
    EXPECT_EQ(queue.size(), 0);
}

} // namespace
} // namespace Korvatune
