#pragma once

#include "plugin/InstrumentEditor.h"
#include "plugin/vst3/Vst3View.h"

namespace Korvatune::Vst3 {

// A view that shows the editor and tells the listener of the user's edits; null in a build
// without the editor. The caller holds the one reference.
IPlugView* createEditorView(InstrumentEditor& editor, EditListener& listener);

} // namespace Korvatune::Vst3
