#pragma once

#include "gui/Control.h"
#include "gui/TextStyle.h"

#include <functional>
#include <string>

namespace Korvatune::Gui {

// Shows its value as text; by default with two decimals ("%2.2f").
class ValueDisplay : public Control {
public:
    using Formatter = std::function<std::string(float)>;

    ValueDisplay(Rect rect, CControlListener* listener, int tag, TextStyle style = {});

    void setFormatter(Formatter formatter);
    std::string text() const;
    const TextStyle& style() const { return style_; }
    void setStyle(const TextStyle& style);

    void draw(DrawContext& context) override;

private:
    TextStyle style_;
    Formatter formatter_;
};

std::string formatTwoDecimals(float value);

} // namespace Korvatune::Gui
