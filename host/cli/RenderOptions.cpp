#include "host/cli/RenderOptions.h"

#include "plugin/SampleRateRange.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Korvatune {

namespace {

constexpr int kLowestRateHz = static_cast<int>(kLowestSampleRate);
constexpr int kHighestRateHz = static_cast<int>(kHighestSampleRate);

UsageError rateOutOfRange(const std::string& given) {
    return UsageError("rate out of range: " + std::to_string(kLowestRateHz) + " to " +
                      std::to_string(kHighestRateHz) + " Hz, got " + given);
}

// Decimal digits, sign, point and exponent only: strtod would also take "nan", "inf",
// hexadecimal and leading spaces.
bool isDecimalText(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789+-.eE") == std::string::npos;
}

// Any decimal number is read first, so that a huge one is told apart from one that is not a
// number at all.
int parseSampleRate(const std::string& text) {
    char* end = nullptr;
    const double value = isDecimalText(text) ? std::strtod(text.c_str(), &end) : 0.0;
    if (end == nullptr || *end != '\0') {
        throw UsageError("rate is not a number: " + text);
    }
    if (!(value >= kLowestRateHz && value <= kHighestRateHz)) {
        throw rateOutOfRange(text);
    }
    if (value != std::floor(value)) {
        throw UsageError("rate is not a whole number of hertz: " + text);
    }
    return static_cast<int>(value);
}

} // namespace

const char* const kRenderOptionsHelp =
    "  -p PROGRAM          program index or exact name (default 0)\n"
    "  --preset FILE.obp   load a program file into the program first\n"
    "  --set KEY=VALUE     set a parameter by index or key (repeatable, in order)\n"
    "  -n NOTE             MIDI note 0..127 (default 36)\n"
    "  -v VELOCITY         1..127 (default 127)\n"
    "  --length SECONDS    length of the file (default 1.0)\n"
    "  --gate SECONDS      note-off after this time (default: half the length)\n"
    "  -r RATE             sample rate in Hz, 1000..1600000 (default 44100)\n"
    "  -b BLOCK            frames per processing block (default 512)\n"
    "  --format FORMAT     float, pcm16 or pcm24 (WAV), or flac (24-bit) (default float)\n"
    "  --plugin PATH       render another VST 2.4 module instead\n";

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
        job.note.sampleRate = parseSampleRate(args.valueOf(word));
        return true;
    } else if (word == "-b" || word == "--block") {
        job.note.blockSize = parseInteger(args.valueOf(word), "block size");
        return true;
    } else if (word == "--format") {
        const std::string& text = args.valueOf(word);
        if (!parseSampleFormat(text, job.format)) {
            throw UsageError("unknown format " + text + " (float, pcm16, pcm24 or flac)");
        }
        return true;
    } else {
        return false;
    }
    job.noteShaped = true;
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
    if (!isUsableSampleRate(static_cast<float>(note.sampleRate))) {
        throw rateOutOfRange(std::to_string(note.sampleRate));
    }
    if (note.blockSize <= 0) {
        throw UsageError("block size must be positive");
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

void writeOrThrow(const std::string& path, const StereoBuffer& buffer, const RenderJob& job) {
    std::string error;
    if (!writeStereoFile(path, buffer.left, buffer.right, job.note.sampleRate, job.format, error)) {
        throw UsageError("cannot write " + path + ": " + error);
    }
}

std::string decibelText(double decibels) {
    if (std::isinf(decibels)) {
        return "-inf";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", decibels);
    return text;
}

} // namespace Korvatune
