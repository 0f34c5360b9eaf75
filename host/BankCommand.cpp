#include "host/RenderCommands.h"

#include "host/NoteNames.h"
#include "host/ParallelJobs.h"
#include "host/RenderOptions.h"
#include "host/SfzInstrument.h"

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
    "Renders every program to DIR/NN Name.wav (default out/). With --notes, --velocities or\n"
    "--sfz, each program gets a folder DIR/NN Name/ holding \"Name C1.wav\" and so on (note 60\n"
    "is C3; with several velocities \"Name C1 v064.wav\").\n";

constexpr const char* kPackHelp =
    "  --programs LIST     program indices to render (default all), e.g. 0-3,25\n"
    "  --notes LIST        notes to render instead of -n, e.g. 36,38,41 or 24-48\n"
    "  --velocities LIST   velocities to render instead of -v, e.g. 64,127 or 40-127\n"
    "  --sfz               write an SFZ instrument per program beside its samples\n"
    "  --jobs N            programs rendered at once (default: the number of processors)\n";

constexpr int kMostJobs = 256;

struct BankPlan {
    RenderJob job;
    std::string folder = "out";
    std::vector<int> programs;
    std::vector<int> notes;
    std::vector<int> velocities;
    bool sfz = false;
    int jobs = 1;

    bool folderPerProgram() const { return !notes.empty() || !velocities.empty() || sfz; }
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

// Names become file names: no separators, no control characters.
std::string fileSafe(std::string name) {
    for (char& c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            c = '-';
        }
    }
    return name;
}

std::string numbered(int index, const std::string& name) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d ", index);
    return prefix + fileSafe(name);
}

struct Sample {
    std::string fileName;
    int note;
    int velocity;
};

std::vector<Sample> samplesOf(const BankPlan& plan, int index, const std::string& name) {
    const std::string ext = fileExtensionOf(plan.job.format);
    if (!plan.folderPerProgram()) {
        return {{numbered(index, name) + ext, plan.job.note.note, plan.job.note.velocity}};
    }
    const auto notes = plan.notes.empty() ? std::vector<int>{plan.job.note.note} : plan.notes;
    const auto velocities =
        plan.velocities.empty() ? std::vector<int>{plan.job.note.velocity} : plan.velocities;
    std::vector<Sample> samples;
    for (const int note : notes) {
        for (const int velocity : velocities) {
            std::string file = fileSafe(name) + " " + noteName(note);
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
    const std::string path = (folder / (fileSafe(name) + ".sfz")).string();
    std::string error;
    if (!writeTextFile(path, sfzInstrumentText(name + ", rendered by ombrafell", regions), error)) {
        throw UsageError("cannot write " + path + ": " + error);
    }
}

// Renders one program's samples, each on a fresh instance; returns its summary lines.
std::string renderProgram(const BankPlan& plan, int index, const std::string& name) {
    std::filesystem::path folder(plan.folder);
    if (plan.folderPerProgram()) {
        folder /= numbered(index, name);
        makeFolder(folder);
    }
    const std::vector<Sample> samples = samplesOf(plan, index, name);
    std::ostringstream summary;
    for (const Sample& sample : samples) {
        RenderJob job = plan.job;
        job.session.program = std::to_string(index);
        job.note.note = sample.note;
        job.note.velocity = sample.velocity;
        const std::string path = (folder / sample.fileName).string();
        const StereoBuffer buffer = renderJob(job);
        writeOrThrow(path, buffer, job);
        summary << index << " " << name << "\t" << decibelText(peakDecibels(buffer)) << "\t"
                << job.note.lengthSeconds << "\t" << path << "\n";
    }
    if (plan.sfz) {
        writeSfz(folder, name, samples);
    }
    return summary.str();
}

std::vector<std::string> programNames(const Session& session) {
    auto host = openInstrument(session);
    std::vector<std::string> names;
    for (int index = 0; index < host->numPrograms(); ++index) {
        names.push_back(host->programName(index));
    }
    return names;
}

std::vector<int> chosenPrograms(const BankPlan& plan, std::size_t available) {
    if (plan.programs.empty()) {
        std::vector<int> all(available);
        for (std::size_t i = 0; i < available; ++i) {
            all[i] = static_cast<int>(i);
        }
        return all;
    }
    if (static_cast<std::size_t>(plan.programs.back()) >= available) {
        throw UsageError("no program " + std::to_string(plan.programs.back()) + " (there are " +
                         std::to_string(available) + ")");
    }
    return plan.programs;
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
    validate(plan.job);
    const std::vector<std::string> names = programNames(plan.job.session);
    const std::vector<int> programs = chosenPrograms(plan, names.size());
    makeFolder(plan.folder);
    BankReport report(out, err, programs.size());
    out << "program\tpeak dBFS\tlength s\tfile\n";
    runInParallel(static_cast<int>(programs.size()), plan.jobs, [&](int item) {
        const int index = programs[static_cast<std::size_t>(item)];
        const std::string& name = names[static_cast<std::size_t>(index)];
        report.started(name);
        report.finished(item, renderProgram(plan, index, name));
    });
    return 0;
}

} // namespace Korvatune
