#include "host/Commands.h"

#include "host/Arguments.h"
#include "host/PluginHost.h"
#include "programs/ProgramKeys.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>

namespace Korvatune {

namespace {

constexpr const char* kUsage =
    "usage: ombrafell COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  programs   list the factory programs\n"
    "  params     show every parameter of a program\n"
    "\n"
    "Every command takes --plugin PATH to drive another VST 2.4 module instead of the\n"
    "built-in instrument, and --help for its own options.\n";

constexpr const char* kProgramsHelp = "usage: ombrafell programs [--plugin PATH]\n"
                                      "Prints one line per program: index, tab, name.\n";

constexpr const char* kParamsHelp =
    "usage: ombrafell params [-p PROGRAM] [--set KEY=VALUE]... [--plugin PATH]\n"
    "Selects PROGRAM (an index or an exact name; default 0), applies each --set in order\n"
    "(KEY is a parameter index or a key such as OscPitch1), then prints one line per\n"
    "parameter: index, name, value, display text, label (tab-separated).\n";

// What every instrument-driving command shares: which module, which program, which changes.
struct Session {
    std::string pluginPath;
    std::string program = "0";
    std::vector<std::pair<std::string, std::string>> settings;
    bool help = false;
};

// Reads the options all commands share; returns false for an option it does not know.
bool readSessionOption(const std::string& word, Arguments& args, Session& session) {
    if (word == "--help" || word == "-h") {
        session.help = true;
    } else if (word == "--plugin") {
        session.pluginPath = args.valueOf(word);
    } else if (word == "-p" || word == "--program") {
        session.program = args.valueOf(word);
    } else if (word == "--set") {
        const std::string& assignment = args.valueOf(word);
        const auto equals = assignment.find('=');
        if (equals == std::string::npos) {
            throw UsageError("--set needs KEY=VALUE, got: " + assignment);
        }
        session.settings.emplace_back(assignment.substr(0, equals), assignment.substr(equals + 1));
    } else {
        return false;
    }
    return true;
}

std::unique_ptr<PluginHost> openInstrument(const Session& session) {
    std::string error;
    auto host = session.pluginPath.empty()
                    ? PluginHost::createBuiltIn(error)
                    : PluginHost::createFromModule(session.pluginPath, error);
    if (!host) {
        throw UsageError(
            "cannot load " +
            (session.pluginPath.empty() ? std::string("instrument") : session.pluginPath) + ": " +
            error);
    }
    return host;
}

int findProgram(PluginHost& host, const std::string& text) {
    if (const auto index = asInteger(text)) {
        if (*index >= 0 && *index < host.numPrograms()) {
            return *index;
        }
        throw UsageError("no program " + text + " (there are " +
                         std::to_string(host.numPrograms()) + ")");
    }
    for (int i = 0; i < host.numPrograms(); ++i) {
        if (host.programName(i) == text) {
            return i;
        }
    }
    throw UsageError("no program named \"" + text + "\"");
}

int findParameter(PluginHost& host, const std::string& key) {
    if (const auto index = asInteger(key)) {
        if (*index >= 0 && *index < host.numParameters()) {
            return *index;
        }
        throw UsageError("no parameter " + key);
    }
    for (int i = 0; i < kNumProgramKeys && i < host.numParameters(); ++i) {
        if (key == kProgramKeys[i].text) {
            return i;
        }
    }
    throw UsageError("unknown parameter key \"" + key + "\"");
}

void applySession(PluginHost& host, const Session& session) {
    host.selectProgram(findProgram(host, session.program));
    for (const auto& [key, text] : session.settings) {
        const int index = findParameter(host, key);
        host.setParameter(index, parseNumber(text, "value of " + key));
    }
}

Session readSessionOnly(Arguments& args) {
    Session session;
    while (!args.done()) {
        const std::string& word = args.next();
        if (!readSessionOption(word, args, session)) {
            throw UsageError("unknown option " + word);
        }
    }
    return session;
}

int listPrograms(Arguments& args, std::ostream& out) {
    const Session session = readSessionOnly(args);
    if (session.help) {
        out << kProgramsHelp;
        return kExitSuccess;
    }
    auto host = openInstrument(session);
    for (int i = 0; i < host->numPrograms(); ++i) {
        out << i << '\t' << host->programName(i) << '\n';
    }
    return kExitSuccess;
}

int showParameters(Arguments& args, std::ostream& out) {
    const Session session = readSessionOnly(args);
    if (session.help) {
        out << kParamsHelp;
        return kExitSuccess;
    }
    auto host = openInstrument(session);
    applySession(*host, session);
    for (int i = 0; i < host->numParameters(); ++i) {
        char value[32];
        std::snprintf(value, sizeof value, "%.6f", static_cast<double>(host->getParameter(i)));
        out << i << '\t' << host->parameterName(i) << '\t' << value << '\t'
            << host->parameterDisplay(i) << '\t' << host->parameterLabel(i) << '\n';
    }
    return kExitSuccess;
}

struct Command {
    const char* name;
    std::function<int(Arguments&, std::ostream&)> run;
};

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"programs", listPrograms},
        {"params", showParameters},
    };
    return table;
}

} // namespace

int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        out << kUsage;
        return kExitSuccess;
    }
    for (const Command& command : commands()) {
        if (words[0] == command.name) {
            Arguments args({words.begin() + 1, words.end()});
            try {
                return command.run(args, out);
            } catch (const UsageError& error) {
                err << "ombrafell " << command.name << ": " << error.what() << '\n';
                return kExitUsage;
            }
        }
    }
    err << "ombrafell: unknown command \"" << words[0] << "\" (try ombrafell --help)\n";
    return kExitUsage;
}

} // namespace Korvatune
