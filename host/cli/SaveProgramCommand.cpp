#include "host/cli/SaveProgramCommand.h"

#include "host/cli/ProgramFileTransfer.h"
#include "host/cli/Session.h"

#include <ostream>

namespace Korvatune {

namespace {

constexpr const char* kSaveProgramHelp =
    "usage: ombrafell save-program [-p PROGRAM] [--preset FILE.obp] [--set KEY=VALUE]...\n"
    "                              -o FILE.obp\n"
    "Selects PROGRAM (an index or an exact name; default 0), loads --preset into it, applies\n"
    "each --set in order and writes the result as a program file. Prints the file and the\n"
    "program name.\n";

} // namespace

int saveProgramCommand(Arguments& args, std::ostream& out, std::ostream&) {
    Session session;
    std::string output;
    while (!args.done()) {
        const std::string& word = args.next();
        if (word == "-o" || word == "--output") {
            output = args.valueOf(word);
        } else if (!readSessionOption(word, args, session)) {
            throw UsageError("unknown option " + word);
        }
    }
    if (session.help) {
        out << kSaveProgramHelp;
        return 0;
    }
    if (output.empty()) {
        throw UsageError("no output file (-o FILE.obp)");
    }
    auto host = openInstrument(session);
    applySession(*host, session);
    saveProgramFile(*host, output);
    out << output << '\t' << host->programName(host->currentProgram()) << '\n';
    return 0;
}

} // namespace Korvatune
