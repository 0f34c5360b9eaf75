#include "support/CommandLineRun.h"

#include "packaging/ProductVersion.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>

namespace Korvatune::testing {
namespace {

// The manual page as a reader sees it: roff writes a minus as "\-".
std::string manualPageText() {
    std::ifstream file(OMBRAFELL_MANUAL_PAGE);
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return std::regex_replace(text, std::regex(R"(\\-)"), "-");
}

std::set<std::string> optionsIn(const std::string& help) {
    std::set<std::string> options;
    const std::regex option(R"((^|[\s\[|])(--?[a-z][a-z-]*))");
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it) {
        options.insert((*it)[2]);
    }
    return options;
}

const std::vector<std::string> kCommands = {"programs", "params",       "render",
                                            "bank",     "save-program", "screenshot"};

TEST(ManualPage, DescribesEveryCommandAndEveryOptionTheHelpOffers) {
    const std::string page = manualPageText();
    ASSERT_FALSE(page.empty()) << "cannot read " << OMBRAFELL_MANUAL_PAGE;
    for (const std::string& command : kCommands) {
        EXPECT_NE(page.find(".B " + command), std::string::npos) << command;
        const CommandResult help = runCommand({command, "--help"});
        ASSERT_EQ(help.status, 0) << command;
        for (const std::string& option : optionsIn(help.out)) {
            EXPECT_NE(page.find(option), std::string::npos)
                << "the manual page lacks " << option << " of " << command;
        }
    }
}

TEST(ManualPage, VersionIsTheProjectVersion) {
    const CommandResult version = runCommand({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("ombrafell ") + kProductVersion + "\n");
    EXPECT_TRUE(std::regex_match(std::string(kProductVersion), std::regex(R"(\d+\.\d+\.\d+)")));
}

} // namespace
} // namespace Korvatune::testing
