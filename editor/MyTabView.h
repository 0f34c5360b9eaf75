#pragma once

#include "gui/TabView.h"

namespace Korvatune {

// The editor's tab view: a right-button click on a tab button is ignored, so only the left
// button changes pages.
class MyTabView : public Gui::TabView {
public:
    using TabView::TabView;

    Gui::View* mouseDown(const Gui::MouseEvent& event) override;
};

} // namespace Korvatune
