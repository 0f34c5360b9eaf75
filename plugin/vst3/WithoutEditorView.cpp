#include "plugin/vst3/EditorViewFactory.h"

namespace Korvatune::Vst3 {

IPlugView* createEditorView(InstrumentEditor&, EditListener&, std::function<void()>) {
    return nullptr;
}

} // namespace Korvatune::Vst3
