#pragma once

#include "gui/Control.h"

#include <optional>
#include <string>
#include <vector>

namespace Korvatune::Gui {

struct OptionMenuStyle {
    Color face;
    Color text;
    Color border;
    Color chosenFace;
    Color chosenText;
};

// A button that shows the chosen entry of a list. Pressing it opens the list beside it, below
// when there is room in the parent and else above, drawn over the parent's other views; a press
// on an entry chooses it and a press anywhere else in the parent only closes the list. The value
// is the chosen entry's index. Give it to its parent last, so that the open list lies on top.
class OptionMenu : public Control {
public:
    OptionMenu(Rect rect, CControlListener* listener, int tag, std::vector<std::string> entries,
               OptionMenuStyle style);

    int chosen() const;
    bool isOpen() const { return open_; }
    // Where an entry lies while the list is open, in the parent's coordinates.
    Rect entryArea(std::size_t index) const;

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;

private:
    void open();
    void close();
    std::optional<std::size_t> entryAt(Point where) const;
    void drawEntry(DrawContext& context, Rect area, const std::string& text, bool chosen) const;

    std::vector<std::string> entries_;
    OptionMenuStyle style_;
    Rect button_;
    bool open_ = false;
};

} // namespace Korvatune::Gui
