#pragma once

#include "gui/View.h"

#include <memory>
#include <vector>

namespace Korvatune::Gui {

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
