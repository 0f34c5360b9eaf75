#include "plugin/OfferedEditor.h"

namespace Korvatune {

EditorFactory offeredEditor() {
    return nullptr;
}

} // namespace Korvatune
