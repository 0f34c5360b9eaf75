#include "editor/DrawTestEditor.h"
#include "gui/Frame.h"
#include "gui/PngCodec.h"
#include "plugin/VstXSynth.h"
#include "support/EditorPictures.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace Korvatune {
namespace {

// docs/editor.png is the Linux build's screenshot of program 0; the Windows build must draw
// the very same pixels, artwork decoding included.
TEST(EditorPixels, EqualTheLinuxScreenshot) {
    const char* path = std::getenv("OMBRAFELL_LINUX_SCREENSHOT");
    ASSERT_NE(path, nullptr);
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const std::optional<Gui::Bitmap> screenshot = Gui::decodePng(bytes);
    ASSERT_TRUE(screenshot.has_value()) << path;

    testing::SynthDriver synth;
    DrawTestEditor& editor =
        *drawTestEditorOf(*dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get())));
    editor.openOffscreen();
    editor.idle();
    Gui::Frame& frame = *editor.getFrame();
    frame.redrawDirty();
    const Gui::Bitmap& drawn = frame.frameBuffer();
    ASSERT_EQ(drawn.width(), screenshot->width());
    ASSERT_EQ(drawn.height(), screenshot->height());
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            differing += !(drawn.pixel(x, y) == screenshot->pixel(x, y));
        }
    }
    EXPECT_EQ(differing, 0);
    editor.close();
}

// The artwork is drawn by the module at run time; at every size and on both pages the Windows
// module draws the very pixels the Linux build drew when it recorded the digests, and at 200 %
// those of docs/editor-200.png.
TEST(EditorPixels, EverySizeEqualsTheLinuxDrawing) {
    const testing::PictureDigests recorded = testing::readPictureDigests();
    ASSERT_EQ(recorded.size(), 2 * Gui::kOfferedScalePercents.size());
    testing::SynthDriver synth;
    DrawTestEditor& editor =
        *drawTestEditorOf(*dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get())));
    for (const auto& [picture, digest] : recorded) {
        const Gui::Bitmap drawn = testing::drawEditor(editor, Gui::Scale(picture.second),
                                                      static_cast<std::size_t>(picture.first));
        EXPECT_EQ(testing::pictureDigest(drawn), digest)
            << "page " << picture.first << " at " << picture.second << " %";
    }
    const std::filesystem::path large =
        std::filesystem::path(std::getenv("OMBRAFELL_LINUX_SCREENSHOT")).parent_path() /
        "editor-200.png";
    std::ifstream file(large, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const std::optional<Gui::Bitmap> screenshot = Gui::decodePng(bytes);
    ASSERT_TRUE(screenshot.has_value());
    EXPECT_EQ(testing::pictureDigest(*screenshot),
              testing::pictureDigest(testing::drawEditor(editor, Gui::Scale(200))));
}

} // namespace
} // namespace Korvatune
