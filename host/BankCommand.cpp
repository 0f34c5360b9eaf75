#include "host/RenderCommands.h"

#include "host/RenderOptions.h"

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <vector>

namespace Korvatune {

namespace {

std::string fileNameFor(int index, std::string name) {
    for (char& c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            c = '-';
        }
    }
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d ", index);
    return prefix + name + ".wav";
}

} // namespace

int bankCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    RenderJob job;
    std::string folder = "out";
    while (!args.done()) {
        const std::string& word = args.next();
        if (word == "-o" || word == "--output") {
            folder = args.valueOf(word);
        } else if (!readRenderOption(word, args, job)) {
            throw UsageError("unknown option " + word);
        }
    }
    if (job.session.help) {
        out << "usage: ombrafell bank [-o DIR] [OPTIONS]\n"
               "Renders every program to DIR/NN Name.wav (default out/).\n"
            << kRenderOptionsHelp;
        return 0;
    }
    validate(job);
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) {
        throw UsageError("cannot create " + folder + ": " + code.message());
    }
    std::vector<std::string> names;
    {
        auto host = openInstrument(job.session);
        for (int index = 0; index < host->numPrograms(); ++index) {
            names.push_back(host->programName(index));
        }
    }
    const int programs = static_cast<int>(names.size());
    out << "program\tpeak dBFS\tlength s\tfile\n";
    for (int index = 0; index < programs; ++index) {
        RenderJob programJob = job;
        programJob.session.program = std::to_string(index);
        const std::string& name = names[static_cast<std::size_t>(index)];
        const std::string path =
            (std::filesystem::path(folder) / fileNameFor(index, name)).string();
        err << "[" << index + 1 << "/" << programs << "] " << name << "\n";
        const StereoBuffer buffer = renderJob(programJob);
        writeOrThrow(path, buffer, programJob);
        out << index << " " << name << "\t" << decibelText(peakDecibels(buffer)) << "\t"
            << job.note.lengthSeconds << "\t" << path << "\n";
    }
    return 0;
}

} // namespace Korvatune
