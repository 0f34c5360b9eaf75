#include "engine/OutputChain.h"

#include "engine/NonFiniteSamples.h"
#include "engine/SampleFunctions.h"

#include <algorithm>
#include <bit>

namespace Korvatune {

namespace {

constexpr float kInitialRate = 44100.0f;
constexpr float kGlobalRange = 0.499f;
constexpr float kGlobalLowest = 20.0f;
constexpr float kDumpRange = 0.49977f;
constexpr float kDumpLowest = 10.0f;
constexpr float kResonanceRange = 15.0f;
constexpr double kLowestQ = 0.5;
constexpr double kBandOrder = 4.0;
constexpr double kBandLowCutoff = 440.0;
constexpr double kBandCenter = 1000.0;
constexpr double kBandWidth = 1777.0;
constexpr double kBandHighCutoff = 2777.0;
// The high band's cutoff stays at or below this fraction of the rate.
constexpr double kBandTop = 0.45;
constexpr double kDumpOrder = 2.0;
constexpr double kDumpRippleDb = 0.1;
constexpr int kWorkBufferCount = 6;

struct FloatPair {
    float first;
    float second;
};

std::uint64_t pack(FloatPair pair) {
    return (static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(pair.first)) << 32) |
           std::bit_cast<std::uint32_t>(pair.second);
}

FloatPair unpack(std::uint64_t word) {
    return {std::bit_cast<float>(static_cast<std::uint32_t>(word >> 32)),
            std::bit_cast<float>(static_cast<std::uint32_t>(word))};
}

// A cutoff or Q computed from a value outside 0..1 would make the recursion unstable, and one
// from NaN would poison the filter state for good.
float unitRange(float value) {
    if (!(value > 0.0f)) {
        return 0.0f;
    }
    return std::min(value, 1.0f);
}

float globalFrequency(float control, float rate) {
    return expCurve(control) * rate * kGlobalRange + kGlobalLowest;
}

float dumpCutoff(float control, float rate) {
    return expCurve(control) * rate * kDumpRange + kDumpLowest;
}

// Low-pass cutoff first, high-pass second.
FloatPair dumpCutoffs(float value, float rate) {
    const float x = unitRange(value);
    return {dumpCutoff(clampValue(x * 2.0f, 0.0f, 1.0f), rate),
            dumpCutoff(clampValue((x - 0.5f) * 2.0f, 0.0f, 1.0f), rate)};
}

// Below the rate at which the high band fits under the Nyquist frequency all three bands move
// down with the rate, keeping their layout: designed above it, they would run away.
double bandScale(double rate) {
    return std::min(1.0, rate * kBandTop / kBandHighCutoff);
}

// A cutoff at or above the Nyquist frequency of a new rate drops to the top of its control.
float belowNyquist(float cutoff, float rate, float highest) {
    return cutoff < rate * 0.5f ? cutoff : highest;
}

template <class Update>
void updateSettings(std::atomic<std::uint64_t>& word, const Update& update) {
    std::uint64_t expected = word.load(std::memory_order_relaxed);
    while (!word.compare_exchange_weak(expected, pack(update(unpack(expected))),
                                       std::memory_order_acq_rel, std::memory_order_relaxed)) {
    }
}

// Added to the clipped signal, so the bands may raise the level above 1 again.
void addBand(float* left, float* right, int frames, float amount, const float* const* band) {
    if (!(amount > 0.0f)) {
        return;
    }
    for (int i = 0; i < frames; ++i) {
        left[i] += amount * band[0][i];
        right[i] += amount * band[1][i];
    }
}

// Both channels clipped to -1..1 as clampValue clips them, NaN passing through included.
__m128 clipFrame(__m128 frame) {
    return _mm_max_ps(_mm_set1_ps(-1.0f), _mm_min_ps(_mm_set1_ps(1.0f), frame));
}

void publish(std::atomic<std::uint32_t>& version) {
    version.fetch_add(1, std::memory_order_release);
}

} // namespace

