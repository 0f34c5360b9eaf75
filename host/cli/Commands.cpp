#include "host/cli/Commands.h"

#include "host/PluginHost.h"
#include "host/cli/Arguments.h"
#include "host/cli/RenderCommands.h"
#include "host/cli/SaveProgramCommand.h"
#include "host/cli/ScreenshotCommand.h"
#include "host/cli/Session.h"
#include "packaging/ProductVersion.h"

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
    "  programs       list the factory programs\n"
    "  params         show every parameter of a program\n"
    "  render         render one note, or a MIDI file, to a sound file\n"
    "  bank           render every program to a folder of sound files, or a sample pack\n"
    "  save-program   write a program to a program file (.obp)\n"
    "  screenshot     draw the editor window into a PNG file\n"
    "\n"
    "Every command takes --plugin PATH to drive another VST 2.4 module instead of the\n"
    "built-in instrument, and --help for its own options. --version prints the version.\n";

// The version stays alone on the first line, for scripts that read it.
constexpr const char* kLicenceNotice =
    "Copyright (C) 2026 Korvatune\n"
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

constexpr const char* kProgramsHelp = "usage: ombrafell programs [--plugin PATH]\n"
                                      "Prints one line per program: index, tab, name.\n";

constexpr const char* kParamsHelp =
    "usage: ombrafell params [-p PROGRAM] [--preset FILE.obp] [--set KEY=VALUE]...\n"
    "                        [--plugin PATH]\n"
    "Selects PROGRAM (an index or an exact name; default 0), loads the program file given by\n"
    "--preset into it, applies each --set in order (KEY is a parameter index or a key such as\n"
    "OscPitch1), then prints one line per parameter: index, name, value, display text, label\n"
    "(tab-separated).\n";

int listPrograms(Arguments& args, std::ostream& out, std::ostream&) {
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

int showParameters(Arguments& args, std::ostream& out, std::ostream&) {
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
    std::function<int(Arguments&, std::ostream&, std::ostream&)> run;
};

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"programs", listPrograms},
        {"params", showParameters},
        {"render", renderCommand},
        {"bank", bankCommand},
        {"save-program", saveProgramCommand},
        {"screenshot", screenshotCommand},
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
    if (words[0] == "--version") {
        out << "ombrafell " << kProductVersion << '\n' << kLicenceNotice;
        return kExitSuccess;
    }
    for (const Command& command : commands()) {
        if (words[0] == command.name) {
            Arguments args({words.begin() + 1, words.end()});
            try {
                return command.run(args, out, err);
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
