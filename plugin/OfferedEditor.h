#pragma once

#include "plugin/InstrumentEditor.h"

namespace Korvatune {

// The editor this build offers: defined by the editor library, or by the one that stands in for
// it in a build without an editor, whichever the product links.
EditorFactory offeredEditor();

} // namespace Korvatune
