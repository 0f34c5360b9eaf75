#pragma once

#include "gui/Color.h"
#include "gui/PopupMenu.h"
#include "gui/TextField.h"

namespace Korvatune {

// The colours of the editor's menus and fields, those of its buttons and displays.
inline constexpr Gui::Color kMenuFace{38, 40, 46, 255};
inline constexpr Gui::Color kMenuText{196, 199, 207, 255};
inline constexpr Gui::Color kMenuDimText{100, 104, 114, 255};
inline constexpr Gui::Color kMenuAccent{255, 146, 48, 255};
inline constexpr Gui::Color kMenuAccentText{16, 17, 20, 255};
inline constexpr Gui::Color kMenuBorder{84, 88, 99, 255};
inline constexpr Gui::Color kReadoutText{178, 182, 192, 255};

inline const Gui::MenuStyle kEditorMenuStyle{kMenuFace,   kMenuText,       kMenuDimText,
                                             kMenuAccent, kMenuAccentText, kMenuBorder};

inline const Gui::TextFieldStyle kEditorFieldStyle{Gui::Color{8, 10, 12, 255}, Gui::kWhite,
                                                   kMenuAccent, kMenuBorder, kMenuAccent};

} // namespace Korvatune
