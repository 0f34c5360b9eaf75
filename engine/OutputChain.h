#pragma once

#include "engine/Distortion.h"
#include "engine/OutputChainToneBands.h"
#include "filters/DspButterworth.h"
#include "filters/DspChebyshevI.h"
#include "filters/DspDirectFormII.h"
#include "filters/DspRbj.h"
#include "filters/DspSmoothedFilterDesign.h"
#include "programs/VstXSynthProgram.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace Korvatune {

// The engine's working values the block stages read, taken once per block.
struct OutputChainControls {
    float filterType = 0.0f;
    float bassAmount = 0.0f;
    float midAmount = 0.0f;
    float highAmount = 0.0f;
};

// The block-rate half of the global chain: global filter, distortion, dump/expand, clip and
// tone bands, run in place over the rendered voice sum.
//
// Threads: processBlock runs on the audio thread. selectProgram and setParameter may run on
// any thread, also while a block renders: they publish whole filter settings through atomic
// words that the audio thread picks up at the start of its next block, so no block ever sees a
// half-written set and nothing on the audio path waits. setSampleRate and resume come from the
// host while it is not rendering and take effect at the next block.
class OutputChain {
public:
    // Frames per work buffer; longer blocks are processed in pieces of this size.
    static constexpr int kWorkFrames = 4096;

    // The vector path is for tests, which compare every path; all give the same bits.
    explicit OutputChain(Dsp::VectorPath path = Dsp::fastestVectorPath());
    OutputChain(const OutputChain&) = delete;
    OutputChain& operator=(const OutputChain&) = delete;

    void setSampleRate(float rate);
    // Clears the memory of all seven filters.
    void resume();
    // Takes the program's global filter, distortion and dump/expand settings.
    void selectProgram(const VstXSynthProgram& program);
    // Applies the side effect of parameter 51, 52, 53, 54 or 57; other indices are ignored.
    void setParameter(int index, float value);

    void processBlock(float* left, float* right, int frames, const OutputChainControls& controls);

    const Distortion& getDistortion() const { return distortion; }

private:
    template <class Design>
    using Smoothed = Dsp::SmoothedFilterDesign<Design, 2, Dsp::DirectFormII>;

    void configureFilters(double rate);
    void applyPendingSettings();
    void clearFilterMemory();
    void applyGlobalFilter(std::uint64_t settings);
    void applyDumpExpand(std::uint64_t settings);
    void processPiece(float* left, float* right, int frames, const OutputChainControls& controls);
    void runGlobalFilter(float* left, float* right, int frames, float filterType);
    int glideGlobalFilterTogether(float* left, float* right, int frames, float filterType);
    void runSettledGlobalFilter(float* left, float* right, int frames, float filterType);
    void runDumpExpandAndClip(float* left, float* right, int frames);
    void runSettledDumpExpandAndClip(float* left, float* right, int frames);
    void runToneBands(float* left, float* right, int frames, const OutputChainControls& controls);
    void runSettledToneBands(float* left, float* right, int frames,
                             const OutputChainControls& controls);
    float* workBuffer(int index) { return work.data() + index * kWorkFrames; }

    Distortion distortion;
    ToneBands::Bass bandLowPass;
    ToneBands::Mid bandBandPass;
    ToneBands::High bandHighPass;
    Smoothed<Dsp::RBJ::Design::LowPass> filterLowPass;
    Smoothed<Dsp::RBJ::Design::HighPass> filterHighPass;
    Smoothed<Dsp::ChebyshevI::Design::LowPass<2>> dumpLowPass;
    Smoothed<Dsp::ChebyshevI::Design::HighPass<2>> dumpHighPass;
    std::vector<float> work;
    const Dsp::VectorPath vectorPath;

    // Written by any thread. Each settings word packs two floats: the global filter's frequency
    // and Q, or the dump/expand low-pass and high-pass cutoffs. A version counts publications,
    // since even an unchanged set restarts a glide.
    std::atomic<float> sampleRate{44100.0f};
    std::atomic<std::uint64_t> globalSettings;
    std::atomic<std::uint64_t> dumpSettings;
    std::atomic<std::uint32_t> globalVersion{0};
    std::atomic<std::uint32_t> dumpVersion{0};
    std::atomic<std::uint32_t> rateVersion{0};
    std::atomic<std::uint32_t> resetRequests{0};

    // Audio thread only: what the filters were last given.
    double appliedRate = 44100.0;
    std::uint32_t appliedGlobalVersion = 0;
    std::uint32_t appliedDumpVersion = 0;
    std::uint32_t appliedRateVersion = 0;
    std::uint32_t appliedResets = 0;
};

} // namespace Korvatune