OutputChain::OutputChain(Dsp::VectorPath path)
    : work(static_cast<std::size_t>(kWorkBufferCount) * kWorkFrames, 0.0f), vectorPath(path),
      globalSettings(pack({kGlobalLowest, 0.0f})),
      dumpSettings(pack({kInitialRate * kDumpRange + kDumpLowest, kDumpLowest})) {
    configureFilters(kInitialRate);
}

void OutputChain::setSampleRate(float rate) {
    if (!(rate > 0.0f)) {
        return;
    }
    sampleRate.store(rate, std::memory_order_relaxed);
    const float globalHighest = globalFrequency(1.0f, rate);
    updateSettings(globalSettings, [&](FloatPair global) {
        return FloatPair{belowNyquist(global.first, rate, globalHighest), global.second};
    });
    const float dumpHighest = dumpCutoff(1.0f, rate);
    updateSettings(dumpSettings, [&](FloatPair dump) {
        return FloatPair{belowNyquist(dump.first, rate, dumpHighest),
                         belowNyquist(dump.second, rate, dumpHighest)};
    });
    publish(rateVersion);
}

void OutputChain::resume() {
    publish(resetRequests);
}

void OutputChain::selectProgram(const VstXSynthProgram& program) {
    const float rate = sampleRate.load(std::memory_order_relaxed);
    globalSettings.store(pack({globalFrequency(unitRange(program.getValue(kFilterCutoff)), rate),
                               unitRange(program.getValue(kFilterResonance)) * kResonanceRange}),
                         std::memory_order_release);
    publish(globalVersion);
    distortion.setAmount(program.getValue(kDistortion));
    distortion.setType(program.getValue(kDistortionType));
    dumpSettings.store(pack(dumpCutoffs(program.getValue(kDumpExpand), rate)),
                       std::memory_order_release);
    publish(dumpVersion);
}

void OutputChain::setParameter(int index, float value) {
    const float rate = sampleRate.load(std::memory_order_relaxed);
    switch (index) {
    case kFilterCutoff: {
        const float frequency = globalFrequency(unitRange(value), rate);
        updateSettings(globalSettings, [&](FloatPair global) {
            return FloatPair{frequency, global.second};
        });
        publish(globalVersion);
        break;
    }
    case kFilterResonance: {
        const float resonance = unitRange(value) * kResonanceRange;
        updateSettings(globalSettings, [&](FloatPair global) {
            return FloatPair{global.first, resonance};
        });
        publish(globalVersion);
        break;
    }
    case kDistortion:
        distortion.setAmount(value);
        break;
    case kDistortionType:
        distortion.setType(value);
        break;
    case kDumpExpand:
        dumpSettings.store(pack(dumpCutoffs(value, rate)), std::memory_order_release);
        publish(dumpVersion);
        break;
    default:
        break;
    }
}

void OutputChain::configureFilters(double rate) {
    appliedRate = rate;
    const double scale = bandScale(rate);
    bandLowPass.setParameters({rate, kBandOrder, kBandLowCutoff * scale});
    bandBandPass.setParameters({rate, kBandOrder, kBandCenter * scale, kBandWidth * scale});
    bandHighPass.setParameters({rate, kBandOrder, kBandHighCutoff * scale});
    applyGlobalFilter(globalSettings.load(std::memory_order_acquire));
    applyDumpExpand(dumpSettings.load(std::memory_order_acquire));
}

void OutputChain::applyGlobalFilter(std::uint64_t settings) {
    const FloatPair global = unpack(settings);
    const Dsp::Parameters parameters{appliedRate, global.first, global.second + kLowestQ};
    filterLowPass.setParameters(parameters);
    filterHighPass.setParameters(parameters);
}

void OutputChain::applyDumpExpand(std::uint64_t settings) {
    const FloatPair cutoffs = unpack(settings);
    dumpLowPass.setParameters({appliedRate, kDumpOrder, cutoffs.first, kDumpRippleDb});
    dumpHighPass.setParameters({appliedRate, kDumpOrder, cutoffs.second, kDumpRippleDb});
}

