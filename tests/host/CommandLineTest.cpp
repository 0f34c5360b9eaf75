#include "host/cli/Commands.h"

#include "support/CommandLineRun.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace Korvatune {
namespace {

using Result = testing::CommandResult;

Result run(const std::vector<std::string>& words) {
    return testing::runCommand(words);
}

std::vector<std::string> lines(const std::string& text) {
    return testing::linesOf(text);
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        result.push_back(line.substr(start, tab - start));
    }
    result.push_back(line.substr(start));
    return result;
}

TEST(CommandLine, ProgramsListsTheBankInHostOrder) {
    const Result result = run({"programs"});
    EXPECT_EQ(result.status, 0);
    const auto listed = lines(result.out);
    ASSERT_EQ(listed.size(), 45u);
    EXPECT_EQ(listed[0], "0\tKV Bassdrum");
    EXPECT_EQ(listed[25], "25\tLow Q Bassdrum");
    EXPECT_EQ(listed[44], "44\tKV Filter Synth 2");
}

TEST(CommandLine, ParamsPrintsEveryParameterAfterTheSettings) {
    const Result result =
        run({"params", "-p", "Low Q Bassdrum", "--set", "OscPitch1=0.75", "--set", "59=0.5"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto listed = lines(result.out);
    ASSERT_EQ(listed.size(), 60u);
    EXPECT_EQ(fields(listed[5]),
              (std::vector<std::string>{"5", "Pitch1", "0.750000", "0.500000", "Octave"}));
    EXPECT_EQ(fields(listed[48])[2], "0.124778");
    EXPECT_EQ(fields(listed[59])[2], "0.500000");
    EXPECT_EQ(fields(listed[2])[3], "-3.09803");
}

TEST(CommandLine, ParamsSelectsByIndex) {
    const Result result = run({"params", "-p", "41"});
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(fields(lines(result.out)[4])[2], "0.730000");
}

TEST(CommandLine, MistakesExitWithStatusTwoAndOneLine) {
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"params", "-p", "45"},
             {"params", "-p", "No Such Program"},
             {"params", "--set", "Bogus=1"},
             {"params", "--set", "OscPitch1=loud"},
             {"params", "--set", "OscPitch1=nan"},
             {"params", "--set", "OscPitch1"},
             {"params", "-p"},
             {"params", "--frobnicate"},
             {"programs", "--plugin", "/no/such/module.so"},
             {"dance"},
         }) {
        const Result result = run(words);
        EXPECT_EQ(result.status, 2) << words[0];
        EXPECT_EQ(lines(result.err).size(), 1u) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(CommandLine, HelpIsAvailableEverywhere) {
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"--help"}, {"programs", "--help"}, {"params", "--help"}}) {
        const Result result = run(words);
        EXPECT_EQ(result.status, 0);
        EXPECT_NE(result.out.find("usage: ombrafell"), std::string::npos);
    }
}

TEST(CommandLine, DrivesAModuleFromDisk) {
    const Result result = run({"programs", "--plugin", OMBRAFELL_MODULE_PATH});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lines(result.out).size(), 45u);
}

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("ombrafell-render-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    std::filesystem::path folder;
};

TEST_F(RenderCommand, WritesTheKickOfAProgram) {
    const std::string output = path("kick.wav");
    const Result result =
        run({"render", "-p", "0", "--length", "0.5", "-r", "48000", "-o", output});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lines(result.out).size(), 1u);
    EXPECT_NE(result.out.find("dBFS"), std::string::npos);

    SF_INFO info{};
    SNDFILE* file = sf_open(output.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 48000);
    EXPECT_EQ(info.frames, 24000);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * 2);
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    float peak = 0.0f;
    for (float sample : frames) {
        ASSERT_TRUE(std::isfinite(sample));
        peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_GT(peak, 0.05f);
}

