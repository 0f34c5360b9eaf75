#include "host/cli/Session.h"

#include "host/cli/ProgramFileTransfer.h"
#include "programs/ProgramKeys.h"

namespace Korvatune {

bool readSessionOption(const std::string& word, Arguments& args, Session& session) {
    if (word == "--help" || word == "-h") {
        session.help = true;
    } else if (word == "--plugin") {
        session.pluginPath = args.valueOf(word);
    } else if (word == "-p" || word == "--program") {
        session.program = args.valueOf(word);
        session.programChosen = true;
    } else if (word == "--preset") {
        session.preset = args.valueOf(word);
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
    if (session.preset) {
        loadProgramFile(host, *session.preset);
    }
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

} // namespace Korvatune
