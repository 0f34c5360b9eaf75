#include "gui/OptionMenu.h"

#include "gui/ViewContainer.h"

#include <cmath>
#include <utility>

namespace Korvatune::Gui {

OptionMenu::OptionMenu(Rect rect, CControlListener* listener, int tag,
                       std::vector<std::string> entries, OptionMenuStyle style)
    : Control(rect, listener, tag), entries_(std::move(entries)), style_(style), button_(rect) {
    setRange(0.0f, static_cast<float>(entries_.empty() ? 0 : entries_.size() - 1));
}

int OptionMenu::chosen() const {
    return static_cast<int>(std::lround(value()));
}

Rect OptionMenu::entryArea(std::size_t index) const {
    const int height = button_.height();
    const int listHeight = static_cast<int>(entries_.size()) * height;
    const int parentHeight = parent() != nullptr ? parent()->rect().height() : button_.bottom;
    const bool roomBelow = button_.bottom + listHeight <= parentHeight;
    const int top = roomBelow ? button_.bottom : button_.top - listHeight;
    return Rect::fromSize({button_.left, top + static_cast<int>(index) * height}, button_.width(),
                          height);
}

std::optional<std::size_t> OptionMenu::entryAt(Point where) const {
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        if (entryArea(index).contains(where)) {
            return index;
        }
    }
    return std::nullopt;
}

// Open, the menu covers its whole parent, so that a press anywhere there reaches it.
void OptionMenu::open() {
    if (parent() == nullptr) {
        return;
    }
    open_ = true;
    setRect({0, 0, parent()->rect().width(), parent()->rect().height()});
}

void OptionMenu::close() {
    open_ = false;
    setRect(button_);
}

View* OptionMenu::mouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left) {
        return nullptr;
    }
    if (!open_) {
        open();
        return this;
    }
    const std::optional<std::size_t> entry = entryAt(event.where);
    close();
    if (entry) {
        changeValueByUser(static_cast<float>(*entry));
    }
    return this;
}

void OptionMenu::drawEntry(DrawContext& context, Rect area, const std::string& text,
                           bool chosen) const {
    context.fillRect(area, chosen ? style_.chosenFace : style_.face);
    context.frameRect(area, style_.border);
    context.drawText(text, area, chosen ? style_.chosenText : style_.text, TextAlign::Centre);
}

void OptionMenu::draw(DrawContext& context) {
    drawBackground(context);
    const std::size_t current = static_cast<std::size_t>(chosen());
    if (current < entries_.size()) {
        drawEntry(context, button_, entries_[current], open_);
    }
    if (!open_) {
        return;
    }
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        drawEntry(context, entryArea(index), entries_[index], index == current);
    }
}

} // namespace Korvatune::Gui
