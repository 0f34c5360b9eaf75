#include "resources/EditorImages.h"

namespace Korvatune {

std::span<const unsigned char> editorImagePng(int) {
    return {};
}

} // namespace Korvatune
