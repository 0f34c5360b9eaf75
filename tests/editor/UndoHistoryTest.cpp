#include "editor/UndoHistory.h"

#include <gtest/gtest.h>

#include <vector>

namespace Korvatune {
namespace {

// A value the steps change, as a parameter would be changed.
struct Knob {
    int value = 0;
    UndoStep change(int to) {
        const int from = value;
        value = to;
        return {[this, from] { value = from; }, [this, to] { value = to; }};
    }
};

TEST(UndoHistory, UndoesAndRedoesInOrder) {
    Knob knob;
    UndoHistory history;
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.undo());
    for (int to : {1, 2, 3}) {
        history.record(knob.change(to));
    }
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo());
    std::vector<int> seen;
    while (history.undo()) {
        seen.push_back(knob.value);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 0}));
    EXPECT_FALSE(history.canUndo());
    while (history.redo()) {
        seen.push_back(knob.value);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 0, 1, 2, 3}));
    EXPECT_EQ(history.size(), 3u);
    history.clear();
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.size(), 0u);
}

TEST(UndoHistory, RecordingAfterAnUndoDropsTheRedoBranch) {
    Knob knob;
    UndoHistory history;
    history.record(knob.change(1));
    history.record(knob.change(2));
    history.record(knob.change(3));
    history.undo();
    history.undo();
    history.record(knob.change(7));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.size(), 2u);
    history.undo();
    EXPECT_EQ(knob.value, 1);
    history.redo();
    EXPECT_EQ(knob.value, 7);
}

TEST(UndoHistory, KeepsTheNewestStepsUpToItsCapacity) {
    Knob knob;
    UndoHistory history;
    for (int to = 1; to <= 250; ++to) {
        history.record(knob.change(to));
    }
    EXPECT_EQ(history.size(), UndoHistory::kCapacity);
    int undone = 0;
    while (history.undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, 200);
    EXPECT_EQ(knob.value, 50);
    while (history.redo()) {
    }
    EXPECT_EQ(knob.value, 250);
}

TEST(UndoHistory, StepsOfOneKeyWithinTheWindowMerge) {
    Knob knob;
    UndoHistory history;
    history.record(knob.change(1), 9, 1000);
    history.record(knob.change(2), 9, 1400);
    // The window counts from the last record, so a steady drag stays one step.
    history.record(knob.change(3), 9, 1900);
    EXPECT_EQ(history.size(), 1u);
    history.undo();
    EXPECT_EQ(knob.value, 0);
    history.redo();
    EXPECT_EQ(knob.value, 3);
}

TEST(UndoHistory, MergingStopsAtTheWindowsEdgeAnotherKeyOrKeyZero) {
    Knob knob;
    UndoHistory history;
    history.record(knob.change(1), 9, 1000);
    history.record(knob.change(2), 9, 1501);
    EXPECT_EQ(history.size(), 2u);
    history.record(knob.change(3), 8, 1502);
    EXPECT_EQ(history.size(), 3u);
    history.record(knob.change(4), 0, 1503);
    history.record(knob.change(5), 0, 1503);
    EXPECT_EQ(history.size(), 5u);
    history.record(knob.change(6), 7, 10, 0);
    history.record(knob.change(7), 7, 10, 0);
    EXPECT_EQ(history.size(), 6u);
}

TEST(UndoHistory, MergingMeasuresAcrossAWrapOfTheClock) {
    Knob knob;
    UndoHistory history;
    history.record(knob.change(1), 9, 0xFFFFFF00u);
    history.record(knob.change(2), 9, 0x00000010u);
    EXPECT_EQ(history.size(), 1u);
    history.record(knob.change(3), 9, 0xFFFFFF00u);
    EXPECT_EQ(history.size(), 2u);
}

TEST(UndoHistory, AnUndoOrRedoInBetweenBreaksMerging) {
    Knob knob;
    UndoHistory history;
    history.record(knob.change(1), 9, 100);
    history.record(knob.change(2), 9, 110);
    history.undo();
    history.redo();
    history.record(knob.change(3), 9, 120);
    EXPECT_EQ(history.size(), 2u);
    history.undo();
    history.record(knob.change(4), 9, 130);
    EXPECT_EQ(history.size(), 2u);
    history.undo();
    EXPECT_EQ(knob.value, 2);
}

// The editor hears the changes an undo makes as parameter changes, as it hears the user's.
TEST(UndoHistory, StepsRecordedWhileAStepRunsAreIgnored) {
    Knob knob;
    UndoHistory history;
    history.record(knob.change(1));
    const auto echo = [&] { history.record(knob.change(knob.value)); };
    history.record({[&] {
                        knob.value = 1;
                        echo();
                    },
                    [&] {
                        knob.value = 2;
                        echo();
                    }});
    knob.value = 2;
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(knob.value, 1);
    EXPECT_TRUE(history.canRedo());
    EXPECT_EQ(history.size(), 2u);
    EXPECT_TRUE(history.redo());
    EXPECT_EQ(knob.value, 2);
    EXPECT_EQ(history.size(), 2u);
}

TEST(UndoHistory, IgnoresAStepMissingAnAction) {
    Knob knob;
    UndoHistory history;
    history.record(knob.change(1));
    history.record({nullptr, [&] { knob.value = 5; }});
    history.record({[&] { knob.value = 5; }, nullptr});
    EXPECT_EQ(history.size(), 1u);
    history.undo();
    EXPECT_EQ(knob.value, 0);
}

} // namespace
} // namespace Korvatune
