#include "gui/PngCodec.h"
#include "host/cli/Commands.h"

#include "support/CommandLineRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace Korvatune {
namespace {

class ScreenshotCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("ombrafell-screenshot-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    std::optional<Gui::Bitmap> picture(const std::string& name) const {
        std::ifstream file(path(name), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        return Gui::decodePng(bytes);
    }

    std::filesystem::path folder;
};

TEST_F(ScreenshotCommand, DrawsTheEditorAtTheSizeAsked) {
    const testing::CommandResult plain = testing::runCommand({"screenshot", "-o", path("a.png")});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const testing::CommandResult large = testing::runCommand(
        {"screenshot", "--scale", "175", "--page", "about", "-o", path("b.png")});
    ASSERT_EQ(large.status, 0) << large.err;
    const std::optional<Gui::Bitmap> design = picture("a.png");
    const std::optional<Gui::Bitmap> about = picture("b.png");
    ASSERT_TRUE(design && about);
    EXPECT_EQ(design->width(), 800);
    EXPECT_EQ(design->height(), 465);
    EXPECT_EQ(about->width(), 1400);
    EXPECT_EQ(about->height(), 814);
}

TEST_F(ScreenshotCommand, ASizeNotOfferedIsAMistakeThatWritesNothing) {
    for (const std::string size : {"130", "0", "200%", "big", ""}) {
        const testing::CommandResult result =
            testing::runCommand({"screenshot", "--scale", size, "-o", path("c.png")});
        EXPECT_EQ(result.status, 2) << size;
        EXPECT_NE(result.err.find("100, 125, 150, 175, 200, 250 or 300"), std::string::npos)
            << result.err;
        EXPECT_FALSE(std::filesystem::exists(path("c.png")));
    }
    const testing::CommandResult help = testing::runCommand({"screenshot", "--help"});
    EXPECT_NE(help.out.find("--scale PERCENT"), std::string::npos);
}

} // namespace
} // namespace Korvatune
