#include "host/Commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result run(std::vector<std::string> words) {
    std::ostringstream out, err;
    const int status = runCommandLine(words, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        result.push_back(line);
    }
    return result;
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

} // namespace
} // namespace Korvatune
