#include "host/RenderCommands.h"

#include "host/NoteRenderer.h"
#include "host/Session.h"
#include "host/WavFile.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

namespace Korvatune {

namespace {

constexpr const char* kRenderOptions =
    "  -p PROGRAM          program index or exact name (default 0)\n"
    "  --preset FILE.obp   load a program file into the program first\n"
    "  --set KEY=VALUE     set a parameter by index or key (repeatable, in order)\n"
    "  -n NOTE             MIDI note 0..127 (default 36)\n"
    "  -v VELOCITY         1..127 (default 127)\n"
    "  --length SECONDS    length of the file (default 1.0)\n"
    "  --gate SECONDS      note-off after this time (default: half the length)\n"
    "  -r RATE             sample rate in Hz (default 44100)\n"
    "  -b BLOCK            frames per processing block (default 512)\n"
    "  --format FORMAT     float, pcm16 or pcm24 (default float)\n"
    "  --plugin PATH       render another VST 2.4 module instead\n";

struct RenderJob {
    Session session;
    NoteSettings note;
    std::optional<double> gate;
    SampleFormat format = SampleFormat::Float;
    std::string output;
};

// Reads a render option into the job; false for an option that is not one.
bool readRenderOption(const std::string& word, Arguments& args, RenderJob& job) {
    if (readSessionOption(word, args, job.session)) {
        return true;
    }
    if (word == "-n" || word == "--note") {
        job.note.note = parseInteger(args.valueOf(word), "note");
    } else if (word == "-v" || word == "--velocity") {
        job.note.velocity = parseInteger(args.valueOf(word), "velocity");
    } else if (word == "--length") {
        job.note.lengthSeconds = parseNumber(args.valueOf(word), "length");
    } else if (word == "--gate") {
        job.gate = parseNumber(args.valueOf(word), "gate");
    } else if (word == "-r" || word == "--rate") {
        job.note.sampleRate = parseInteger(args.valueOf(word), "rate");
    } else if (word == "-b" || word == "--block") {
        job.note.blockSize = parseInteger(args.valueOf(word), "block size");
    } else if (word == "--format") {
        const std::string& text = args.valueOf(word);
        if (!parseSampleFormat(text, job.format)) {
            throw UsageError("unknown format " + text + " (float, pcm16 or pcm24)");
        }
    } else {
        return false;
    }
    return true;
}

void validate(RenderJob& job) {
    NoteSettings& note = job.note;
    if (note.note < 0 || note.note > 127) {
        throw UsageError("note must be 0..127, got " + std::to_string(note.note));
    }
    if (note.velocity < 1 || note.velocity > 127) {
        throw UsageError("velocity must be 1..127, got " + std::to_string(note.velocity));
    }
    if (note.sampleRate <= 0 || note.blockSize <= 0) {
        throw UsageError("rate and block size must be positive");
    }
    if (!(note.lengthSeconds > 0.0) || note.lengthSeconds * note.sampleRate > 1e9) {
        throw UsageError("length must be positive and reasonable");
    }
    note.gateSeconds = job.gate.value_or(note.lengthSeconds / 2.0);
    if (note.gateSeconds < 0.0) {
        throw UsageError("gate must not be negative");
    }
}

StereoBuffer renderJob(const RenderJob& job) {
    auto host = openInstrument(job.session);
    host->prepare(static_cast<float>(job.note.sampleRate), job.note.blockSize);
    applySession(*host, job.session);
    host->resume();
    return renderNote(*host, job.note);
}

std::string decibelText(double decibels) {
    if (std::isinf(decibels)) {
        return "-inf";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", decibels);
    return text;
}

void writeOrThrow(const std::string& path, const StereoBuffer& buffer, const RenderJob& job) {
    std::string error;
    if (!writeStereoWav(path, buffer.left, buffer.right, job.note.sampleRate, job.format, error)) {
        throw UsageError("cannot write " + path + ": " + error);
    }
}

} // namespace

int renderCommand(Arguments& args, std::ostream& out, std::ostream&) {
    RenderJob job;
    while (!args.done()) {
        const std::string& word = args.next();
        if (word == "-o" || word == "--output") {
            job.output = args.valueOf(word);
        } else if (!readRenderOption(word, args, job)) {
            throw UsageError("unknown option " + word);
        }
    }
    if (job.session.help) {
        out << "usage: ombrafell render [OPTIONS] -o OUT.wav\n"
               "Renders one note on a fresh instance to a stereo WAV file.\n"
            << kRenderOptions;
        return 0;
    }
    if (job.output.empty()) {
        throw UsageError("no output file (-o OUT.wav)");
    }
    validate(job);
    const StereoBuffer buffer = renderJob(job);
    writeOrThrow(job.output, buffer, job);
    out << job.output << "\t" << job.note.lengthSeconds << " s\t"
        << decibelText(peakDecibels(buffer)) << " dBFS\n";
    return 0;
}

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
            << kRenderOptions;
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
