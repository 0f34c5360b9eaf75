#include "gui/TextStyle.h"

namespace Korvatune::Gui {

void drawStyledText(DrawContext& context, Rect box, std::string_view text, const TextStyle& style) {
    if (style.frameColor) {
        context.frameRect(box, *style.frameColor);
    }
    const Rect textBox{box.left + kTextInset, box.top, box.right - kTextInset, box.bottom};
    context.drawText(text, textBox, style.textColor, style.align);
}

} // namespace Korvatune::Gui
