#include "gui/ImageView.h"

#include <utility>

namespace Korvatune::Gui {

namespace {

Rect imageRect(Point topLeft, const std::shared_ptr<const Bitmap>& image) {
    return image ? Rect::fromSize(topLeft, image->width(), image->height())
                 : Rect::fromSize(topLeft, 0, 0);
}

} // namespace

ImageView::ImageView(Point topLeft, std::shared_ptr<const Bitmap> image)
    : View(imageRect(topLeft, image)) {
    setTransparent(true);
    setBackground(std::move(image));
}

} // namespace Korvatune::Gui
