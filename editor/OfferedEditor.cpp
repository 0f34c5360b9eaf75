#include "plugin/OfferedEditor.h"

#include "editor/DrawTestEditor.h"
#include "plugin/VstXSynth.h"

namespace Korvatune {

namespace {

void attachDrawTestEditor(VstXSynth& synth) {
    auto editor = std::make_unique<DrawTestEditor>(synth);
    DrawTestEditor& shown = *editor;
    synth.attachEditor(std::move(editor), shown);
}

} // namespace

EditorFactory offeredEditor() {
    return attachDrawTestEditor;
}

} // namespace Korvatune
