#include "gui/TextLabel.h"

#include <utility>

namespace Korvatune::Gui {

TextLabel::TextLabel(Rect rect, std::string text, TextStyle style)
    : View(rect), text_(std::move(text)), style_(style) {}

void TextLabel::setText(std::string text) {
    if (text != text_) {
        text_ = std::move(text);
        setDirty();
    }
}

void TextLabel::setStyle(const TextStyle& style) {
    style_ = style;
    setDirty();
}

void TextLabel::draw(DrawContext& context) {
    drawBackground(context);
    drawStyledText(context, rect(), text_, style_);
}

} // namespace Korvatune::Gui
