#pragma once

#include "gui/View.h"

#include <functional>
#include <memory>
#include <vector>

namespace Korvatune::Gui {

class Control;

// A view that owns child views. Children's rectangles are in the container's coordinates, whose
// origin is the container's top-left corner; each child is clipped to its own rectangle.
class ViewContainer : public View {
public:
    using View::View;

    template <class ViewType> ViewType* addView(std::unique_ptr<ViewType> view) {
        ViewType* added = view.get();
        adopt(std::move(view));
        return added;
    }
    // Hands the child back to the caller; null when it is not a child of this container.
    std::unique_ptr<View> removeView(View& child);

    std::size_t viewCount() const { return children_.size(); }
    View& viewAt(std::size_t index) const { return *children_.at(index); }

    // The deepest visible view under a point in the parent's coordinates (as mouse events
    // give it) that `accepts`, looking through views it refuses; children are asked before
    // their container, the topmost first. The container itself is the last one asked.
    View* findViewAt(Point where, const std::function<bool(View& view, Point where)>& accepts);
    // The deepest visible control under a point in the parent's coordinates.
    Control* controlAt(Point where);

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    void markClean() override;

    // Passes a changed area, in this container's coordinates, on towards the frame.
    virtual void invalidateChildArea(Rect area);

protected:
    void drawChildren(DrawContext& context);

private:
    void adopt(std::unique_ptr<View> child);

    std::vector<std::unique_ptr<View>> children_;
};

} // namespace Korvatune::Gui
