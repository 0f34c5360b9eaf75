#include "host/cli/RenderCommands.h"

#include "host/cli/NoteNames.h"
#include "host/cli/ParallelJobs.h"
#include "host/cli/RenderOptions.h"
#include "host/cli/SfzInstrument.h"
#include "host/cli/TextColumn.h"
#include "programs/PortableFileName.h"

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>
#include <vector>

namespace Korvatune {

namespace {

constexpr const char* kBankHelp =
    "usage: ombrafell bank [-o DIR] [OPTIONS]\n"
    "       ombrafell bank --preset FILE.obp [-o DIR] [OPTIONS]\n"
    "Renders every program to DIR/NN Name.wav (default out/); -p renders only that program,\n"
    "--programs only those (not both). With --notes, --velocities or --sfz, each program gets a\n"
    "folder DIR/NN Name/ holding \"Name C1.wav\" and so on (note 60 is C3; with several\n"
    "velocities \"Name C1 v064.wav\").\n"
    "With --preset, the sound in the program file is rendered alone into the folder DIR/Name/,\n"
    "named after the program stored in the file; values the file leaves out come from the\n"
    "program -p selects (default 0).\n"
    "In file and folder names, characters that Windows or SFZ players cannot take and leading\n"
    "and trailing spaces and dots become \"_\", and device names such as CON get one appended;\n"
    "the SFZ instrument keeps the real name in its first line.\n";

constexpr const char* kPackHelp =
    "  --programs LIST     program indices to render (default all), e.g. 0-3,25\n"
    "  --notes LIST        notes to render instead of -n, e.g. 36,38,41 or 24-48\n"
    "  --velocities LIST   velocities to render instead of -v, e.g. 64,127 or 40-127\n"
    "  --sfz               write an SFZ instrument per program beside its samples\n"
    "  --jobs N            programs rendered at once (default: the number of processors)\n";

constexpr int kMostJobs = 256;
// The widest label the instrument gives: a four-digit index, a space and a 24-character name.
constexpr std::size_t kLabelColumns = 29;

struct BankPlan {
    RenderJob job;
    std::string folder = "out";
    std::vector<int> programs;
    std::vector<int> notes;
    std::vector<int> velocities;
    bool sfz = false;
    int jobs = 1;

    bool folderPerProgram() const {
        return !notes.empty() || !velocities.empty() || sfz || job.session.preset;
    }
};

// One program of the pack.
struct PackItem {
    // The program selected for its renders.
    int program;
    // Its real name.
    std::string name;
    // The name of its folder, or of its file when a program is one file.
    std::string packName;
    // How the summary names it, before it is fitted to its column.
    std::string label;
};

int defaultJobs() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

BankPlan readBankPlan(Arguments& args) {
    BankPlan plan;
    plan.jobs = defaultJobs();
    while (!args.done()) {
        const std::string& word = args.next();
        if (word == "-o" || word == "--output") {
            plan.folder = args.valueOf(word);
        } else if (word == "--programs") {
            plan.programs = parseNumberList(args.valueOf(word), 0, 9999, "programs");
        } else if (word == "--notes") {
            plan.notes = parseNumberList(args.valueOf(word), 0, 127, "notes");
        } else if (word == "--velocities") {
            plan.velocities = parseNumberList(args.valueOf(word), 1, 127, "velocities");
        } else if (word == "--sfz") {
            plan.sfz = true;
        } else if (word == "--jobs" || word == "-j") {
            plan.jobs = parseInteger(args.valueOf(word), "jobs");
            if (plan.jobs < 1 || plan.jobs > kMostJobs) {
                throw UsageError("jobs must be 1.." + std::to_string(kMostJobs));
            }
        } else if (!readRenderOption(word, args, plan.job)) {
            throw UsageError("unknown option " + word);
        }
    }
    return plan;
}

void refuseConflictingChoices(const BankPlan& plan) {
    if (plan.programs.empty()) {
        return;
    }
    if (plan.job.session.preset) {
        throw UsageError("--preset renders the one sound in its file; --programs does not apply");
    }
    if (plan.job.session.programChosen) {
        throw UsageError("-p and --programs both choose the programs; give one of them");
    }
}

std::string numbered(int index, const std::string& name) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d ", index);
    return prefix + portableFileName(name);
}

struct Sample {
    std::string fileName;
    int note;
    int velocity;
};

std::vector<Sample> samplesOf(const BankPlan& plan, const PackItem& item) {
    const std::string ext = fileExtensionOf(plan.job.format);
    if (!plan.folderPerProgram()) {
        return {{item.packName + ext, plan.job.note.note, plan.job.note.velocity}};
    }
    const auto notes = plan.notes.empty() ? std::vector<int>{plan.job.note.note} : plan.notes;
    const auto velocities =
        plan.velocities.empty() ? std::vector<int>{plan.job.note.velocity} : plan.velocities;
    std::vector<Sample> samples;
    for (const int note : notes) {
        for (const int velocity : velocities) {
            std::string file = portableFileName(item.name) + " " + noteName(note);
            if (velocities.size() > 1) {
                char layer[8];
                std::snprintf(layer, sizeof layer, " v%03d", velocity);
                file += layer;
            }
            samples.push_back({file + ext, note, velocity});
        }
    }
    return samples;
}

void makeFolder(const std::filesystem::path& folder) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) {
        throw UsageError("cannot create " + folder.string() + ": " + code.message());
    }
}

