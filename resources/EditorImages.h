#pragma once

#include <span>

namespace Korvatune {

// The PNG data of an editor image, embedded in the module; empty for an id that names no image.
std::span<const unsigned char> editorImagePng(int id);

} // namespace Korvatune
