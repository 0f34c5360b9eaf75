#include "editor/DrawTestEditor.h"

#include "plugin/VstXSynth.h"

#include <algorithm>
#include <chrono>

namespace Korvatune {

namespace {

using ParameterValues = std::vector<std::pair<int, float>>;

std::uint32_t nowMs() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

} // namespace

bool DrawTestEditor::undo() {
    commitEdits(0);
    return history_.undo();
}

bool DrawTestEditor::redo() {
    commitEdits(0);
    return history_.redo();
}

// The value before the first change of a gesture is what an undo goes back to.
void DrawTestEditor::noteEditStart(int index) {
    const bool known = std::any_of(pendingEdits_.begin(), pendingEdits_.end(),
                                   [index](const auto& edit) { return edit.first == index; });
    if (!known) {
        pendingEdits_.emplace_back(index, synth_.getParameter(index));
    }
}

// Ends the gesture's collection as one step; edits that changed nothing leave no step.
void DrawTestEditor::commitEdits(std::uint64_t mergeKey) {
    ParameterValues before;
    ParameterValues after;
    for (const auto& [index, value] : pendingEdits_) {
        const float now = synth_.getParameter(index);
        if (now != value) {
            before.emplace_back(index, value);
            after.emplace_back(index, now);
        }
    }
    pendingEdits_.clear();
    if (before.empty()) {
        return;
    }
    history_.record(
        {[this, before] { applyFromHistory(before); }, [this, after] { applyFromHistory(after); }},
        mergeKey, nowMs());
}

// A value put back counts as an edit of the user's, so the host records it as well.
void DrawTestEditor::applyFromHistory(const ParameterValues& values) {
    for (const auto& [index, value] : values) {
        synth_.setParameter(index, value);
        reportEdit(index);
    }
    endGestures();
    afterHistoryChange();
}

void DrawTestEditor::afterHistoryChange() {
    refreshEverything();
    showProgramName();
}

// Program changes are undone as a whole: which program plays, and its values and name.
void DrawTestEditor::recordProgramStep(const std::function<void()>& change) {
    commitEdits(0);
    struct Snapshot {
        int program;
        ParameterValues values;
        std::string name;
        std::array<float, kNumProgramKeys> baseline;
    };
    const auto take = [this] {
        Snapshot snapshot{
            synth_.getProgram(), {}, synth_.currentProgram().getName(), programBaseline_};
        for (int index = 0; index < kNumProgramKeys; ++index) {
            snapshot.values.emplace_back(index, synth_.getParameter(index));
        }
        return snapshot;
    };
    const auto restore = [this](const Snapshot& snapshot) {
        synth_.setProgram(snapshot.program);
        synth_.setProgramName(snapshot.name.c_str());
        for (const auto& [index, value] : snapshot.values) {
            synth_.setParameter(index, value);
        }
        synth_.reportStateChange();
        for (int index = 0; index < kNumProgramKeys; ++index) {
            reportEdit(index);
        }
        endGestures();
        programBaseline_ = snapshot.baseline;
        baselineProgram_ = snapshot.program;
        afterHistoryChange();
    };
    const Snapshot before = take();
    change();
    resetProgramBaseline();
    const Snapshot after = take();
    history_.record({[restore, before] { restore(before); }, [restore, after] { restore(after); }});
}

} // namespace Korvatune
