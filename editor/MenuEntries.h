#pragma once

#include "gui/PopupMenu.h"

#include <string>
#include <utility>
#include <vector>

namespace Korvatune {

inline Gui::MenuEntry menuItem(std::string text, int id, bool enabled = true) {
    Gui::MenuEntry entry;
    entry.text = std::move(text);
    entry.id = id;
    entry.enabled = enabled;
    return entry;
}

inline Gui::MenuEntry menuSeparator() {
    Gui::MenuEntry entry;
    entry.separator = true;
    entry.enabled = false;
    return entry;
}

inline Gui::MenuEntry subMenu(std::string text, std::vector<Gui::MenuEntry> children) {
    Gui::MenuEntry entry;
    entry.text = std::move(text);
    entry.children = std::move(children);
    return entry;
}

} // namespace Korvatune
