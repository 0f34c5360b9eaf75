#include "programs/ProgramLibrary.h"
#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"

#include "ProgramFileTestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace Korvatune {
namespace {

namespace fs = std::filesystem;

class ProgramLibrary : public ProgramFileFolder {
protected:
    fs::path program(const fs::path& relative) {
        fs::create_directories((folder / relative).parent_path());
        EXPECT_TRUE(writeProgramFile((folder / relative).c_str(), VstXSynthProgram()));
        return folder / relative;
    }
    void text(const fs::path& relative, const std::string& contents) {
        fs::create_directories((folder / relative).parent_path());
        std::ofstream(folder / relative, std::ios::binary) << contents;
    }
};

std::vector<std::string> namesOf(const std::vector<LibraryEntry>& entries) {
    std::vector<std::string> names;
    for (const LibraryEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

const LibraryEntry& entryNamed(const std::vector<LibraryEntry>& entries, const std::string& name) {
    for (const LibraryEntry& entry : entries) {
        if (entry.name == name) {
            return entry;
        }
    }
    throw std::runtime_error("no entry " + name);
}

TEST_F(ProgramLibrary, SortsFoldersAndFilesTogetherByNameIgnoringCaseFirst) {
    program("b.obp");
    program("B.obp");
    program("a.obp");
    program("Alpha/x.obp");
    program("c.OBP");
    program("Äther.obp");
    EXPECT_EQ(namesOf(scanProgramLibrary(folder)),
              (std::vector<std::string>{"a", "Alpha", "B", "b", "c", "Äther"}));
}

TEST_F(ProgramLibrary, NestsFoldersWithTheirPaths) {
    const fs::path deep = program("Kicks/Long/Boom.obp");
    program("Kicks/Short.Obp");
    text("Kicks/notes.txt", "Name = x;\nOscWaveform1 = Sine;\n");
    const auto library = scanProgramLibrary(folder);
    ASSERT_EQ(namesOf(library), (std::vector<std::string>{"Kicks"}));
    const LibraryEntry& kicks = library[0];
    EXPECT_TRUE(kicks.isFolder);
    EXPECT_EQ(kicks.path, folder / "Kicks");
    ASSERT_EQ(namesOf(kicks.children), (std::vector<std::string>{"Long", "Short"}));
    EXPECT_FALSE(kicks.children[1].isFolder);
    EXPECT_TRUE(kicks.children[1].readable);
    ASSERT_EQ(kicks.children[0].children.size(), 1u);
    EXPECT_EQ(kicks.children[0].children[0].path, deep);
    EXPECT_EQ(kicks.children[0].children[0].name, "Boom");
}

TEST_F(ProgramLibrary, LeavesOutHiddenNamesAndFoldersWithoutPrograms) {
    program("kept.obp");
    program(".hidden.obp");
    program(".cache/inside.obp");
    fs::create_directories(folder / "Empty" / "Emptier");
    text("Texts/read-me.txt", "nothing");
    program("y.obp/inside.obp");
    fs::create_directories(folder / "z.obp");
    const auto library = scanProgramLibrary(folder);
    EXPECT_EQ(namesOf(library), (std::vector<std::string>{"kept", "y.obp"}));
    EXPECT_TRUE(entryNamed(library, "y.obp").isFolder);
}

TEST_F(ProgramLibrary, MarksWhatDoesNotStartAsAProgramFile) {
    program("good.obp");
    text("garbage.obp", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    text("empty.obp", "");
    text("name-only.obp", "Name = Kick;\n");
    text("other-text.obp", "Name = Kick;\nhello\n");
    fs::create_symlink(folder / "missing.obp", folder / "x.obp");
    ASSERT_EQ(mkfifo((folder / "pipe.obp").c_str(), 0600), 0);
    const auto library = scanProgramLibrary(folder);
    EXPECT_TRUE(entryNamed(library, "good").readable);
    for (const char* name : {"garbage", "empty", "name-only", "other-text", "x", "pipe"}) {
        EXPECT_FALSE(entryNamed(library, name).readable) << name;
        EXPECT_FALSE(entryNamed(library, name).isFolder) << name;
    }
}

TEST_F(ProgramLibrary, SkipsLinksBackIntoTheFoldersBeingListed) {
    program("Kicks/Boom.obp");
    fs::create_directory_symlink(folder, folder / "Kicks" / "loop");
    fs::create_directory_symlink(folder / "Kicks", folder / "Kicks" / "self");
    fs::create_directory_symlink(folder / "Kicks", folder / "Shortcut");
    const auto library = scanProgramLibrary(folder);
    ASSERT_EQ(namesOf(library), (std::vector<std::string>{"Kicks", "Shortcut"}));
    EXPECT_EQ(namesOf(library[0].children), (std::vector<std::string>{"Boom"}));
    EXPECT_EQ(namesOf(library[1].children), (std::vector<std::string>{"Boom"}));
}

TEST_F(ProgramLibrary, AMissingFolderIsAnEmptyLibrary) {
    EXPECT_TRUE(scanProgramLibrary(folder / "nowhere").empty());
    text("file.obp", "");
    EXPECT_TRUE(scanProgramLibrary(folder / "file.obp").empty());
}

TEST(ProgramFileName, IsThePortableNameWithTheExtension) {
    EXPECT_EQ(programFileNameFor("Deep Kick"), "Deep Kick.obp");
    EXPECT_EQ(programFileNameFor("a/b: c?"), "a_b_ c_.obp");
    EXPECT_EQ(programFileNameFor("CON"), "CON_.obp");
    EXPECT_EQ(programFileNameFor(".hidden "), "_hidden_.obp");
    EXPECT_EQ(programFileNameFor(""), "_.obp");
}

} // namespace
} // namespace Korvatune
