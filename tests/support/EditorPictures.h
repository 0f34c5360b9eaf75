#pragma once

#include "editor/DrawTestEditor.h"
#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/Scale.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <utility>

namespace Korvatune::testing {

// The editor drawn off screen at a size and on a page (0 Synth, 1 About), as the screenshot
// command draws it; the editor is closed again.
inline Gui::Bitmap drawEditor(DrawTestEditor& editor, Gui::Scale scale, std::size_t page = 0) {
    editor.openOffscreen(scale);
    editor.selectPage(page);
    editor.idle();
    editor.getFrame()->redrawDirty();
    Gui::Bitmap picture = editor.getFrame()->frameBuffer();
    editor.close();
    return picture;
}

// FNV-1a over the red, green, blue and alpha bytes, row by row.
inline std::uint64_t pictureDigest(const Gui::Bitmap& picture) {
    std::uint64_t digest = 14695981039346656037ull;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Gui::Color c = picture.pixel(x, y);
            for (const std::uint8_t byte : {c.red, c.green, c.blue, c.alpha}) {
                digest = (digest ^ byte) * 1099511628211ull;
            }
        }
    }
    return digest;
}

// The digests of the editor's pictures as the Linux build draws them, one line per picture:
// page, percent, digest. OMBRAFELL_UPDATE_GOLDEN=1 rewrites them after an intended change.
using PictureDigests = std::map<std::pair<int, int>, std::uint64_t>;

inline std::string pictureDigestsPath() {
    const char* data = std::getenv("OMBRAFELL_TEST_DATA");
    return std::string(data != nullptr ? data : "tests/data") + "/editor/pictures.txt";
}

inline PictureDigests readPictureDigests() {
    PictureDigests digests;
    std::ifstream file(pictureDigestsPath());
    int page = 0;
    int percent = 0;
    std::uint64_t digest = 0;
    while (file >> page >> percent >> digest) {
        digests[{page, percent}] = digest;
    }
    return digests;
}

inline bool writePictureDigests(const PictureDigests& digests) {
    std::ofstream file(pictureDigestsPath());
    for (const auto& [picture, digest] : digests) {
        file << picture.first << ' ' << picture.second << ' ' << digest << '\n';
    }
    return static_cast<bool>(file.flush());
}

} // namespace Korvatune::testing
