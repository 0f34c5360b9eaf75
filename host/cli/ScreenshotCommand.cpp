#include "host/cli/ScreenshotCommand.h"

#include "editor/DrawTestEditor.h"
#include "gui/PngCodec.h"
#include "host/cli/Commands.h"
#include "host/cli/Session.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramFile.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace Korvatune {

namespace {

constexpr const char* kScreenshotHelp =
    "usage: ombrafell screenshot [-p PROGRAM] [--set KEY=VALUE]... [--preset FILE.obp]\n"
    "                            [--page synth|about] [--scale PERCENT] -o FILE.png\n"
    "Draws the editor window of the built-in instrument into a PNG file, with PROGRAM\n"
    "selected (an index or an exact name; default 0), each --set applied and, with --preset,\n"
    "the program file read into that program. --scale draws it at one of the editor's sizes:\n"
    "100 (800 x 465, the default), 125, 150, 175, 200, 250 or 300 percent.\n";

struct ScreenshotJob {
    Session session;
    std::string preset;
    std::size_t page = 0;
    Gui::Scale scale;
    std::string output;
};

Gui::Scale offeredScale(const std::string& text) {
    int percent = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
    const auto& offered = Gui::kOfferedScalePercents;
    if (error != std::errc{} || end != text.data() + text.size() ||
        std::find(offered.begin(), offered.end(), percent) == offered.end()) {
        throw UsageError("unknown size " + text + " (100, 125, 150, 175, 200, 250 or 300)");
    }
    return Gui::Scale(percent);
}

ScreenshotJob readScreenshotJob(Arguments& args) {
    ScreenshotJob job;
    while (!args.done()) {
        const std::string& word = args.next();
        if (readSessionOption(word, args, job.session)) {
            continue;
        }
        if (word == "--preset") {
            job.preset = args.valueOf(word);
        } else if (word == "--page") {
            const std::string& page = args.valueOf(word);
            if (page != "synth" && page != "about") {
                throw UsageError("unknown page " + page + " (synth or about)");
            }
            job.page = page == "about" ? 1 : 0;
        } else if (word == "--scale") {
            job.scale = offeredScale(args.valueOf(word));
        } else if (word == "-o" || word == "--output") {
            job.output = args.valueOf(word);
        } else {
            throw UsageError("unknown option " + word);
        }
    }
    if (!job.session.pluginPath.empty()) {
        throw UsageError("only the built-in instrument's editor can be drawn");
    }
    if (job.output.empty() && !job.session.help) {
        throw UsageError("missing -o FILE.png");
    }
    return job;
}

VstXSynth& builtInSynth(PluginHost& host) {
    return *dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(&host.effect()));
}

} // namespace

int screenshotCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    const ScreenshotJob job = readScreenshotJob(args);
    if (job.session.help) {
        out << kScreenshotHelp;
        return kExitSuccess;
    }
    auto host = openInstrument(job.session);
    applySession(*host, job.session);
    VstXSynth& synth = builtInSynth(*host);
    if (!job.preset.empty()) {
        if (!readProgramFile(synth.currentProgram(), job.preset.c_str())) {
            err << "ombrafell screenshot: cannot read " << job.preset << '\n';
            return kExitFailure;
        }
        host->selectProgram(host->currentProgram());
    }
    DrawTestEditor& editor = *drawTestEditorOf(synth);
    editor.openOffscreen(job.scale);
    editor.selectPage(job.page);
    editor.idle();
    Gui::Frame& frame = *editor.getFrame();
    frame.redrawDirty();
    const bool written = Gui::writePngFile(frame.frameBuffer(), job.output);
    editor.close();
    if (!written) {
        err << "ombrafell screenshot: cannot write " << job.output << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace Korvatune
