#pragma once

#include "gui/Color.h"
#include "gui/View.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune::Gui {

// An entry with children opens a sub-menu; a separator is a line, never chosen.
struct MenuEntry {
    std::string text;
    int id = 0;
    bool enabled = true;
    bool separator = false;
    std::vector<MenuEntry> children{};
};

struct MenuStyle {
    Color face;
    Color text;
    Color disabledText;
    Color highlightFace;
    Color highlightText;
    Color border;
};

// A menu shown as the frame's pop-up: a list at the anchor, kept inside the frame, with a list
// beside it for each sub-menu pressed open. The entry under the pointer is highlighted; a list
// taller than the frame scrolls with the wheel and marks the ends that have more. Choosing an
// enabled entry closes the menu and then calls back with the entry's id; Escape, or a press
// beside the lists, closes it without a choice. It covers the whole frame, so that it sees those
// presses itself. Only the rows on screen are drawn, so long lists open quickly.
class PopupMenu : public View {
public:
    // Design pixels.
    static constexpr int kRowHeight = 14;
    static constexpr int kTextPadding = 4;

    PopupMenu(Point anchorInFrame, std::vector<MenuEntry> entries, MenuStyle style,
              std::function<void(int id)> chosen);

    const std::vector<MenuEntry>& entries() const { return entries_; }
    // The lists open, the first one the top level; areas in frame coordinates.
    std::size_t levelCount() const { return levels_.size(); }
    Rect listArea(std::size_t level) const { return levels_.at(level).area; }
    // Null when the entry is scrolled out of sight.
    std::optional<Rect> entryArea(std::size_t level, std::size_t index) const;
    std::size_t firstVisibleEntry(std::size_t level) const { return levels_.at(level).first; }
    bool hasMoreAbove(std::size_t level) const;
    bool hasMoreBelow(std::size_t level) const;

    void openedAsPopup() override;
    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    void mouseMoved(const MouseEvent& event) override;
    bool mouseWheel(const MouseEvent& event, int notches) override;
    bool keyDown(const KeyEvent& event) override;

private:
    struct Level {
        const std::vector<MenuEntry>* entries = nullptr;
        Rect area;
        std::size_t first = 0;
        std::size_t rows = 0;
        std::optional<std::size_t> highlighted;
    };
    struct Hit {
        std::size_t level = 0;
        std::optional<std::size_t> entry;
    };

    void openLevel(const std::vector<MenuEntry>& entries, Point wantedTopLeft,
                   const Rect* besideList);
    int listWidth(const std::vector<MenuEntry>& entries) const;
    std::optional<Hit> hitAt(Point where) const;
    void choose(const MenuEntry& entry);
    void close();
    void drawLevel(DrawContext& context, const Level& level) const;
    void drawEntry(DrawContext& context, const MenuEntry& entry, Rect row, bool highlighted) const;
    void drawMoreMark(DrawContext& context, const Level& level, bool above) const;
    int rowHeight() const { return scale_.pixels(kRowHeight); }

    Point anchor_;
    std::vector<MenuEntry> entries_;
    MenuStyle style_;
    std::function<void(int)> chosen_;
    std::vector<Level> levels_;
    Scale scale_;
};

} // namespace Korvatune::Gui
