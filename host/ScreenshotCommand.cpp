#include "host/ScreenshotCommand.h"

#include "editor/DrawTestEditor.h"
#include "gui/PngCodec.h"
#include "host/Commands.h"
#include "host/Session.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramFile.h"

#include <ostream>

namespace Korvatune {

namespace {

constexpr const char* kScreenshotHelp =
    "usage: ombrafell screenshot [-p PROGRAM] [--set KEY=VALUE]... [--preset FILE.obp]\n"
    "                            [--page synth|about] -o FILE.png\n"
    "Draws the editor window (800 x 465) of the built-in instrument into a PNG file, with\n"
    "PROGRAM selected (an index or an exact name; default 0), each --set applied and, with\n"
    "--preset, the program file read into that program.\n";

struct ScreenshotJob {
    Session session;
    std::string preset;
    std::size_t page = 0;
    std::string output;
};

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
    DrawTestEditor& editor = *synth.getDrawTestEditor();
    editor.openOffscreen();
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