void writeSfz(const std::filesystem::path& folder, const std::string& name,
              const std::vector<Sample>& samples) {
    std::vector<SfzSample> regions;
    for (const Sample& sample : samples) {
        regions.push_back({sample.fileName, sample.note, sample.velocity});
    }
    const std::string path = (folder / (portableFileName(name) + ".sfz")).string();
    std::string error;
    if (!writeTextFile(path, sfzInstrumentText(name + ", rendered by ombrafell", regions), error)) {
        throw UsageError("cannot write " + path + ": " + error);
    }
}

// Renders one program's samples, each on a fresh instance; returns its summary lines.
std::string renderProgram(const BankPlan& plan, const PackItem& item) {
    std::filesystem::path folder(plan.folder);
    if (plan.folderPerProgram()) {
        folder /= item.packName;
        makeFolder(folder);
    }
    const std::vector<Sample> samples = samplesOf(plan, item);
    std::ostringstream summary;
    for (const Sample& sample : samples) {
        RenderJob job = plan.job;
        job.session.program = std::to_string(item.program);
        job.note.note = sample.note;
        job.note.velocity = sample.velocity;
        const std::string path = (folder / sample.fileName).string();
        const StereoBuffer buffer = renderJob(job);
        writeOrThrow(path, buffer, job);
        summary << fittedToColumn(item.label, kLabelColumns) << "\t"
                << decibelText(peakDecibels(buffer)) << "\t" << job.note.lengthSeconds << "\t"
                << path << "\n";
    }
    if (plan.sfz) {
        writeSfz(folder, item.name, samples);
    }
    return summary.str();
}

std::vector<int> chosenPrograms(const BankPlan& plan, PluginHost& host) {
    if (plan.job.session.programChosen) {
        return {findProgram(host, plan.job.session.program)};
    }
    const int available = host.numPrograms();
    if (plan.programs.empty()) {
        std::vector<int> all(static_cast<std::size_t>(available));
        for (int i = 0; i < available; ++i) {
            all[static_cast<std::size_t>(i)] = i;
        }
        return all;
    }
    if (plan.programs.back() >= available) {
        throw UsageError("no program " + std::to_string(plan.programs.back()) + " (there are " +
                         std::to_string(available) + ")");
    }
    return plan.programs;
}

// The program file's sound on the program it is loaded into, under the name stored in the file.
PackItem presetItem(PluginHost& host, const Session& session) {
    applySession(host, session);
    const int program = host.currentProgram();
    const std::string name = host.programName(program);
    return {program, name, portableFileName(name), name};
}

std::vector<PackItem> packItems(const BankPlan& plan) {
    auto host = openInstrument(plan.job.session);
    if (plan.job.session.preset) {
        return {presetItem(*host, plan.job.session)};
    }
    std::vector<PackItem> items;
    for (const int index : chosenPrograms(plan, *host)) {
        const std::string name = host->programName(index);
        items.push_back({index, name, numbered(index, name), std::to_string(index) + " " + name});
    }
    return items;
}

// Prints the summaries in the order of the programs as soon as every earlier one is done, and
// a progress line per program as it starts.
class BankReport {
public:
    BankReport(std::ostream& out, std::ostream& err, std::size_t programs)
        : out(out), err(err), summaries(programs), done(programs, false) {}

    void started(const std::string& name) {
        const std::lock_guard<std::mutex> lock(streams);
        err << "[" << ++startedCount << "/" << summaries.size() << "] " << name << "\n";
    }
    void finished(int index, std::string summary) {
        const std::lock_guard<std::mutex> lock(streams);
        summaries[static_cast<std::size_t>(index)] = std::move(summary);
        done[static_cast<std::size_t>(index)] = true;
        while (printed < done.size() && done[printed]) {
            out << summaries[printed++] << std::flush;
        }
    }

private:
    std::ostream& out;
    std::ostream& err;
    std::mutex streams;
    std::vector<std::string> summaries;
    std::vector<bool> done;
    std::size_t printed = 0;
    std::size_t startedCount = 0;
};

} // namespace

int bankCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    BankPlan plan = readBankPlan(args);
    if (plan.job.session.help) {
        out << kBankHelp << kRenderOptionsHelp << kPackHelp;
        return 0;
    }
    refuseConflictingChoices(plan);
    validate(plan.job);
    const std::vector<PackItem> items = packItems(plan);
    makeFolder(plan.folder);
    BankReport report(out, err, items.size());
    out << fittedToColumn("program", kLabelColumns) << "\tpeak dBFS\tlength s\tfile\n";
    runInParallel(static_cast<int>(items.size()), plan.jobs, [&](int position) {
        const PackItem& item = items[static_cast<std::size_t>(position)];
        report.started(item.name);
        report.finished(position, renderProgram(plan, item));
    });
    return 0;
}

} // namespace Korvatune
