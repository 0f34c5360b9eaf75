#include "host/PluginHost.h"
#include "host/cli/Arguments.h"
#include "host/cli/Commands.h"
#include "host/cli/ProgramFileTransfer.h"

#include "support/CommandLineRun.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace Korvatune {
namespace {

using testing::linesOf;
using Result = testing::CommandResult;

Result run(const std::vector<std::string>& words) {
    return testing::runCommand(words);
}

std::vector<float> samplesOf(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return {};
    }
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    return samples;
}

class ProgramFileCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("ombrafell-progfile-cli-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    std::string contentsOf(const std::string& name) const {
        std::ifstream stream(path(name));
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name)) << text;
    }

    // Renders a short note and returns its samples.
    std::vector<float> render(std::vector<std::string> options) const {
        const std::string output = path("render.wav");
        std::vector<std::string> words = {"render", "--length", "0.2", "-o", output};
        words.insert(words.end(), options.begin(), options.end());
        const Result result = run(words);
        EXPECT_EQ(result.status, 0) << result.err;
        return samplesOf(output);
    }

    std::filesystem::path folder;
};

TEST_F(ProgramFileCommand, SavesTheSelectedProgram) {
    const Result result = run({"save-program", "-p", "25", "-o", path("low-q.obp")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, path("low-q.obp") + "\tLow Q Bassdrum\n");
    const auto lines = linesOf(contentsOf("low-q.obp"));
    ASSERT_EQ(lines.size(), 61u);
    EXPECT_EQ(lines[0], "Name = Low Q Bassdrum;");
    EXPECT_EQ(lines[1], "OscWaveform1 = LQ Noize 1;");
    EXPECT_EQ(lines[5], "OscPan1 = 0.524565;");
    EXPECT_EQ(lines[55], "DistortionType = Hard-Overload;");
}

TEST_F(ProgramFileCommand, EveryFactoryProgramRendersTheSameFromItsFile) {
    for (int program = 0; program < 45; ++program) {
        const std::string file = path("program.obp");
        ASSERT_EQ(run({"save-program", "-p", std::to_string(program), "-o", file}).status, 0);
        const std::vector<float> direct = render({"-p", std::to_string(program)});
        ASSERT_FALSE(direct.empty());
        // Loaded into another program, the file must carry the whole sound.
        EXPECT_EQ(render({"-p", program == 3 ? "4" : "3", "--preset", file}), direct) << program;
    }
}

TEST_F(ProgramFileCommand, SettingsApplyAfterThePreset) {
    write("hand.obp", "Name = Hand Made;\nOscWaveform1 = Pulse;\nOscFreq1 = 0.25;\n");
    const Result result = run({"save-program", "-p", "25", "--preset", path("hand.obp"), "--set",
                               "OscFreq1=0.75", "-o", path("out.obp")});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto lines = linesOf(contentsOf("out.obp"));
    ASSERT_EQ(lines.size(), 61u);
    EXPECT_EQ(lines[0], "Name = Hand Made;");
    EXPECT_EQ(lines[1], "OscWaveform1 = Pulse;");
    EXPECT_EQ(lines[2], "OscFreq1 = 0.750000;");
    EXPECT_EQ(lines[3], "OscVolume1 = 0.700000;"); // kept from program 25

    const Result params = run({"params", "--preset", path("hand.obp")});
    ASSERT_EQ(params.status, 0) << params.err;
    EXPECT_NE(linesOf(params.out)[1].find("\t0.250000\t"), std::string::npos);
}

TEST_F(ProgramFileCommand, MistakesExitWithStatusTwoAndLeaveNoFile) {
    const std::string output = path("out.wav");
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"render", "--preset", path("missing.obp"), "-o", output},
             {"render", "--preset", folder.string(), "-o", output},
             {"render", "-o", output, "--preset"},
             {"save-program", "-p", "45", "-o", output},
             {"save-program", "--preset", path("missing.obp"), "-o", output},
             {"save-program", "-o", path("no/such/folder/x.obp")},
             {"save-program", "-p", "3"},
             {"save-program", "--frobnicate", "-o", output},
         }) {
        const Result result = run(words);
        EXPECT_EQ(result.status, 2) << words[1];
        EXPECT_EQ(linesOf(result.err).size(), 1u) << result.err;
        EXPECT_FALSE(std::filesystem::exists(output));
    }
    const Result missing = run({"params", "--preset", path("missing.obp")});
    EXPECT_EQ(missing.err, "ombrafell params: cannot read preset " + path("missing.obp") +
                               ": No such file or directory\n");
    EXPECT_TRUE(missing.out.empty());
}

TEST_F(ProgramFileCommand, WorksWithThisInstrumentOnly) {
    ASSERT_EQ(run({"save-program", "-p", "25", "-o", path("low-q.obp")}).status, 0);
    const Result fromDisk =
        run({"params", "--plugin", OMBRAFELL_MODULE_PATH, "--preset", path("low-q.obp")});
    ASSERT_EQ(fromDisk.status, 0) << fromDisk.err;
    EXPECT_EQ(fromDisk.out, run({"params", "-p", "25"}).out);

    std::string error;
    auto host = PluginHost::createBuiltIn(error);
    ASSERT_TRUE(host) << error;
    host->effect().uniqueID = 0; // as another module would report
    EXPECT_THROW(loadProgramFile(*host, path("low-q.obp")), UsageError);
    EXPECT_THROW(saveProgramFile(*host, path("other.obp")), UsageError);
    EXPECT_FALSE(std::filesystem::exists(path("other.obp")));
}

TEST_F(ProgramFileCommand, HelpNamesTheOption) {
    for (const std::string command : {"save-program", "render", "bank", "params"}) {
        EXPECT_NE(run({command, "--help"}).out.find("--preset FILE.obp"), std::string::npos);
    }
}

} // namespace
} // namespace Korvatune