void OutputChain::applyPendingSettings() {
    const std::uint32_t rateNow = rateVersion.load(std::memory_order_acquire);
    const std::uint32_t globalNow = globalVersion.load(std::memory_order_acquire);
    const std::uint32_t dumpNow = dumpVersion.load(std::memory_order_acquire);
    if (rateNow != appliedRateVersion) {
        configureFilters(sampleRate.load(std::memory_order_relaxed));
    } else {
        if (globalNow != appliedGlobalVersion) {
            applyGlobalFilter(globalSettings.load(std::memory_order_acquire));
        }
        if (dumpNow != appliedDumpVersion) {
            applyDumpExpand(dumpSettings.load(std::memory_order_acquire));
        }
    }
    appliedRateVersion = rateNow;
    appliedGlobalVersion = globalNow;
    appliedDumpVersion = dumpNow;

    const std::uint32_t resetsNow = resetRequests.load(std::memory_order_acquire);
    if (resetsNow != appliedResets) {
        appliedResets = resetsNow;
        clearFilterMemory();
    }
}

void OutputChain::clearFilterMemory() {
    bandLowPass.reset();
    bandBandPass.reset();
    bandHighPass.reset();
    filterLowPass.reset();
    filterHighPass.reset();
    dumpLowPass.reset();
    dumpHighPass.reset();
}

void OutputChain::processBlock(float* left, float* right, int frames,
                               const OutputChainControls& controls) {
    if (left == nullptr || right == nullptr) {
        return;
    }
    applyPendingSettings();
    for (int start = 0; start < frames; start += kWorkFrames) {
        processPiece(left + start, right + start, std::min(kWorkFrames, frames - start), controls);
    }
    // A recursion that ran away would stay non-finite for good; it restarts, and the samples it
    // spoiled are written as silence.
    const bool leftSpoiled = scrubNonFinite(left, frames);
    const bool rightSpoiled = scrubNonFinite(right, frames);
    if (leftSpoiled || rightSpoiled) {
        clearFilterMemory();
    }
}

void OutputChain::processPiece(float* left, float* right, int frames,
                               const OutputChainControls& controls) {
    runGlobalFilter(left, right, frames, controls.filterType);
    distortion.processBlock(left, right, frames);
    runDumpExpandAndClip(left, right, frames);
    runToneBands(left, right, frames, controls);
}

void OutputChain::runGlobalFilter(float* left, float* right, int frames, float filterType) {
    if (!filterLowPass.isGliding() && !filterHighPass.isGliding()) {
        runSettledGlobalFilter(left, right, frames, filterType);
        return;
    }
    const int glided = glideGlobalFilterTogether(left, right, frames, filterType);
    if (glided >= 0) {
        runSettledGlobalFilter(left + glided, right + glided, frames - glided, filterType);
        return;
    }
    float* highLeft = workBuffer(0);
    float* highRight = workBuffer(1);
    std::copy_n(left, frames, highLeft);
    std::copy_n(right, frames, highRight);
    float* const low[2] = {left, right};
    float* const high[2] = {highLeft, highRight};
    filterHighPass.process(frames, high);
    filterLowPass.process(frames, low);
    const float lowShare = 1.0f - filterType;
    for (int i = 0; i < frames; ++i) {
        left[i] = lowShare * left[i] + filterType * highLeft[i];
        right[i] = lowShare * right[i] + filterType * highRight[i];
    }
}

// Both filters always get the same settings, so they normally glide in lockstep: each frame's
// two designs then share one angle computation and half their divisions.
int OutputChain::glideGlobalFilterTogether(float* left, float* right, int frames,
                                           float filterType) {
    const float lowShare = 1.0f - filterType;
    return filterLowPass.glideTogether(
        filterHighPass, frames,
        [](const Dsp::Parameters& transition, auto& lowDesign, auto& highDesign) {
            Dsp::RBJ::Design::setupPair(lowDesign, highDesign, transition);
        },
        [&](int i, auto& low, auto& high) {
            const __m128d x = Dsp::loadStereo(left, right, i);
            float lows[2];
            float highs[2];
            Dsp::storeStereo(low.step(x), lows, lows + 1, 0);
            Dsp::storeStereo(high.step(x), highs, highs + 1, 0);
            left[i] = lowShare * lows[0] + filterType * highs[0];
            right[i] = lowShare * lows[1] + filterType * highs[1];
        });
}

