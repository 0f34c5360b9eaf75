#include "editor/DrawTestEditor.h"
#include "gui/Frame.h"
#include "gui/PngCodec.h"
#include "plugin/VstXSynth.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
        *dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get()))->getDrawTestEditor();
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

} // namespace
} // namespace Korvatune
