#pragma once

#include "gui/View.h"

#include <memory>

namespace Korvatune::Gui {

// A view exactly the size of its image, showing it; transparent, so the image's alpha lets
// what lies behind show through.
class ImageView : public View {
public:
    ImageView(Point topLeft, std::shared_ptr<const Bitmap> image);
};

} // namespace Korvatune::Gui
