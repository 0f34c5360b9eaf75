#include "EditorTestSupport.h"
#include "support/SettingsTestSupport.h"

#include "editor/EditorScale.h"
#include "editor/EditorSettings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace Korvatune {
namespace {

using Gui::Scale;

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(EditorSettings, AChoiceIsWrittenInOneStepAndReadBack) {
    const testing::ScratchSettings settings;
    EXPECT_EQ(editorSettingsPath(), settings.file());
    EXPECT_FALSE(readChosenEditorScale().has_value());
    ASSERT_TRUE(writeChosenEditorScale(Scale(175)));
    EXPECT_EQ(readFile(settings.file()), "scale=175\n");
    EXPECT_EQ(readChosenEditorScale(), Scale(175));
    ASSERT_TRUE(writeChosenEditorScale(Scale(250)));
    EXPECT_EQ(readChosenEditorScale(), Scale(250));
    const auto entries = std::filesystem::directory_iterator(settings.file().parent_path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1) << "no temporary file is left";
}

TEST(EditorSettings, ADamagedFileIsIgnoredAndTheEditorFollowsTheDisplay) {
    const testing::ScratchSettings settings;
    const std::vector<std::string> damagedFiles{"scale=130\n",
                                                "scale=abc\n",
                                                "scale=\n",
                                                "scale=2000\n",
                                                "scale=200x\n",
                                                "garbage",
                                                std::string("\0\xff\x13scale", 8),
                                                std::string(10000, 'x') + "\nscale=200\n"};
    for (const std::string& damaged : damagedFiles) {
        writeFile(settings.file(), damaged);
        EXPECT_FALSE(readChosenEditorScale().has_value()) << damaged.substr(0, 20);
        EXPECT_EQ(preferredEditorScale(150.0), Scale(150));
        EXPECT_EQ(preferredEditorScale(std::nullopt), Scale(100));
    }
    writeFile(settings.file(), "# written by hand\r\nscale=200\r\n");
    EXPECT_EQ(readChosenEditorScale(), Scale(200));
}

TEST(EditorSettings, TheEnvironmentComesFirstThenTheChoiceThenTheDisplay) {
    const testing::ScratchSettings settings;
    EXPECT_EQ(preferredEditorScale(190.0), Scale(200));
    ASSERT_TRUE(writeChosenEditorScale(Scale(125)));
    EXPECT_EQ(preferredEditorScale(190.0), Scale(125));
    {
        const testing::ScopedVariable forced("OMBRAFELL_SCALE", "260%");
        EXPECT_EQ(preferredEditorScale(190.0), Scale(250));
    }
    const testing::ScopedVariable nonsense("OMBRAFELL_SCALE", "big");
    EXPECT_EQ(preferredEditorScale(190.0), Scale(125));
}

// An LV2 host passes its scale factor; it stands where the system's setting would.
TEST(EditorSettings, TheHostsDisplayScaleStandsInForTheSystems) {
    const testing::ScratchSettings settings;
    testing::SynthDriver driver;
    DrawTestEditor& editor = testing::editorOf(driver.get());
    editor.setHostDisplayScale(187.5);
    ERect* rect = nullptr;
    testing::dispatch(driver.get(), effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect->right - rect->left, 1600);
    EXPECT_EQ(rect->bottom - rect->top, 930);
    ASSERT_TRUE(writeChosenEditorScale(Scale(125)));
    testing::dispatch(driver.get(), effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect->right - rect->left, 1000);
}

// The folder's place is taken by a file, so nothing can be written there.
TEST(EditorSettings, AnUnwritableFolderStopsNeitherTheEditorNorItsResizing) {
    const testing::ScratchSettings settings;
    writeFile(settings.folder() / "blocked", "a file, not a folder");
    const testing::ScopedVariable config("XDG_CONFIG_HOME",
                                         (settings.folder() / "blocked").string());
    EXPECT_FALSE(writeChosenEditorScale(Scale(200)));
    EXPECT_FALSE(readChosenEditorScale().has_value());

    testing::SynthDriver driver;
    DrawTestEditor& editor = testing::editorOf(driver.get());
    editor.openOffscreen();
    editor.chooseScale(Scale(150));
    editor.idle();
    ASSERT_TRUE(editor.isOpen());
    EXPECT_EQ(editor.getFrame()->rect(), (Gui::Rect{0, 0, 1200, 698}));
    editor.close();
}

} // namespace
} // namespace Korvatune
