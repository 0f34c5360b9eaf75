#pragma once

#include "gui/TextStyle.h"
#include "gui/View.h"

#include <string>

namespace Korvatune::Gui {

// One line of text set by the program.
class TextLabel : public View {
public:
    explicit TextLabel(Rect rect, std::string text = {}, TextStyle style = {});

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const TextStyle& style() const { return style_; }
    void setStyle(const TextStyle& style);

    void draw(DrawContext& context) override;

private:
    std::string text_;
    TextStyle style_;
};

} // namespace Korvatune::Gui
