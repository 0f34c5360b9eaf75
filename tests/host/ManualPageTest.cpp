#include "support/CommandLineRun.h"

#include "packaging/ProductVersion.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

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

// Scripts read the version as the second word of the first line.
TEST(ManualPage, VersionIsTheProjectVersionAloneOnTheFirstLineThenTheLicence) {
    const CommandResult version = runCommand({"--version"});
    EXPECT_EQ(version.status, 0);
    const std::vector<std::string> lines = linesOf(version.out);
    ASSERT_GE(lines.size(), 2u) << version.out;
    EXPECT_EQ(lines[0], std::string("ombrafell ") + kProductVersion);
    EXPECT_TRUE(std::regex_match(std::string(kProductVersion), std::regex(R"(\d+\.\d+\.\d+)")));
    EXPECT_NE(version.out.find("License GPL-3.0-or-later"), std::string::npos) << version.out;
    EXPECT_NE(version.out.find("NO WARRANTY"), std::string::npos) << version.out;
}

TEST(ManualPage, NamesTheLicence) {
    const std::string page = manualPageText();
    ASSERT_FALSE(page.empty()) << "cannot read " << OMBRAFELL_MANUAL_PAGE;
    EXPECT_NE(page.find(".SH COPYRIGHT"), std::string::npos);
    EXPECT_NE(page.find("GNU General Public License"), std::string::npos);
    EXPECT_NE(page.find("version 3 or later"), std::string::npos);
}

} // namespace
} // namespace Korvatune::testing
