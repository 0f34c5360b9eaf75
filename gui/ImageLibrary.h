#pragma once

#include "gui/Bitmap.h"
#include "gui/FilmStrip.h"

#include <memory>

namespace Korvatune::Gui {

// A window's images by resource id, all drawn for the window's scale. An id without an image
// gives an empty bitmap or strip, so views still lay out by their own rectangles.
class ImageLibrary {
public:
    virtual ~ImageLibrary() = default;

    virtual std::shared_ptr<const Bitmap> image(int id) const = 0;
    virtual std::shared_ptr<const FilmStrip> filmStrip(int id) const = 0;
};

} // namespace Korvatune::Gui
