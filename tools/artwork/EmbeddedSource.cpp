#include "tools/artwork/EmbeddedSource.h"

#include <fstream>
#include <string>

namespace Korvatune::Artwork {

namespace {

constexpr int kBytesPerLine = 24;

std::string arrayName(int id) {
    return "kImage" + std::to_string(id);
}

void appendArray(std::string& source, const EncodedImage& image) {
    source += "constexpr unsigned char " + arrayName(image.id) + "[] = {";
    for (std::size_t i = 0; i < image.png.size(); ++i) {
        source += i % kBytesPerLine == 0 ? "\n    " : " ";
        source += std::to_string(image.png[i]);
        source += ',';
    }
    source += "\n};\n\n";
}

void appendTable(std::string& source, const std::vector<EncodedImage>& images) {
    source += "constexpr EmbeddedImage kImages[] = {\n";
    for (const EncodedImage& image : images) {
        source += "    {" + std::to_string(image.id) + ", " + arrayName(image.id) + "},\n";
    }
    source += "};\n\n";
}

} // namespace

bool writeEmbeddedSource(const std::vector<EncodedImage>& images,
                         const std::filesystem::path& path) {
    std::string source = "// Drawn by tools/artwork at build time.\n"
                         "#include \"resources/EmbeddedImages.h\"\n\n"
                         "namespace Korvatune::Resources {\n\nnamespace {\n\n";
    for (const EncodedImage& image : images) {
        appendArray(source, image);
    }
    appendTable(source, images);
    source += "} // namespace\n\n"
              "std::span<const EmbeddedImage> embeddedImages() {\n    return kImages;\n}\n\n"
              "} // namespace Korvatune::Resources\n";
    std::ofstream file(path, std::ios::binary);
    file << source;
    return static_cast<bool>(file.flush());
}

} // namespace Korvatune::Artwork
