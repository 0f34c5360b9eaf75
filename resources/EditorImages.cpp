#include "resources/EditorImages.h"

#include "resources/EmbeddedImages.h"

namespace Korvatune {

std::span<const unsigned char> editorImagePng(int id) {
    for (const Resources::EmbeddedImage& image : Resources::embeddedImages()) {
        if (image.id == id) {
            return image.png;
        }
    }
    return {};
}

} // namespace Korvatune
