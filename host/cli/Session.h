#pragma once

#include "host/PluginHost.h"
#include "host/cli/Arguments.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Korvatune {

// What every instrument-driving command shares: which module, which program, which changes.
struct Session {
    std::string pluginPath;
    std::string program = "0";
    // Whether -p was given, so that a MIDI file may choose the program when it was not.
    bool programChosen = false;
    std::optional<std::string> preset;
    std::vector<std::pair<std::string, std::string>> settings;
    bool help = false;
};

// Reads one of the options all commands share; false for an option it does not know.
bool readSessionOption(const std::string& word, Arguments& args, Session& session);
// Reads arguments that may only be shared options.
Session readSessionOnly(Arguments& args);

std::unique_ptr<PluginHost> openInstrument(const Session& session);
int findProgram(PluginHost& host, const std::string& text);
int findParameter(PluginHost& host, const std::string& key);
// Selects the session's program, loads its preset into it, then applies its settings in order.
void applySession(PluginHost& host, const Session& session);

} // namespace Korvatune
