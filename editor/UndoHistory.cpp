#include "editor/UndoHistory.h"

#include <utility>

namespace Korvatune {

namespace {

// Clears the flag however the action ends, so that an action that throws leaves the history
// usable.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag(flag) { flag = true; }
    ~RunningFlag() { flag = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag;
};

} // namespace

void UndoHistory::record(UndoStep step, std::uint64_t mergeKey, std::uint32_t nowMs,
                         std::uint32_t mergeWindowMs) {
    if (running || !step.undo || !step.redo) {
        return;
    }
    if (mergesWithLast(mergeKey, nowMs, mergeWindowMs)) {
        Entry& last = steps.back();
        last.step.redo = std::move(step.redo);
        last.lastRecordMs = nowMs;
        return;
    }
    steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(done), steps.end());
    steps.push_back(Entry{std::move(step), mergeKey, nowMs});
    if (steps.size() > kCapacity) {
        steps.pop_front();
    }
    done = steps.size();
    mergeOpen = true;
}

// Unsigned subtraction measures the time across a wrap of the caller's clock.
bool UndoHistory::mergesWithLast(std::uint64_t mergeKey, std::uint32_t nowMs,
                                 std::uint32_t mergeWindowMs) const {
    return mergeKey != 0 && mergeOpen && !steps.empty() && steps.back().mergeKey == mergeKey &&
           static_cast<std::uint32_t>(nowMs - steps.back().lastRecordMs) <= mergeWindowMs;
}

bool UndoHistory::undo() {
    if (running || !canUndo()) {
        return false;
    }
    mergeOpen = false;
    run(steps[done - 1].step.undo);
    --done;
    return true;
}

bool UndoHistory::redo() {
    if (running || !canRedo()) {
        return false;
    }
    mergeOpen = false;
    run(steps[done].step.redo);
    ++done;
    return true;
}

void UndoHistory::run(const std::function<void()>& action) {
    const RunningFlag flag(running);
    action();
}

void UndoHistory::clear() {
    if (running) {
        return;
    }
    steps.clear();
    done = 0;
    mergeOpen = false;
}

} // namespace Korvatune
