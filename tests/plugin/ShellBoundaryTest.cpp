#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = OMBRAFELL_SOURCE_DIR;

// The quoted includes of a file, as paths from the source root.
std::vector<std::string> includesOf(const fs::path& file) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> found;
    std::ifstream in(file);
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, match, include)) {
            found.push_back(match[1]);
        }
    }
    return found;
}

// Every project header a file reaches, through the headers it includes.
std::set<std::string> reachedHeaders(const fs::path& file) {
    std::set<std::string> reached;
    std::vector<std::string> pending = includesOf(file);
    while (!pending.empty()) {
        const std::string header = pending.back();
        pending.pop_back();
        if (!fs::exists(kSourceRoot / header) || !reached.insert(header).second) {
            continue;
        }
        for (const std::string& next : includesOf(kSourceRoot / header)) {
            pending.push_back(next);
        }
    }
    return reached;
}

std::vector<fs::path> sourcesUnder(const std::string& folder) {
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot / folder)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".cpp" || extension == ".h") {
            sources.push_back(entry.path());
        }
    }
    return sources;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The headers a file reaches that lie under one of the folders.
std::vector<std::string> reachedUnder(const fs::path& file,
                                      const std::vector<std::string>& folders) {
    std::vector<std::string> offending;
    for (const std::string& header : reachedHeaders(file)) {
        for (const std::string& folder : folders) {
            if (startsWith(header, folder)) {
                offending.push_back(header);
            }
        }
    }
    return offending;
}

const std::vector<std::string> kShells = {"plugin/vst2/", "plugin/lv2/", "plugin/clap/",
                                          "plugin/vst3/"};

// The folders and headers a shell must not reach: every other shell, and for all but the VST 2
// shell the instrument class behind the face, which stands on the VST 2 base classes.
std::vector<std::string> forbiddenFor(const std::string& shell) {
    std::vector<std::string> forbidden;
    for (const std::string& other : kShells) {
        if (other != shell) {
            forbidden.push_back(other);
        }
    }
    if (shell != "plugin/vst2/") {
        forbidden.emplace_back("plugin/VstXSynth.h");
    }
    return forbidden;
}

TEST(ShellBoundaries, NoShellReachesAnotherShellsHeaders) {
    for (const std::string& shell : kShells) {
        for (const fs::path& source : sourcesUnder(shell)) {
            EXPECT_EQ(reachedUnder(source, forbiddenFor(shell)), std::vector<std::string>{})
                << source;
        }
    }
}

TEST(ShellBoundaries, TheFaceReachesNoFormatsHeaders) {
    for (const char* face : {"plugin/Instrument.h", "plugin/InstrumentEditor.h"}) {
        EXPECT_EQ(reachedUnder(kSourceRoot / face, kShells), std::vector<std::string>{}) << face;
    }
    for (const std::string& header : reachedHeaders(kSourceRoot / "plugin/Instrument.h")) {
        EXPECT_FALSE(startsWith(header, "plugin/VstXSynth")) << header;
    }
}

// The test must see includes at all, or it would pass on anything.
TEST(ShellBoundaries, SeesTheIncludesItChecks) {
    const std::set<std::string> reached = reachedHeaders(kSourceRoot / "plugin/VstXSynth.h");
    EXPECT_TRUE(reached.contains("plugin/vst2/VstAbi.h"));
    for (const std::string& shell : kShells) {
        EXPECT_FALSE(sourcesUnder(shell).empty()) << shell;
    }
    EXPECT_TRUE(reachedHeaders(kSourceRoot / "plugin/clap/ClapInstrument.cpp")
                    .contains("plugin/Instrument.h"));
}

} // namespace
