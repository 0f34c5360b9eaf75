#pragma once

#include "gui/Bitmap.h"

#include <functional>
#include <map>
#include <memory>

namespace Korvatune {

// Gives the editor's images by resource id. An image that is missing or fails to decode comes
// back as an empty bitmap, so views still lay out by their own rectangles.
using ImageSource = std::function<std::shared_ptr<const Gui::Bitmap>(int id)>;

// The PNG images embedded in the module.
std::shared_ptr<const Gui::Bitmap> loadEmbeddedImage(int id);

// Decodes each id once while a window's views are built; knobs share their film strips.
class ImageCache {
public:
    explicit ImageCache(ImageSource source) : source_(std::move(source)) {}

    std::shared_ptr<const Gui::Bitmap> get(int id);

private:
    ImageSource source_;
    std::map<int, std::shared_ptr<const Gui::Bitmap>> images_;
};

} // namespace Korvatune
