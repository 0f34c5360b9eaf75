// Draws the editor images and writes them as C++ source to embed; with a second argument it also
// writes each image as <id>.png into that folder, for looking at them.
#include "gui/PngCodec.h"
#include "tools/artwork/EditorImageSet.h"
#include "tools/artwork/EmbeddedSource.h"

#include <filesystem>
#include <iostream>
#include <string>

using namespace Korvatune;

namespace {

bool writePreviews(const std::vector<Artwork::EditorImage>& images,
                   const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const Artwork::EditorImage& image : images) {
        if (!Gui::writePngFile(image.bitmap, folder / (std::to_string(image.id) + ".png"))) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: ombrafell_artwork <output.cpp> [preview folder]\n";
        return 2;
    }
    const std::vector<Artwork::EditorImage> images = Artwork::drawEditorImages();
    std::vector<Artwork::EncodedImage> encoded;
    for (const Artwork::EditorImage& image : images) {
        encoded.push_back({image.id, Gui::encodePng(image.bitmap)});
        if (encoded.back().png.empty()) {
            std::cerr << "ombrafell_artwork: cannot encode image " << image.id << '\n';
            return 1;
        }
    }
    if (argc == 3 && !writePreviews(images, argv[2])) {
        std::cerr << "ombrafell_artwork: cannot write previews to " << argv[2] << '\n';
        return 1;
    }
    if (!Artwork::writeEmbeddedSource(encoded, argv[1])) {
        std::cerr << "ombrafell_artwork: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
