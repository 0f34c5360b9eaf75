#pragma once

#include "gui/MouseEvent.h"

namespace Korvatune::Gui {

enum class Key { Character, Enter, Escape, Backspace, Delete, Left, Right, Home, End, Other };

// A key pressed. Key::Character carries the Unicode character typed. With Control held a letter
// still arrives as Key::Character and modifiers.control set: the letter is lowercase, uppercase
// when Shift is held too, so Ctrl+Z is U'z' and Ctrl+Shift+Z is U'Z'.
struct KeyEvent {
    Key key = Key::Other;
    char32_t character = 0;
    Modifiers modifiers{};
};

} // namespace Korvatune::Gui
