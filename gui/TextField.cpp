#include "gui/TextField.h"

#include "gui/BitmapFont.h"
#include "gui/ScaledText.h"
#include "gui/TextStyle.h"

#include <algorithm>
#include <utility>

namespace Korvatune::Gui {

namespace {

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u;
}

// Surrogates and values beyond Unicode have no UTF-8 form; control characters are no text.
bool isTypable(char32_t character) {
    return character >= 0x20 && character != 0x7F && character <= 0x10FFFF &&
           (character < 0xD800 || character > 0xDFFF);
}

std::string toUtf8(char32_t character) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (character < 0x80) {
        return {byte(character)};
    }
    if (character < 0x800) {
        return {byte(0xC0 | (character >> 6)), byte(0x80 | (character & 0x3F))};
    }
    if (character < 0x10000) {
        return {byte(0xE0 | (character >> 12)), byte(0x80 | ((character >> 6) & 0x3F)),
                byte(0x80 | (character & 0x3F))};
    }
    return {byte(0xF0 | (character >> 18)), byte(0x80 | ((character >> 12) & 0x3F)),
            byte(0x80 | ((character >> 6) & 0x3F)), byte(0x80 | (character & 0x3F))};
}

// One glyph per character, so that the caret's column counts characters.
std::string toGlyphs(std::string_view utf8) {
    std::string glyphs;
    for (const char byte : utf8) {
        if (static_cast<unsigned char>(byte) < 0x80) {
            glyphs.push_back(byte);
        } else if (!isContinuationByte(byte)) {
            glyphs.push_back('?');
        }
    }
    return glyphs;
}

} // namespace

TextField::TextField(Rect rect, std::string initialText, TextFieldStyle style,
                     std::function<void(const std::string&)> commit, std::function<void()> cancel)
    : View(rect), text_(std::move(initialText)), caret_(text_.size()), style_(style),
      commit_(std::move(commit)), cancel_(std::move(cancel)) {}

std::size_t TextField::previousCharacter(std::size_t offset) const {
    while (offset > 0 && isContinuationByte(text_[--offset])) {
    }
    return offset;
}

std::size_t TextField::nextCharacter(std::size_t offset) const {
    while (offset < text_.size() && isContinuationByte(text_[++offset])) {
    }
    return std::min(offset, text_.size());
}

bool TextField::replaceSelection() {
    if (!allSelected_) {
        return false;
    }
    allSelected_ = false;
    text_.clear();
    caret_ = 0;
    return true;
}

void TextField::insert(char32_t character) {
    replaceSelection();
    const std::string encoded = toUtf8(character);
    text_.insert(caret_, encoded);
    caret_ += encoded.size();
}

void TextField::erase(bool backwards) {
    if (replaceSelection()) {
        return;
    }
    const std::size_t from = backwards ? previousCharacter(caret_) : caret_;
    const std::size_t to = backwards ? caret_ : nextCharacter(caret_);
    text_.erase(from, to - from);
    caret_ = from;
}

void TextField::moveCaret(std::size_t offset) {
    allSelected_ = false;
    caret_ = offset;
}

// Keys with Control held are left to the frame's key listener, for the editor's shortcuts.
bool TextField::keyDown(const KeyEvent& event) {
    switch (event.key) {
    case Key::Character:
        if (event.modifiers.control) {
            return false;
        }
        if (isTypable(event.character)) {
            insert(event.character);
        }
        break;
    case Key::Backspace:
    case Key::Delete:
        erase(event.key == Key::Backspace);
        break;
    case Key::Left:
        moveCaret(allSelected_ ? 0 : previousCharacter(caret_));
        break;
    case Key::Right:
        moveCaret(allSelected_ ? text_.size() : nextCharacter(caret_));
        break;
    case Key::Home:
        moveCaret(0);
        break;
    case Key::End:
        moveCaret(text_.size());
        break;
    case Key::Enter:
        // A copy: the owner may close the field from inside the call.
        if (commit_) {
            commit_(std::string(text_));
        }
        return true;
    case Key::Escape:
        if (cancel_) {
            cancel_();
        }
        return true;
    case Key::Other:
        return false;
    }
    setDirty();
    return true;
}

View* TextField::mouseDown(const MouseEvent&) {
    return nullptr;
}

void TextField::closedByOutsidePress() {
    if (cancel_) {
        cancel_();
    }
}

void TextField::draw(DrawContext& context) {
    const Scale scale = context.scale();
    const Rect box = rect();
    context.fillRect(box, style_.face);
    context.frameRect(box, style_.border);
    const int inset = scale.pixels(kTextInset) + scale.stroke();
    const Rect textBox{box.left + inset, box.top, box.right - inset, box.bottom};
    const std::string glyphs = toGlyphs(text_);
    const std::size_t caretColumn = toGlyphs(std::string_view(text_).substr(0, caret_)).size();
    // Scrolled by whole characters, so that the caret stays in sight in a long text.
    const std::size_t columnsShown = static_cast<std::size_t>(
        std::max(1, (scale.designPixels(textBox.width()) + 1) / kCellWidth));
    const std::size_t firstColumn =
        caretColumn >= columnsShown ? caretColumn - columnsShown + 1 : 0;
    const std::string shown = glyphs.substr(std::min(firstColumn, glyphs.size()));
    if (allSelected_ && !shown.empty()) {
        const Rect selection{textBox.left, textBox.top + scale.stroke(),
                             textBox.left + scaledTextWidth(shown, scale),
                             textBox.bottom - scale.stroke()};
        context.fillRect(selection.intersection(textBox), style_.selectionFace);
    }
    context.drawText(shown, textBox, style_.text, TextAlign::Left);
    const int caretX =
        textBox.left + scale.pixels(static_cast<int>(caretColumn - firstColumn) * kCellWidth);
    const int glyphTop = textBox.top + centredOffset(textBox.height(), kGlyphHeight, scale);
    context.fillRect({caretX, glyphTop - scale.stroke(), caretX + scale.stroke(),
                      glyphTop + scaledGlyphHeight(scale) + scale.stroke()},
                     style_.caret);
}

} // namespace Korvatune::Gui
