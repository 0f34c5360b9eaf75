#pragma once

#include "gui/Color.h"
#include "gui/View.h"

#include <cstddef>
#include <functional>
#include <string>

namespace Korvatune::Gui {

struct TextFieldStyle {
    Color face;
    Color text;
    Color border;
    Color selectionFace;
    Color caret;
};

// One line of UTF-8 text to edit, opened as the frame's pop-up. The whole text starts
// selected, so that typing replaces it. Enter hands the text to commit; Escape, or a press
// outside the field, calls cancel. Either way the owner closes the field. The font has only
// printable ASCII, so other characters show as '?'; the caret moves by whole characters.
class TextField : public View {
public:
    TextField(Rect rect, std::string initialText, TextFieldStyle style,
              std::function<void(const std::string&)> commit, std::function<void()> cancel);

    const std::string& text() const { return text_; }
    // The caret's place as a byte offset into the text.
    std::size_t caret() const { return caret_; }
    bool isAllSelected() const { return allSelected_; }

    void draw(DrawContext& context) override;
    View* mouseDown(const MouseEvent& event) override;
    bool keyDown(const KeyEvent& event) override;
    void closedByOutsidePress() override;

private:
    void insert(char32_t character);
    void erase(bool backwards);
    void moveCaret(std::size_t offset);
    // The typed text replaces a selection.
    bool replaceSelection();
    std::size_t previousCharacter(std::size_t offset) const;
    std::size_t nextCharacter(std::size_t offset) const;

    std::string text_;
    std::size_t caret_;
    bool allSelected_ = true;
    TextFieldStyle style_;
    std::function<void(const std::string&)> commit_;
    std::function<void()> cancel_;
};

} // namespace Korvatune::Gui
