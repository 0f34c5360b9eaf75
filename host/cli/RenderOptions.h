#pragma once

#include "host/cli/Arguments.h"
#include "host/cli/AudioFile.h"
#include "host/cli/NoteRenderer.h"
#include "host/cli/Session.h"

#include <optional>
#include <string>

namespace Korvatune {

// What `render` and `bank` share: the instrument session, the note and the file format.
struct RenderJob {
    Session session;
    NoteSettings note;
    std::optional<double> gate;
    SampleFormat format = SampleFormat::Float;
    // Whether any of -n, -v, --length or --gate was given.
    bool noteShaped = false;
};

extern const char* const kRenderOptionsHelp;

// Reads a render option into the job; false for an option that is not one.
bool readRenderOption(const std::string& word, Arguments& args, RenderJob& job);
// Checks the ranges and fills in the gate; a UsageError names the first mistake.
void validate(RenderJob& job);

// One note on a fresh instance.
StereoBuffer renderJob(const RenderJob& job);
void writeOrThrow(const std::string& path, const StereoBuffer& buffer, const RenderJob& job);
std::string decibelText(double decibels);

} // namespace Korvatune
