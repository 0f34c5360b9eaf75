#pragma once

#include "gui/ImageLibrary.h"
#include "gui/View.h"

#include <memory>

namespace Korvatune::Gui {

// Shows an image of a library, fetched when the view is first drawn, so the images of a page
// that is never shown are never made. Transparent, like an image view.
class DeferredImageView : public View {
public:
    DeferredImageView(Rect rect, std::shared_ptr<const ImageLibrary> images, int id);

    void draw(DrawContext& context) override;

private:
    std::shared_ptr<const ImageLibrary> images_;
    int id_;
    std::shared_ptr<const Bitmap> image_;
};

} // namespace Korvatune::Gui
