#pragma once

#include "gui/ViewContainer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune::Gui {

// Named pages of which one is shown, chosen by a row of tab buttons centred along the bottom
// edge. The button image holds a button's unselected state above its selected state; each
// button shows its page's name.
class TabView : public ViewContainer {
public:
    TabView(Rect rect, std::shared_ptr<const Bitmap> buttonImage, int buttonWidth,
            int buttonHeight);

    // The area of a page in the tab view's own coordinates: all but the strip of buttons.
    Rect pageArea() const;
    // Sizes the page to pageArea(); the first page added is the one shown.
    ViewContainer* addPage(std::string name, std::unique_ptr<ViewContainer> page);
    std::size_t pageCount() const { return pages_.size(); }
    const std::string& pageName(std::size_t index) const { return pages_.at(index).name; }
    std::size_t currentPage() const { return current_; }
    // An index past the last page changes nothing.
    void selectPage(std::size_t index);

    // In the tab view's own coordinates.
    Rect buttonArea(std::size_t index) const;
    // Which button lies under a point given in the parent's coordinates.
    std::optional<std::size_t> buttonAt(Point where) const;
    void setButtonTextColor(Color color);

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;

private:
    struct Page {
        std::string name;
        ViewContainer* view;
    };

    void drawButtons(DrawContext& context) const;

    std::shared_ptr<const Bitmap> buttonImage_;
    int buttonWidth_;
    int buttonHeight_;
    Color buttonTextColor_ = kWhite;
    std::vector<Page> pages_;
    std::size_t current_ = 0;
};

} // namespace Korvatune::Gui