// The two filters step side by side, so each one's recursion latency hides behind the other's;
// the mix runs both channels in float lanes, each computing the scalar mix.
void OutputChain::runSettledGlobalFilter(float* left, float* right, int frames, float filterType) {
    auto low = filterLowPass.stereoRunner();
    auto high = filterHighPass.stereoRunner();
    const __m128 lowShare = _mm_set1_ps(1.0f - filterType);
    const __m128 highShare = _mm_set1_ps(filterType);
    for (int i = 0; i < frames; ++i) {
        const __m128d x = _mm_cvtps_pd(Dsp::loadFrame(left, right, i));
        const __m128 lows = _mm_cvtpd_ps(low.step(x));
        const __m128 highs = _mm_cvtpd_ps(high.step(x));
        Dsp::storeFrame(_mm_add_ps(_mm_mul_ps(lowShare, lows), _mm_mul_ps(highShare, highs)), left,
                        right, i);
    }
    low.save();
    high.save();
}

void OutputChain::runDumpExpandAndClip(float* left, float* right, int frames) {
    if (!dumpHighPass.isGliding() && !dumpLowPass.isGliding()) {
        runSettledDumpExpandAndClip(left, right, frames);
        return;
    }
    float* const channels[2] = {left, right};
    dumpHighPass.process(frames, channels);
    dumpLowPass.process(frames, channels);
    for (int i = 0; i < frames; ++i) {
        left[i] = clampValue(left[i], -1.0f, 1.0f);
        right[i] = clampValue(right[i], -1.0f, 1.0f);
    }
}

// The high-pass output is rounded to the sample type before the low-pass takes it, as it is
// when the two run one after the other. The clip has no branches: near full scale the signal
// crosses the rails at random.
void OutputChain::runSettledDumpExpandAndClip(float* left, float* right, int frames) {
    auto high = dumpHighPass.stereoRunner();
    auto low = dumpLowPass.stereoRunner();
    for (int i = 0; i < frames; ++i) {
        const __m128d highOut = high.step(_mm_cvtps_pd(Dsp::loadFrame(left, right, i)));
        const __m128d rounded = _mm_cvtps_pd(_mm_cvtpd_ps(highOut));
        Dsp::storeFrame(clipFrame(_mm_cvtpd_ps(low.step(rounded))), left, right, i);
    }
    high.save();
    low.save();
}

void OutputChain::runToneBands(float* left, float* right, int frames,
                               const OutputChainControls& controls) {
    if (!bandLowPass.isGliding() && !bandBandPass.isGliding() && !bandHighPass.isGliding()) {
        runSettledToneBands(left, right, frames, controls);
        return;
    }
    float* const bass[2] = {workBuffer(0), workBuffer(1)};
    float* const mid[2] = {workBuffer(2), workBuffer(3)};
    float* const high[2] = {workBuffer(4), workBuffer(5)};
    for (float* const* band : {bass, mid, high}) {
        std::copy_n(left, frames, band[0]);
        std::copy_n(right, frames, band[1]);
    }
    bandLowPass.process(frames, bass);
    bandBandPass.process(frames, mid);
    bandHighPass.process(frames, high);
    addBand(left, right, frames, controls.bassAmount, bass);
    addBand(left, right, frames, controls.midAmount, mid);
    addBand(left, right, frames, controls.highAmount, high);
}

void OutputChain::runSettledToneBands(float* left, float* right, int frames,
                                      const OutputChainControls& controls) {
    ToneBands::runSettled(vectorPath, bandLowPass, bandBandPass, bandHighPass, left, right, frames,
                          {controls.bassAmount, controls.midAmount, controls.highAmount});
}

} // namespace Korvatune
