#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

namespace Korvatune {

// A change the user made, as the two actions that take it back and make it again.
struct UndoStep {
    std::function<void()> undo;
    std::function<void()> redo;
};

// The editor's undo and redo, on the user-interface thread only.
class UndoHistory {
public:
    // The oldest steps are dropped first beyond it.
    static constexpr std::size_t kCapacity = 200;

    // Records a step already done; recording after an undo drops the steps that could be redone.
    // A step with the same non-zero mergeKey as the last one, recorded within mergeWindowMs of
    // that step's last record (unsigned milliseconds of the caller's clock, wrapping) and with
    // no undo or redo in between, merges into it: one undo then goes back before both.
    // A step lacking either action is ignored, as are steps recorded while a step runs (the
    // changes an undo makes come back as notifications the editor would otherwise record).
    void record(UndoStep step, std::uint64_t mergeKey = 0, std::uint32_t nowMs = 0,
                std::uint32_t mergeWindowMs = 500);
    bool canUndo() const { return done > 0; }
    bool canRedo() const { return done < steps.size(); }
    // Run the step's action; false when there is none.
    bool undo();
    bool redo();
    void clear();
    std::size_t size() const { return steps.size(); }

private:
    struct Entry {
        UndoStep step;
        std::uint64_t mergeKey;
        std::uint32_t lastRecordMs;
    };

    bool mergesWithLast(std::uint64_t mergeKey, std::uint32_t nowMs,
                        std::uint32_t mergeWindowMs) const;
    void run(const std::function<void()>& action);

    std::deque<Entry> steps;
    // Steps [0, done) are done; the rest can be redone.
    std::size_t done = 0;
    bool mergeOpen = false;
    bool running = false;
};

} // namespace Korvatune
