#include "host/cli/RenderCommands.h"

#include "host/cli/MidiFile.h"
#include "host/cli/MidiRenderer.h"
#include "host/cli/ProgressLine.h"
#include "host/cli/RenderOptions.h"

#include <optional>
#include <ostream>

namespace Korvatune {

namespace {

constexpr const char* kRenderHelp =
    "usage: ombrafell render [OPTIONS] -o OUT.wav\n"
    "       ombrafell render --midi FILE.mid [--tail SECONDS] [OPTIONS] -o OUT.wav\n"
    "Renders one note, or a Standard MIDI File, on a fresh instance to a stereo sound file.\n";

constexpr const char* kMidiHelp =
    "  --midi FILE.mid     play a MIDI file (format 0 or 1) instead of one note; its program\n"
    "                      changes select programs unless -p is given\n"
    "  --tail SECONDS      with --midi: end this long after the last event (default: once the\n"
    "                      sound has stayed below -100 dBFS for 0.1 s, at most 60 s)\n";

struct MidiOptions {
    std::optional<std::string> path;
    std::optional<double> tail;
};

MidiSong readSong(const std::string& path) {
    try {
        return readMidiFile(path);
    } catch (const MidiFileError& error) {
        throw UsageError(path + ": " + error.what());
    }
}

void checkMidiOptions(const RenderJob& job, const MidiOptions& midi, const MidiSong& song) {
    if (job.noteShaped) {
        throw UsageError("-n, -v, --length and --gate do not apply to --midi (see --tail)");
    }
    if (midi.tail && !(*midi.tail > 0.0 && *midi.tail <= 3600.0)) {
        throw UsageError("tail must be more than 0 and at most 3600 seconds");
    }
    const double longest = lastMessageSeconds(song) + midi.tail.value_or(kLongestTailSeconds);
    if (longest * job.note.sampleRate > 1e9) {
        throw UsageError(*midi.path + ": too long to render (" +
                         std::to_string(static_cast<long long>(longest)) + " s)");
    }
}

StereoBuffer renderSong(const RenderJob& job, const MidiOptions& midi, const MidiSong& song,
                        std::ostream& err) {
    auto host = openInstrument(job.session);
    host->prepare(static_cast<float>(job.note.sampleRate), job.note.blockSize);
    Session session = job.session;
    const std::optional<int> opening = openingProgram(song);
    if (!session.programChosen && opening && *opening < host->numPrograms()) {
        session.program = std::to_string(*opening);
    }
    applySession(*host, session);
    host->resume();

    MidiRenderSettings settings;
    settings.sampleRate = job.note.sampleRate;
    settings.blockSize = job.note.blockSize;
    settings.tailSeconds = midi.tail;
    settings.followProgramChanges = !session.programChosen;
    ProgressLine progress(err, isTerminal(err), "rendering " + *midi.path);
    StereoBuffer buffer = renderMidi(*host, song, settings, [&](double done, double expected) {
        progress.update(done, expected);
    });
    progress.finish();
    return buffer;
}

} // namespace

int renderCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    RenderJob job;
    MidiOptions midi;
    std::string output;
    while (!args.done()) {
        const std::string& word = args.next();
        if (word == "-o" || word == "--output") {
            output = args.valueOf(word);
        } else if (word == "--midi") {
            midi.path = args.valueOf(word);
        } else if (word == "--tail") {
            midi.tail = parseNumber(args.valueOf(word), "tail");
        } else if (!readRenderOption(word, args, job)) {
            throw UsageError("unknown option " + word);
        }
    }
    if (job.session.help) {
        out << kRenderHelp << kRenderOptionsHelp << kMidiHelp;
        return 0;
    }
    if (output.empty()) {
        throw UsageError("no output file (-o OUT.wav)");
    }
    if (midi.tail && !midi.path) {
        throw UsageError("--tail applies to --midi only");
    }
    validate(job);
    StereoBuffer buffer;
    if (midi.path) {
        const MidiSong song = readSong(*midi.path);
        checkMidiOptions(job, midi, song);
        buffer = renderSong(job, midi, song, err);
    } else {
        buffer = renderJob(job);
    }
    writeOrThrow(output, buffer, job);
    const double seconds = static_cast<double>(buffer.left.size()) / job.note.sampleRate;
    out << output << "\t" << seconds << " s\t" << decibelText(peakDecibels(buffer)) << " dBFS\n";
    return 0;
}

} // namespace Korvatune
