#pragma once

#include "gui/ImageLibrary.h"
#include "gui/Scale.h"

#include <memory>

namespace Korvatune {

// The editor's images drawn at a scale. They are drawn when first asked for at that scale, then
// shared by every caller in the process until the last lets go; any thread may ask.
std::shared_ptr<const Gui::ImageLibrary> editorImagesAt(Gui::Scale scale);

// How many scales have their images in memory now.
int editorImageSetsInMemory();

} // namespace Korvatune
