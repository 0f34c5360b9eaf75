#include "plugin/vst3/EditorViewFactory.h"

namespace Korvatune::Vst3 {

IPlugView* createEditorView(InstrumentEditor&, EditListener&) {
    return nullptr;
}

} // namespace Korvatune::Vst3
