#pragma once

#include <span>

namespace Korvatune::Resources {

struct EmbeddedImage {
    int id;
    std::span<const unsigned char> png;
};

// Every editor image, as generated into the build tree by tools/artwork.
std::span<const EmbeddedImage> embeddedImages();

} // namespace Korvatune::Resources
