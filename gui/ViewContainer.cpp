#include "gui/ViewContainer.h"

#include "gui/Control.h"
#include "gui/Frame.h"

#include <algorithm>

namespace Korvatune::Gui {

void ViewContainer::adopt(std::unique_ptr<View> child) {
    if (!child) {
        return;
    }
    child->parent_ = this;
    View& added = *child;
    children_.push_back(std::move(child));
    added.setDirty();
}

std::unique_ptr<View> ViewContainer::removeView(View& child) {
    const auto found = std::find_if(children_.begin(), children_.end(),
                                    [&](const auto& each) { return each.get() == &child; });
    if (found == children_.end()) {
        return nullptr;
    }
    if (Frame* owner = frame()) {
        owner->forgetView(child);
    }
    invalidateChildArea(child.rect());
    std::unique_ptr<View> removed = std::move(*found);
    children_.erase(found);
    removed->parent_ = nullptr;
    return removed;
}

void ViewContainer::draw(DrawContext& context) {
    drawBackground(context);
    drawChildren(context);
}

void ViewContainer::drawChildren(DrawContext& context) {
    const DrawContext::State saved = context.state();
    context.clipTo(rect());
    context.translate(rect().topLeft());
    for (const auto& child : children_) {
        if (!child->isVisible() || !child->rect().intersects(context.clipArea())) {
            continue;
        }
        const DrawContext::State beforeChild = context.state();
        context.clipTo(child->rect());
        child->draw(context);
        context.restore(beforeChild);
    }
    context.restore(saved);
}

View* ViewContainer::findViewAt(Point where, const std::function<bool(View&, Point)>& accepts) {
    const Point local = where - rect().topLeft();
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        View& child = **it;
        if (!child.isVisible() || !child.rect().contains(local)) {
            continue;
        }
        auto* container = dynamic_cast<ViewContainer*>(&child);
        View* found = container != nullptr    ? container->findViewAt(local, accepts)
                      : accepts(child, local) ? &child
                                              : nullptr;
        if (found != nullptr) {
            return found;
        }
    }
    return accepts(*this, where) ? this : nullptr;
}

Control* ViewContainer::controlAt(Point where) {
    View* found = findViewAt(
        where, [](View& view, Point) { return dynamic_cast<Control*>(&view) != nullptr; });
    return static_cast<Control*>(found);
}

View* ViewContainer::mouseDown(const MouseEvent& event) {
    MouseEvent local = event;
    local.where = event.where - rect().topLeft();
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        View& child = **it;
        if (!child.isVisible() || !child.rect().contains(local.where)) {
            continue;
        }
        if (View* taker = child.mouseDown(local)) {
            return taker;
        }
    }
    return nullptr;
}

void ViewContainer::markClean() {
    View::markClean();
    for (const auto& child : children_) {
        child->markClean();
    }
}

void ViewContainer::invalidateChildArea(Rect area) {
    const Rect visible = area.intersection({0, 0, rect().width(), rect().height()});
    if (!visible.isEmpty()) {
        invalidate(visible.offsetBy(rect().topLeft()));
    }
}

} // namespace Korvatune::Gui
