#include "editor/MyTabView.h"

namespace Korvatune {

Gui::View* MyTabView::mouseDown(const Gui::MouseEvent& event) {
    if (event.button == Gui::MouseButton::Right && buttonAt(event.where)) {
        return nullptr;
    }
    return TabView::mouseDown(event);
}

} // namespace Korvatune
