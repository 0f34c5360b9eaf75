#pragma once

#include "gui/Bitmap.h"

#include <vector>

namespace Korvatune::Artwork {

struct EditorImage {
    int id;
    Gui::Bitmap bitmap;
};

// Every image the editor loads, under its resource id.
std::vector<EditorImage> drawEditorImages();

} // namespace Korvatune::Artwork
