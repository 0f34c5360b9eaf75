#include "gui/DeferredImageView.h"

#include <utility>

namespace Korvatune::Gui {

DeferredImageView::DeferredImageView(Rect rect, std::shared_ptr<const ImageLibrary> images, int id)
    : View(rect), images_(std::move(images)), id_(id) {
    setTransparent(true);
}

void DeferredImageView::draw(DrawContext& context) {
    drawBackground(context);
    if (!image_ && images_) {
        image_ = images_->image(id_);
    }
    if (image_) {
        context.drawBitmap(*image_, rect());
    }
}

} // namespace Korvatune::Gui
