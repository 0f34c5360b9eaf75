#include "platform/ProgramLibraryFolder.h"
#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace Korvatune {
namespace {

using testing::ScopedVariable;
namespace fs = std::filesystem;

const fs::path kBelowData = fs::path("Korvatune") / "Ombrafell" / "Programs";

TEST(ProgramLibraryFolder, TheVariableWinsOverTheDataFolder) {
    const ScopedVariable library("OMBRAFELL_LIBRARY", "/srv/sounds/Kicks");
    const ScopedVariable data("XDG_DATA_HOME", "/data");
    EXPECT_EQ(Platform::programLibraryFolder(), fs::path("/srv/sounds/Kicks"));
    EXPECT_EQ(Platform::exportFolder(), fs::path("/srv/sounds/Exports"));
    const ScopedVariable slashed("OMBRAFELL_LIBRARY", "/srv/sounds/Kicks/");
    EXPECT_EQ(Platform::exportFolder(), fs::path("/srv/sounds/Exports"));
    const ScopedVariable empty("OMBRAFELL_LIBRARY", "");
    EXPECT_EQ(Platform::programLibraryFolder(), fs::path("/data") / kBelowData);
}

TEST(ProgramLibraryFolder, FollowsTheDataFolderRules) {
    const ScopedVariable library("OMBRAFELL_LIBRARY", std::nullopt);
    const ScopedVariable home("HOME", "/home/someone");
    const fs::path homeData = fs::path("/home/someone") / ".local" / "share";
    {
        const ScopedVariable data("XDG_DATA_HOME", "/data");
        EXPECT_EQ(Platform::programLibraryFolder(), fs::path("/data") / kBelowData);
        EXPECT_EQ(Platform::exportFolder(), fs::path("/data/Korvatune/Ombrafell/Exports"));
    }
    for (const std::optional<std::string>& ignored :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/data")}) {
        const ScopedVariable data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(Platform::programLibraryFolder(), homeData / kBelowData);
    }
    const ScopedVariable data("XDG_DATA_HOME", std::nullopt);
    const ScopedVariable noHome("HOME", "");
    EXPECT_FALSE(Platform::programLibraryFolder());
    EXPECT_FALSE(Platform::exportFolder());
}

class EnsureFolder : public ::testing::Test {
protected:
    EnsureFolder() {
        std::string pattern = (fs::temp_directory_path() / "ombrafell-folder-XXXXXX").string();
        root = mkdtemp(pattern.data());
    }
    ~EnsureFolder() override {
        std::error_code error;
        fs::remove_all(root, error);
    }
    fs::path root;
    std::string error;
};

TEST_F(EnsureFolder, CreatesNestedFoldersAndTakesOneThatExists) {
    const fs::path folder = root / "a" / "b" / "c";
    EXPECT_TRUE(Platform::ensureFolder(folder, error)) << error;
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(Platform::ensureFolder(folder, error)) << error;
}

TEST_F(EnsureFolder, ReportsAFileInTheWay) {
    std::ofstream(root / "taken") << "x";
    EXPECT_FALSE(Platform::ensureFolder(root / "taken", error));
    EXPECT_NE(error.find("taken"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(Platform::ensureFolder(root / "taken" / "below", error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(Platform::ensureFolder(fs::path(), error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace Korvatune
