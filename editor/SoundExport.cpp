#include "editor/SoundExport.h"

#include "editor/Wave24Writer.h"
#include "platform/AtomicFile.h"
#include "platform/TextPaths.h"
#include "plugin/SampleRateRange.h"
#include "plugin/UserWaveformCodec.h"
#include "plugin/VstXSynth.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <vector>

namespace Korvatune {

namespace {

// As the command line renders, so that an export and its render agree to the sample.
constexpr std::int32_t kBlockSize = 512;
// One step of a 24-bit sample: anything quieter is silence in the file.
constexpr float kSilence = 1.0f / 8388608.0f;

struct RenderedSound {
    std::vector<float> left;
    std::vector<float> right;
};

ExportResult failure(std::string error) {
    return {false, std::move(error), 0};
}

// The running instrument's tables may be replaced between two of its blocks (a host restoring
// a session), sample by sample with atomic stores: they are read the same way, and a copy that
// saw the revision move is taken again.
void copyUserTables(VstXSynth& running, VstXSynth& copy) {
    const WaveformProvider& source = *running.getWaveformProvider();
    WaveformProvider& target = *copy.getWaveformProvider();
    auto table = std::make_unique<WaveformTable>();
    std::uint32_t revision = 0;
    do {
        revision = source.getTablesRevision();
        for (int slot = 0; slot < WaveformProvider::kNumUserWaveforms; ++slot) {
            const float* samples = source.getTableAt(WaveformProvider::kFirstUserWaveform + slot);
            for (std::size_t index = 0; index < table->size(); ++index) {
                (*table)[index] = std::atomic_ref<float>(const_cast<float&>(samples[index]))
                                      .load(std::memory_order_relaxed);
            }
            target.replaceUserTable(slot, table->data());
        }
    } while (revision != source.getTablesRevision());
    target.markTablesChanged();
}

// Prepared in the order the command line prepares its instance: rate, program, values.
std::unique_ptr<VstXSynth> copyOf(VstXSynth& running, float sampleRate) {
    auto copy = std::make_unique<VstXSynth>(running.getWaveformProvider()->getFolder(), nullptr);
    copy->setSampleRate(sampleRate);
    copy->setBlockSize(kBlockSize);
    copy->setProgram(running.getProgram());
    for (int index = 0; index < kNumProgramKeys; ++index) {
        copy->setParameter(index, running.getParameter(index));
    }
    copy->setProgramName(running.currentProgram().getName().c_str());
    copyUserTables(running, *copy);
    copy->resume();
    return copy;
}

bool voicesIdle(const VstXSynth& synth) {
    for (int index = 0; index < kNumVoices; ++index) {
        if (!synth.voice(index).isIdle()) {
            return false;
        }
    }
    return true;
}

bool isSilent(const float* left, const float* right, std::int32_t frames) {
    float peak = 0.0f;
    for (std::int32_t frame = 0; frame < frames; ++frame) {
        peak = std::max({peak, std::fabs(left[frame]), std::fabs(right[frame])});
    }
    return peak < kSilence;
}

// Block by block until, after the release, the voices are idle and a block came out silent.
RenderedSound renderAudition(VstXSynth& synth, double sampleRate) {
    const std::int64_t longest = std::llround(kLongestExportSeconds * sampleRate);
    const std::int64_t release = std::llround(kAuditionGateSeconds * sampleRate);
    RenderedSound sound;
    sound.left.resize(static_cast<std::size_t>(longest));
    sound.right.resize(static_cast<std::size_t>(longest));
    synth.requestAudition();
    std::int64_t rendered = 0;
    while (rendered < longest) {
        const auto frames =
            static_cast<std::int32_t>(std::min<std::int64_t>(kBlockSize, longest - rendered));
        float* outputs[] = {sound.left.data() + rendered, sound.right.data() + rendered};
        synth.processReplacing(nullptr, outputs, frames);
        rendered += frames;
        if (rendered > release && voicesIdle(synth) && isSilent(outputs[0], outputs[1], frames)) {
            break;
        }
    }
    sound.left.resize(static_cast<std::size_t>(rendered));
    sound.right.resize(static_cast<std::size_t>(rendered));
    return sound;
}

// Checked before rendering, as the atomic write would make the folder the user named.
std::string folderProblem(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return {};
    }
    return "the folder " + Platform::pathToUtf8(folder) + " does not exist";
}

} // namespace

ExportResult exportSound(VstXSynth& synth, const std::filesystem::path& file, double sampleRate) {
    const auto rate = static_cast<float>(sampleRate);
    // A WAVE file names its rate in whole hertz.
    if (!isUsableSampleRate(rate) || sampleRate != std::floor(sampleRate)) {
        return failure("the instrument cannot render at " + std::to_string(sampleRate) + " Hz");
    }
    if (std::string problem = folderProblem(file); !problem.empty()) {
        return failure(std::move(problem));
    }
    const RenderedSound sound = renderAudition(*copyOf(synth, rate), sampleRate);
    const std::string bytes = encodeWave24(sound.left, sound.right, static_cast<int>(sampleRate));
    if (!Platform::writeFileAtomically(file, bytes)) {
        return failure("cannot write " + Platform::pathToUtf8(file) +
                       ": the folder is not writable, the name is taken by a folder or the "
                       "disk is full");
    }
    return {true, {}, sound.left.size()};
}

} // namespace Korvatune
