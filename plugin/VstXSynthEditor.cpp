#include "plugin/VstXSynth.h"

#include "editor/DrawTestEditor.h"

namespace Korvatune {

void VstXSynth::attachEditor() {
    auto editor = std::make_unique<DrawTestEditor>(*this);
    drawTestEditor = editor.get();
    setEditor(std::move(editor));
}

void VstXSynth::refreshEditor() {
    if (drawTestEditor != nullptr) {
        drawTestEditor->refreshAll();
    }
}

void VstXSynth::showParameterInEditor(int index, float value) {
    if (drawTestEditor != nullptr) {
        drawTestEditor->setParameter(index, value);
    }
}

} // namespace Korvatune
