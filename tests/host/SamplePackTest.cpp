#include "host/cli/NoteNames.h"
#include "host/cli/SfzInstrument.h"
#include "programs/PortableFileName.h"

#include "support/CommandLineRun.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace Korvatune {
namespace {

namespace fs = std::filesystem;
using testing::linesOf;
using Result = testing::CommandResult;

std::string contentsOf(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// The regions of an SFZ file as opcode maps; one opcode per line, as the bank writes them.
std::vector<std::map<std::string, std::string>> regionsOf(const fs::path& path) {
    std::vector<std::map<std::string, std::string>> regions;
    for (const std::string& line : linesOf(contentsOf(path))) {
        if (line == "<region>") {
            regions.emplace_back();
        } else if (const auto equals = line.find('='); !regions.empty() && equals != line.npos) {
            regions.back()[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return regions;
}

class SamplePack : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("ombrafell-pack-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    Result bank(const std::string& output, std::vector<std::string> options) const {
        std::vector<std::string> words = {"bank", "-o", path(output), "--length",
                                          "0.05", "-r", "22050"};
        words.insert(words.end(), options.begin(), options.end());
        return testing::runCommand(words);
    }

    fs::path folder;
};

TEST(NoteNames, NoteSixtyIsCThree) {
    EXPECT_EQ(noteName(60), "C3");
    EXPECT_EQ(noteName(36), "C1");
    EXPECT_EQ(noteName(61), "C#3");
    EXPECT_EQ(noteName(47), "B1");
    EXPECT_EQ(noteName(0), "C-2");
    EXPECT_EQ(noteName(11), "B-2");
    EXPECT_EQ(noteName(127), "G8");
}

TEST(PortableFileName, ReplacesWhatWindowsOrSfzPlayersCannotTake) {
    for (const auto& [name, portable] : std::vector<std::pair<std::string, std::string>>{
             {"KV Hard-D&B-Lead 1", "KV Hard-D&B-Lead 1"},
             {"J\xC3\xBCrgen \xE2\x82\xAC", "J\xC3\xBCrgen \xE2\x82\xAC"},
             {"CON: <kick>=1.", "CON_ _kick__1_"},
             {"a\\b/c:d*e?f\"g<h>i|j=k", "a_b_c_d_e_f_g_h_i_j_k"},
             {"tab\there\nline\x7F", "tab_here_line_"},
             {" .kick. ", "__kick__"},
             {"...", "___"},
             {"", "_"},
             // Latin-1, an overlong slash, a cut sequence and a surrogate are no UTF-8.
             {"J\xFCrgen", "J_rgen"},
             {"\xC0\xAF", "__"},
             {"x\xE2\x82", "x__"},
             {"\xED\xA0\x80", "___"},
         }) {
        EXPECT_EQ(portableFileName(name), portable) << name;
    }
}

TEST(PortableFileName, DeviceNamesAreNoLongerDeviceNames) {
    for (const auto& [name, portable] : std::vector<std::pair<std::string, std::string>>{
             {"CON", "CON_"},
             {"con", "con_"},
             {"Prn", "Prn_"},
             {"AUX .x", "AUX_ .x"},
             {"nul.tar.gz", "nul_.tar.gz"},
             {"COM1", "COM1_"},
             {"lpt9.sfz", "lpt9_.sfz"},
             {"COM\xC2\xB9", "COM\xC2\xB9_"},
             {"CONOUT$", "CONOUT$_"},
             {"CONSOLE", "CONSOLE"},
             {"COM10", "COM10"},
             {"LPT", "LPT"},
             {"Bass CON", "Bass CON"},
         }) {
        EXPECT_EQ(portableFileName(name), portable) << name;
    }
}

TEST(SfzInstrument, TheTitleStaysOneCommentLine) {
    const std::string text = sfzInstrumentText("Kick\nfrom <here>\r", {{"k.wav", 36, 127}});
    EXPECT_EQ(linesOf(text)[0], "// Kick from <here> ");
    EXPECT_EQ(linesOf(text)[1], "");
    EXPECT_EQ(linesOf(text)[2], "<group>");
}

TEST_F(SamplePack, NotesAndVelocitiesGoToAFolderPerProgramWithAnSfzInstrument) {
    const Result result = bank("pack", {"--programs", "0,25", "--notes", "36,38", "--velocities",
                                        "127,64", "--sfz", "--jobs", "2"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(linesOf(result.out).size(), 9u);
    EXPECT_EQ(linesOf(result.err).size(), 2u);
    const fs::path program = folder / "pack" / "25 Low Q Bassdrum";
    const fs::path sample = program / "Low Q Bassdrum D1 v064.wav";
    ASSERT_TRUE(fs::exists(sample));
    EXPECT_TRUE(fs::exists(folder / "pack" / "00 KV Bassdrum" / "KV Bassdrum C1 v127.wav"));

    // The sample is the note it is named after.
    const Result single =
        testing::runCommand({"render", "-p", "25", "-n", "38", "-v", "64", "--length", "0.05", "-r",
                             "22050", "-o", path("single.wav")});
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(contentsOf(sample), contentsOf(path("single.wav")));

    const auto regions = regionsOf(program / "Low Q Bassdrum.sfz");
    ASSERT_EQ(regions.size(), 4u);
    std::set<std::string> layers;
    for (const auto& region : regions) {
        EXPECT_EQ(region.at("lokey"), region.at("hikey"));
        EXPECT_EQ(region.at("pitch_keycenter"), region.at("lokey"));
        const fs::path file(region.at("sample"));
        EXPECT_TRUE(file.is_relative()) << file;
        EXPECT_TRUE(fs::exists(program / file)) << file;
        const int key = std::stoi(region.at("lokey"));
        EXPECT_NE(file.string().find(noteName(key)), std::string::npos) << file;
        layers.insert(region.at("lovel") + "-" + region.at("hivel"));
    }
    EXPECT_EQ(layers, (std::set<std::string>{"1-64", "65-127"}));
    EXPECT_EQ(regions[0].at("lokey"), "36");
    EXPECT_EQ(regions[3].at("lokey"), "38");
}

TEST_F(SamplePack, OutputIsTheSameWhateverTheNumberOfJobs) {
    const std::vector<std::string> options = {"--programs", "0-4",      "--notes", "24,36",
                                              "--sfz",      "--format", "flac"};
    auto withJobs = [&](const std::string& jobs) {
        auto words = options;
        words.insert(words.end(), {"--jobs", jobs});
        return words;
    };
    const Result one = bank("one", withJobs("1"));
    const Result two = bank("two", withJobs("2"));
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(two.status, 0) << two.err;
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "one")) {
        if (entry.is_regular_file()) {
            const fs::path other = folder / "two" / fs::relative(entry.path(), folder / "one");
            EXPECT_EQ(contentsOf(entry.path()), contentsOf(other)) << other;
            ++files;
        }
    }
    EXPECT_EQ(files, 15u);
    auto summary = one.out;
    for (std::size_t at; (at = summary.find(path("one"))) != std::string::npos;) {
        summary.replace(at, path("one").size(), path("two"));
    }
    EXPECT_EQ(summary, two.out);

    SF_INFO info{};
    SNDFILE* flac =
        sf_open((folder / "two" / "03 KV Basic Kickdrum 2" / "KV Basic Kickdrum 2 C0.flac").c_str(),
                SFM_READ, &info);
    ASSERT_NE(flac, nullptr);
    sf_close(flac);
    EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_EQ(info.frames, 1103);
}

// A sample pack is rebuilt and compared, so the same sound must give the same file also when
// the clock has moved on between two renders.
TEST_F(SamplePack, TheSameRenderAnotherSecondGivesTheSameFile) {
    const std::vector<std::string> render = {"render", "-p", "3", "--length", "0.05", "-o"};
    std::vector<std::string> first = render;
    first.push_back(path("first.wav"));
    std::vector<std::string> second = render;
    second.push_back(path("second.wav"));
    ASSERT_EQ(testing::runCommand(first).status, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_EQ(testing::runCommand(second).status, 0);
    EXPECT_EQ(contentsOf(path("first.wav")), contentsOf(path("second.wav")));
}

// A program file's sound alone, in one folder named after the program the file stores, under
// names a Windows machine and any SFZ player take.
TEST_F(SamplePack, APresetBecomesOneFolderNamedAfterItsProgram) {
    ASSERT_EQ(testing::runCommand({"save-program", "-p", "25", "-o", path("saved.obp")}).status, 0);
    std::string text = contentsOf(path("saved.obp"));
    text.replace(0, text.find('\n'), "Name = CON: <kick>=1.;");
    std::ofstream(path("odd.obp"), std::ios::binary) << text;

    const Result result = bank("pack", {"--preset", path("odd.obp"), "--notes", "36,38",
                                        "--velocities", "64,127", "--sfz", "--jobs", "2"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(linesOf(result.out).size(), 5u);
    EXPECT_EQ(linesOf(result.out)[1].substr(0, 30), "CON: <kick>=1." + std::string(15, ' ') + "\t");
    EXPECT_EQ(linesOf(result.err), (std::vector<std::string>{"[1/1] CON: <kick>=1."}));
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(folder / "pack")) {
        folders.push_back(entry.path().filename());
    }
    ASSERT_EQ(folders, (std::vector<fs::path>{"CON_ _kick__1_"}));
    const fs::path program = folder / "pack" / "CON_ _kick__1_";
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(program)) {
        files.insert(entry.path().filename().string());
    }
    EXPECT_EQ(files,
              (std::set<std::string>{"CON_ _kick__1_.sfz", "CON_ _kick__1_ C1 v064.wav",
                                     "CON_ _kick__1_ C1 v127.wav", "CON_ _kick__1_ D1 v064.wav",
                                     "CON_ _kick__1_ D1 v127.wav"}));
    const fs::path sfz = program / "CON_ _kick__1_.sfz";
    EXPECT_EQ(linesOf(contentsOf(sfz))[0], "// CON: <kick>=1., rendered by ombrafell");
    for (const auto& region : regionsOf(sfz)) {
        EXPECT_TRUE(fs::exists(program / region.at("sample"))) << region.at("sample");
    }

    // The sound is the file's: the same as rendering the file alone.
    const Result single =
        testing::runCommand({"render", "--preset", path("odd.obp"), "-n", "38", "-v", "64",
                             "--length", "0.05", "-r", "22050", "-o", path("single.wav")});
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(contentsOf(program / "CON_ _kick__1_ D1 v064.wav"), contentsOf(path("single.wav")));
}

TEST_F(SamplePack, DashPRendersThatOneProgram) {
    const Result byName = bank("named", {"-p", "Low Q Bassdrum"});
    ASSERT_EQ(byName.status, 0) << byName.err;
    EXPECT_EQ(linesOf(byName.out).size(), 2u);
    std::vector<fs::path> written;
    for (const auto& entry : fs::directory_iterator(folder / "named")) {
        written.push_back(entry.path().filename());
    }
    EXPECT_EQ(written, (std::vector<fs::path>{"25 Low Q Bassdrum.wav"}));

    const Result byIndex = bank("indexed", {"-p", "3", "--sfz"});
    ASSERT_EQ(byIndex.status, 0) << byIndex.err;
    written.clear();
    for (const auto& entry : fs::directory_iterator(folder / "indexed")) {
        written.push_back(entry.path().filename());
    }
    EXPECT_EQ(written, (std::vector<fs::path>{"03 KV Basic Kickdrum 2"}));
}

// Where a terminal shows the field after the program's name: one column per code point, tabs
// to the next multiple of eight.
std::size_t columnAfterName(const std::string& line) {
    std::size_t column = 0;
    for (const char c : line) {
        if (c == '\t') {
            return (column / 8 + 1) * 8;
        }
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return std::string::npos;
}

std::size_t fieldCount(const std::string& line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) + 1;
}

// A program file may name its program with anything; the summary still lines up with the
// factory programs', and the files keep the names the naming rules give.
TEST_F(SamplePack, SummaryColumnsLineUpWhateverTheNameHolds) {
    ASSERT_EQ(testing::runCommand({"save-program", "-p", "25", "-o", path("saved.obp")}).status, 0);
    const std::string saved = contentsOf(path("saved.obp"));
    struct Named {
        std::string name;
        // The instrument keeps 24 bytes of a name.
        std::string fileName;
    };
    const std::vector<Named> names = {
        {"Tab\there", "Tab_here"},
        {"Forty Characters Of Kick Drum Name Here!", "Forty Characters Of Kick"},
        {"J\xC3\xBCrgen Kick", "J\xC3\xBCrgen Kick"},
    };
    std::set<std::size_t> columns;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string text = saved;
        text.replace(0, text.find('\n'), "Name = " + names[i].name + ";");
        const std::string preset = path("named" + std::to_string(i) + ".obp");
        std::ofstream(preset, std::ios::binary) << text;
        const std::string pack = "named" + std::to_string(i);
        const Result result = bank(pack, {"--preset", preset});
        ASSERT_EQ(result.status, 0) << result.err;
        const auto summary = linesOf(result.out);
        ASSERT_EQ(summary.size(), 2u) << result.out;
        for (const std::string& line : summary) {
            EXPECT_EQ(fieldCount(line), 4u) << line;
            columns.insert(columnAfterName(line));
        }
        const std::string& fileName = names[i].fileName;
        EXPECT_TRUE(fs::exists(folder / pack / fileName / (fileName + " C1.wav"))) << fileName;
    }
    const Result factory = bank("factory", {"--programs", "0,25,44"});
    ASSERT_EQ(factory.status, 0) << factory.err;
    for (const std::string& line : linesOf(factory.out)) {
        EXPECT_EQ(fieldCount(line), 4u) << line;
        columns.insert(columnAfterName(line));
    }
    EXPECT_EQ(columns.size(), 1u);
}

TEST_F(SamplePack, MistakesExitWithStatusTwoAndWriteNothing) {
    for (const auto& options : std::vector<std::vector<std::string>>{
             {"-p", "45"},
             {"-p", "No Such Program"},
             {"-p", "0", "--programs", "1"},
             {"--preset", path("missing.obp")},
             {"--preset", path("missing.obp"), "--programs", "1"},
             {"-r", "999"},
             {"--notes", "128"},
             {"--notes", "36,"},
             {"--notes", "48-36"},
             {"--velocities", "0-64"},
             {"--programs", "45"},
             {"--jobs", "0"},
             {"--jobs", "many"},
         }) {
        const Result result = bank("bad", options);
        EXPECT_EQ(result.status, 2) << options[1];
        EXPECT_EQ(linesOf(result.err).size(), 1u) << result.err;
        EXPECT_FALSE(fs::exists(path("bad"))) << options[1];
    }
}

} // namespace
} // namespace Korvatune
