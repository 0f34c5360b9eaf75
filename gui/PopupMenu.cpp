#include "gui/PopupMenu.h"

#include "gui/BitmapFont.h"
#include "gui/Frame.h"

#include <algorithm>
#include <utility>

namespace Korvatune::Gui {

namespace {

// Design pixels: the room for the sub-menu mark and the size of the scroll marks.
constexpr int kSubmenuMarkWidth = 2 * kCellWidth;
constexpr int kMoreMarkSize = 3;

bool isChoosable(const MenuEntry& entry) {
    return entry.enabled && !entry.separator;
}

} // namespace

PopupMenu::PopupMenu(Point anchorInFrame, std::vector<MenuEntry> entries, MenuStyle style,
                     std::function<void(int id)> chosen)
    : View({}), anchor_(anchorInFrame), entries_(std::move(entries)), style_(style),
      chosen_(std::move(chosen)) {
    setTransparent(true);
}

void PopupMenu::openedAsPopup() {
    Frame* owner = frame();
    if (owner == nullptr) {
        return;
    }
    scale_ = owner->scale();
    setRect({0, 0, owner->rect().width(), owner->rect().height()});
    levels_.clear();
    openLevel(entries_, anchor_, nullptr);
}

int PopupMenu::listWidth(const std::vector<MenuEntry>& entries) const {
    std::size_t longest = 0;
    bool hasSubmenu = false;
    for (const MenuEntry& entry : entries) {
        longest = std::max(longest, entry.text.size());
        hasSubmenu = hasSubmenu || !entry.children.empty();
    }
    const int text = textWidth(std::string(longest, ' '));
    return scale_.pixels(text + 2 * kTextPadding + (hasSubmenu ? kSubmenuMarkWidth : 0));
}

// Beside a list, the new one goes to its right, or to its left when there is no room there.
void PopupMenu::openLevel(const std::vector<MenuEntry>& entries, Point wantedTopLeft,
                          const Rect* besideList) {
    const Rect bounds = rect();
    const std::size_t rowsThatFit =
        static_cast<std::size_t>(std::max(1, bounds.height() / rowHeight()));
    const std::size_t rows = std::min(entries.size(), rowsThatFit);
    const int width = listWidth(entries);
    const int height = static_cast<int>(rows) * rowHeight();
    int left = wantedTopLeft.x;
    if (besideList != nullptr && left + width > bounds.right) {
        left = besideList->left - width;
    }
    left = std::clamp(left, 0, std::max(0, bounds.right - width));
    const int top = std::clamp(wantedTopLeft.y, 0, std::max(0, bounds.bottom - height));
    levels_.push_back({&entries, Rect::fromSize({left, top}, width, height), 0, rows, {}});
    setDirty();
}

std::optional<Rect> PopupMenu::entryArea(std::size_t level, std::size_t index) const {
    const Level& list = levels_.at(level);
    if (index < list.first || index >= list.first + list.rows) {
        return std::nullopt;
    }
    const int row = static_cast<int>(index - list.first);
    return Rect::fromSize({list.area.left, list.area.top + row * rowHeight()}, list.area.width(),
                          rowHeight());
}

bool PopupMenu::hasMoreAbove(std::size_t level) const {
    return levels_.at(level).first > 0;
}

bool PopupMenu::hasMoreBelow(std::size_t level) const {
    const Level& list = levels_.at(level);
    return list.first + list.rows < list.entries->size();
}

std::optional<PopupMenu::Hit> PopupMenu::hitAt(Point where) const {
    for (std::size_t level = levels_.size(); level-- > 0;) {
        const Level& list = levels_[level];
        if (!list.area.contains(where)) {
            continue;
        }
        const std::size_t index =
            list.first + static_cast<std::size_t>((where.y - list.area.top) / rowHeight());
        if (index < list.entries->size()) {
            return Hit{level, index};
        }
        return Hit{level, std::nullopt};
    }
    return std::nullopt;
}

View* PopupMenu::mouseDown(const MouseEvent& event) {
    const std::optional<Hit> hit = hitAt(event.where);
    if (!hit) {
        close();
        return nullptr;
    }
    if (!hit->entry) {
        return nullptr;
    }
    const MenuEntry& entry = (*levels_[hit->level].entries)[*hit->entry];
    if (!isChoosable(entry)) {
        return nullptr;
    }
    if (entry.children.empty()) {
        choose(entry);
        return nullptr;
    }
    levels_.resize(hit->level + 1);
    levels_.back().highlighted = hit->entry;
    const Rect parentList = levels_.back().area;
    const Rect row = *entryArea(hit->level, *hit->entry);
    openLevel(entry.children, {row.right, row.top}, &parentList);
    return nullptr;
}

// The menu closes before the callback runs, so that the callback may open another pop-up.
void PopupMenu::choose(const MenuEntry& entry) {
    const int id = entry.id;
    const std::function<void(int)> chosen = chosen_;
    close();
    if (chosen) {
        chosen(id);
    }
}

void PopupMenu::close() {
    Frame* owner = frame();
    if (owner != nullptr && owner->popup() == this) {
        owner->closePopup();
    }
}

void PopupMenu::mouseMoved(const MouseEvent& event) {
    const std::optional<Hit> hit = hitAt(event.where);
    const std::size_t changing = hit ? hit->level : levels_.size();
    for (std::size_t level = changing; level < levels_.size(); ++level) {
        std::optional<std::size_t> highlighted;
        if (level == changing && hit->entry &&
            isChoosable((*levels_[level].entries)[*hit->entry])) {
            highlighted = hit->entry;
        }
        if (levels_[level].highlighted != highlighted) {
            levels_[level].highlighted = highlighted;
            setDirty();
        }
    }
    if (!hit && !levels_.empty() && levels_.back().highlighted) {
        levels_.back().highlighted.reset();
        setDirty();
    }
}

// Scrolling a list closes the sub-menus opened from it, which would no longer lie beside
// their entries.
bool PopupMenu::mouseWheel(const MouseEvent& event, int notches) {
    if (levels_.empty()) {
        return true;
    }
    const std::optional<Hit> hit = hitAt(event.where);
    const std::size_t level = hit ? hit->level : levels_.size() - 1;
    Level& list = levels_[level];
    const long long lastFirst = static_cast<long long>(list.entries->size() - list.rows);
    const long long wanted = static_cast<long long>(list.first) - notches;
    const auto first = static_cast<std::size_t>(std::clamp(wanted, 0LL, lastFirst));
    if (first != list.first) {
        list.first = first;
        list.highlighted.reset();
        levels_.resize(level + 1);
        setDirty();
    }
    return true;
}

bool PopupMenu::keyDown(const KeyEvent& event) {
    if (event.key == Key::Escape) {
        close();
        return true;
    }
    if (event.key == Key::Enter && !levels_.empty() && levels_.back().highlighted) {
        const MenuEntry& entry = (*levels_.back().entries)[*levels_.back().highlighted];
        if (entry.children.empty()) {
            choose(entry);
        }
        return true;
    }
    return false;
}

void PopupMenu::draw(DrawContext& context) {
    for (const Level& level : levels_) {
        drawLevel(context, level);
    }
}

void PopupMenu::drawLevel(DrawContext& context, const Level& level) const {
    context.fillRect(level.area, style_.face);
    for (std::size_t row = 0; row < level.rows; ++row) {
        const std::size_t index = level.first + row;
        const Rect area =
            Rect::fromSize({level.area.left, level.area.top + static_cast<int>(row) * rowHeight()},
                           level.area.width(), rowHeight());
        drawEntry(context, (*level.entries)[index], area, level.highlighted == index);
    }
    context.frameRect(level.area, style_.border);
    if (level.first > 0) {
        drawMoreMark(context, level, true);
    }
    if (level.first + level.rows < level.entries->size()) {
        drawMoreMark(context, level, false);
    }
}

void PopupMenu::drawEntry(DrawContext& context, const MenuEntry& entry, Rect row,
                          bool highlighted) const {
    const int padding = scale_.pixels(kTextPadding);
    if (entry.separator) {
        const int middle = row.top + row.height() / 2;
        context.fillRect(
            {row.left + padding, middle, row.right - padding, middle + scale_.stroke()},
            style_.disabledText);
        return;
    }
    if (highlighted) {
        context.fillRect(row, style_.highlightFace);
    }
    const Color color = !entry.enabled ? style_.disabledText
                        : highlighted  ? style_.highlightText
                                       : style_.text;
    const Rect textBox{row.left + padding, row.top, row.right - padding, row.bottom};
    context.drawText(entry.text, textBox, color, TextAlign::Left);
    if (!entry.children.empty()) {
        context.drawText(">", textBox, color, TextAlign::Right);
    }
}

// A small triangle at the list's top or bottom edge, pointing the way there is more to see.
void PopupMenu::drawMoreMark(DrawContext& context, const Level& level, bool above) const {
    const int size = scale_.pixels(kMoreMarkSize);
    const int centre = level.area.left + level.area.width() / 2;
    const int inset = scale_.pixels(1);
    for (int step = 0; step < size; ++step) {
        const int y = above ? level.area.top + inset + step : level.area.bottom - inset - 1 - step;
        context.fillRect({centre - step, y, centre + step + 1, y + 1}, style_.text);
    }
}

} // namespace Korvatune::Gui
