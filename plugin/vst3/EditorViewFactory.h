#pragma once

#include "plugin/InstrumentEditor.h"
#include "plugin/vst3/Vst3View.h"

#include <functional>

namespace Korvatune::Vst3 {

// A view that shows the editor, tells the listener of the user's edits and calls onIdle on the
// UI thread while open; null in a build without the editor. The caller holds the one reference.
IPlugView* createEditorView(InstrumentEditor& editor, EditListener& listener,
                            std::function<void()> onIdle);

} // namespace Korvatune::Vst3
