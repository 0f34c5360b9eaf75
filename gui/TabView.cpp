#include "gui/TabView.h"

#include <utility>

namespace Korvatune::Gui {

TabView::TabView(Rect rect, std::shared_ptr<const Bitmap> buttonImage, int buttonWidth,
                 int buttonHeight)
    : ViewContainer(rect), buttonImage_(std::move(buttonImage)), buttonWidth_(buttonWidth),
      buttonHeight_(buttonHeight) {}

Rect TabView::pageArea() const {
    return {0, 0, rect().width(), rect().height() - buttonHeight_};
}

ViewContainer* TabView::addPage(std::string name, std::unique_ptr<ViewContainer> page) {
    if (!page) {
        return nullptr;
    }
    page->setRect(pageArea());
    page->setVisible(pages_.empty());
    ViewContainer* added = addView(std::move(page));
    pages_.push_back({std::move(name), added});
    setDirty();
    return added;
}

void TabView::selectPage(std::size_t index) {
    if (index >= pages_.size() || index == current_) {
        return;
    }
    pages_[current_].view->setVisible(false);
    pages_[index].view->setVisible(true);
    current_ = index;
    setDirty();
}

Rect TabView::buttonArea(std::size_t index) const {
    const int rowWidth = static_cast<int>(pages_.size()) * buttonWidth_;
    const int left = (rect().width() - rowWidth) / 2 + static_cast<int>(index) * buttonWidth_;
    return Rect::fromSize({left, rect().height() - buttonHeight_}, buttonWidth_, buttonHeight_);
}

std::optional<std::size_t> TabView::buttonAt(Point where) const {
    const Point local = where - rect().topLeft();
    for (std::size_t index = 0; index < pages_.size(); ++index) {
        if (buttonArea(index).contains(local)) {
            return index;
        }
    }
    return std::nullopt;
}

void TabView::setButtonTextColor(Color color) {
    buttonTextColor_ = color;
    setDirty();
}

void TabView::draw(DrawContext& context) {
    ViewContainer::draw(context);
    drawButtons(context);
}

void TabView::drawButtons(DrawContext& context) const {
    const DrawContext::State saved = context.state();
    context.clipTo(rect());
    context.translate(rect().topLeft());
    for (std::size_t index = 0; index < pages_.size(); ++index) {
        const Rect area = buttonArea(index);
        if (buttonImage_) {
            const int stateTop = index == current_ ? buttonHeight_ : 0;
            context.drawBitmap(*buttonImage_, area, {0, stateTop});
        }
        context.drawText(pages_[index].name, area, buttonTextColor_, TextAlign::Centre);
    }
    context.restore(saved);
}

View* TabView::mouseDown(const MouseEvent& event) {
    if (const std::optional<std::size_t> button = buttonAt(event.where)) {
        selectPage(*button);
        return this;
    }
    return ViewContainer::mouseDown(event);
}

} // namespace Korvatune::Gui
