#include "gui/TextStyle.h"

namespace Korvatune::Gui {

void drawStyledText(DrawContext& context, Rect box, std::string_view text, const TextStyle& style) {
    if (style.frameColor) {
        context.frameRect(box, *style.frameColor);
    }
    const int inset = context.scale().pixels(kTextInset);
    const Rect textBox{box.left + inset, box.top, box.right - inset, box.bottom};
    context.drawText(text, textBox, style.textColor, style.align);
}

} // namespace Korvatune::Gui