TEST_F(RenderCommand, BadArgumentsLeaveNoFile) {
    const std::string output = path("bad.wav");
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"render", "-n", "128", "-o", output},
             {"render", "-n", "-1", "-o", output},
             {"render", "-r", "0", "-o", output},
             {"render", "-b", "-4", "-o", output},
             {"render", "--length", "0", "-o", output},
             {"render", "--format", "mp3", "-o", output},
             {"render", "-o", path("missing/folder/x.wav")},
             {"render"},
         }) {
        const Result result = run(words);
        EXPECT_EQ(result.status, 2) << words[1];
        EXPECT_EQ(lines(result.err).size(), 1u) << result.err;
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

TEST_F(RenderCommand, RatesOutsideTheInstrumentsRangeAreRefusedAndItsEdgesTaken) {
    const std::string output = path("rate.wav");
    for (const std::string rate : {"0", "-44100", "1", "999", "1600001", "nan", "inf"}) {
        for (const std::vector<std::string>& words :
             {std::vector<std::string>{"render", "-r", rate, "-o", output},
              std::vector<std::string>{"bank", "-r", rate, "-o", path("rate-bank")}}) {
            const Result result = run(words);
            EXPECT_EQ(result.status, 2) << words[0] << " " << rate;
            ASSERT_EQ(lines(result.err).size(), 1u) << result.err;
            EXPECT_NE(result.err.find("rate"), std::string::npos) << result.err;
            EXPECT_FALSE(std::filesystem::exists(output)) << rate;
            EXPECT_FALSE(std::filesystem::exists(path("rate-bank"))) << rate;
        }
    }
    for (const int rate : {1000, 1600000}) {
        const Result result =
            run({"render", "-r", std::to_string(rate), "--length", "0.02", "-o", output});
        ASSERT_EQ(result.status, 0) << result.err;
        SF_INFO info{};
        SNDFILE* file = sf_open(output.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        sf_close(file);
        EXPECT_EQ(info.samplerate, rate);
        EXPECT_EQ(info.frames, rate / 50);
    }
}

// A rate beyond the range and text that is no number at all are different mistakes.
TEST_F(RenderCommand, RateMistakesSayWhatIsWrong) {
    const std::string output = path("rate.wav");
    const std::vector<std::pair<std::string, std::vector<std::string>>> mistakes = {
        {"rate out of range: 1000 to 1600000 Hz",
         {"999", "1600001", "1e30", "1e400", "-1e400", "99999999999999999999", "-44100"}},
        {"rate is not a number",
         {"abc", "44k", "", "nan", "inf", "-inf", " 44100", "0x1F40", "44100 ", "4.41e", "+", "."}},
        {"rate is not a whole number", {"44100.5", "1000.001"}},
    };
    for (const auto& [message, rates] : mistakes) {
        for (const std::string& rate : rates) {
            for (const std::string command : {"render", "bank"}) {
                const Result result = run({command, "-r", rate, "-o", output});
                EXPECT_EQ(result.status, 2) << command << " " << rate;
                EXPECT_EQ(lines(result.err).size(), 1u) << result.err;
                EXPECT_EQ(result.err.rfind("ombrafell " + command + ": " + message, 0), 0u)
                    << result.err;
                EXPECT_FALSE(std::filesystem::exists(output)) << command << " " << rate;
            }
        }
    }
}

TEST_F(RenderCommand, RatesWrittenAsDecimalsAreTaken) {
    const std::string output = path("decimal.wav");
    for (const std::string rate : {"48000.0", "4.8e4", "+48000"}) {
        const Result result = run({"render", "-r", rate, "--length", "0.02", "-o", output});
        ASSERT_EQ(result.status, 0) << rate << ": " << result.err;
        SF_INFO info{};
        SNDFILE* file = sf_open(output.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        sf_close(file);
        EXPECT_EQ(info.samplerate, 48000) << rate;
    }
}

TEST_F(RenderCommand, BankWritesOneFilePerProgram) {
    const Result result = run({"bank", "-o", path("bank"), "--length", "0.05", "-r", "22050"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(std::filesystem::exists(path("bank/00 KV Bassdrum.wav")));
    EXPECT_TRUE(std::filesystem::exists(path("bank/44 KV Filter Synth 2.wav")));
    EXPECT_EQ(lines(result.out).size(), 46u);
    EXPECT_EQ(lines(result.err).size(), 45u);
}

} // namespace
} // namespace Korvatune
