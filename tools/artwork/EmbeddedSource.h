#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace Korvatune::Artwork {

struct EncodedImage {
    int id;
    std::vector<std::uint8_t> png;
};

// Writes a C++ source that defines Resources::embeddedImages() over constant copies of the data;
// false when the file cannot be written.
bool writeEmbeddedSource(const std::vector<EncodedImage>& images,
                         const std::filesystem::path& path);

} // namespace Korvatune::Artwork
