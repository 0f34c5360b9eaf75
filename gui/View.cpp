#include "gui/View.h"

#include "gui/Frame.h"
#include "gui/ViewContainer.h"

#include <utility>

namespace Korvatune::Gui {

View::View(Rect rect) : rect_(rect) {}

void View::setRect(Rect rect) {
    if (rect == rect_) {
        return;
    }
    invalidate(rect_);
    rect_ = rect;
    setDirty();
}

void View::setVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        setDirty();
    }
}

void View::setTransparent(bool transparent) {
    if (transparent != transparent_) {
        transparent_ = transparent;
        setDirty();
    }
}

void View::setBackground(std::shared_ptr<const Bitmap> background) {
    background_ = std::move(background);
    setDirty();
}

void View::setBackgroundColor(Color color) {
    if (color != backgroundColor_) {
        backgroundColor_ = color;
        setDirty();
    }
}

void View::setDirty() {
    dirty_ = true;
    invalidate(rect_);
}

void View::invalidate(Rect area) {
    if (parent_ != nullptr) {
        parent_->invalidateChildArea(area);
    }
}

Frame* View::frame() {
    View* view = this;
    while (view->parent_ != nullptr) {
        view = view->parent_;
    }
    return dynamic_cast<Frame*>(view);
}

Point View::parentOrigin() const {
    Point origin;
    for (const View* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->parent_) {
        origin = origin + ancestor->rect_.topLeft();
    }
    return origin;
}

bool View::isInside(const View& ancestor) const {
    for (const View* view = this; view != nullptr; view = view->parent_) {
        if (view == &ancestor) {
            return true;
        }
    }
    return false;
}

void View::draw(DrawContext& context) {
    drawBackground(context);
}

void View::drawBackground(DrawContext& context) const {
    if (!transparent_) {
        context.fillRect(rect_, backgroundColor_);
    }
    if (background_) {
        context.drawBitmap(*background_, rect_);
    }
}

} // namespace Korvatune::Gui
