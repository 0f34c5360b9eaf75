#pragma once

#include "host/PluginHost.h"

#include <string>

namespace Korvatune {

// Loads a program file into the current program through the host interface and selects that
// program again, as the editor's Load button does. UsageError when the instrument is not this
// one or the file cannot be read.
void loadProgramFile(PluginHost& host, const std::string& path);

// Writes the current program, read back through the host interface; UsageError on failure.
void saveProgramFile(PluginHost& host, const std::string& path);

} // namespace Korvatune
