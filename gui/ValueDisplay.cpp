#include "gui/ValueDisplay.h"

#include <cstdio>
#include <utility>

namespace Korvatune::Gui {

std::string formatTwoDecimals(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(value));
    return text;
}

ValueDisplay::ValueDisplay(Rect rect, CControlListener* listener, int tag, TextStyle style)
    : Control(rect, listener, tag), style_(style), formatter_(formatTwoDecimals) {}

void ValueDisplay::setFormatter(Formatter formatter) {
    formatter_ = formatter ? std::move(formatter) : Formatter(formatTwoDecimals);
    setDirty();
}

std::string ValueDisplay::text() const {
    return formatter_(value());
}

void ValueDisplay::setStyle(const TextStyle& style) {
    style_ = style;
    setDirty();
}

void ValueDisplay::draw(DrawContext& context) {
    drawBackground(context);
    drawStyledText(context, rect(), text(), style_);
}

} // namespace Korvatune::Gui
