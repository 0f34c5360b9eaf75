#include "golden/GoldenPhrase.h"
#include "programs/ProgramKeys.h"

#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

// The sound is the same bits on every platform: each render below is reduced to a 64-bit digest
// of its samples' bits and compared with one committed list, which the Linux build, the 32-bit
// Linux build and both Windows modules must all match. OMBRAFELL_UPDATE_GOLDEN=1 rewrites it.
constexpr int kPrograms = 45;
constexpr int kRates[] = {44100, 48000};

struct ExactCase {
    std::string name;
    int program;
    std::vector<testing::ParameterMove> moves;
};

// All three oscillators heard, each with its modulator on ring mix, cutoff and pitch.
std::vector<testing::ParameterMove> modulatorMoves() {
    std::vector<testing::ParameterMove> moves;
    const float rates[] = {0.6f, 0.3f, 0.95f};
    for (int oscillator = 0; oscillator < 3; ++oscillator) {
        const int keys = oscillator * kKeysPerOscillator;
        moves.push_back({0.0, keys + kOscVolume, 0.7f});
        moves.push_back({0.0, keys + kOscModFrequency, rates[oscillator]});
        moves.push_back({0.0, keys + kOscRingModAmount, 0.8f});
        moves.push_back({0.0, keys + kOscFreqModAmount, 0.5f});
        moves.push_back({0.0, keys + kOscFiltModAmount, 0.7f});
        moves.push_back({0.0, keys + kOscSat, 0.4f});
        moves.push_back({0.0, keys + kOscFilterResonance, 0.5f});
    }
    return moves;
}

// Cutoff and dump/expand moved while notes sound: the block filters redesign every sample of
// their glides.
std::vector<testing::ParameterMove> glideMoves() {
    return {{0.0, kFilterResonance, 0.6f}, {0.2, kFilterCutoff, 0.25f}, {0.5, kFilterCutoff, 0.8f},
            {0.3, kDumpExpand, 0.2f},      {0.6, kDumpExpand, 0.85f},   {0.4, kFilterType, 0.7f}};
}

// A resonant global filter drives the shaper beyond full scale, where the tables wrap and the
// cosine curves turn over many times.
std::vector<testing::ParameterMove> distortionMoves(int type) {
    return {{0.0, kFilterResonance, 0.8f},
            {0.0, kFilterCutoff, 0.35f},
            {0.0, kDistortion, 0.55f},
            {0.0, kDistortionType, static_cast<float>(type) / (kNumDistortionTypes - 1)}};
}

std::vector<ExactCase> exactCases() {
    std::vector<ExactCase> cases;
    for (int program = 0; program < kPrograms; ++program) {
        cases.push_back({"program-" + std::to_string(program), program, {}});
    }
    cases.push_back({"modulators", 0, modulatorMoves()});
    cases.push_back({"ring-modulation",
                     0,
                     {{0.0, kRingModulationAmount, 0.8f}, {0.0, kRingModulationFrequency, 0.3f}}});
    cases.push_back({"rate-reduction", 0, {{0.0, kSampleRate, 0.55f}}});
    cases.push_back({"quantisation", 0, {{0.0, kQuantization, 0.35f}}});
    cases.push_back({"glides", 25, glideMoves()});
    for (int type = 0; type < kNumDistortionTypes; ++type) {
        cases.push_back({"distortion-" + std::to_string(type), 0, distortionMoves(type)});
    }
    return cases;
}

// FNV-1a over the bits of every left sample, then every right one.
std::uint64_t digestOf(const testing::Rendering& rendering) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const auto* channel : {&rendering.left, &rendering.right}) {
        for (float sample : *channel) {
            std::uint32_t bits = std::bit_cast<std::uint32_t>(sample);
            for (int byte = 0; byte < 4; ++byte) {
                hash = (hash ^ (bits & 0xFFu)) * 1099511628211ull;
                bits >>= 8;
            }
        }
    }
    return hash;
}

std::string keyOf(const std::string& name, int rate) {
    return name + " " + std::to_string(rate);
}

std::string hexOf(std::uint64_t digest) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, digest);
    return text;
}

std::map<std::string, std::string> readDigests(const std::string& path) {
    std::map<std::string, std::string> digests;
    std::ifstream file(path);
    std::string name;
    int rate = 0;
    std::string digest;
    while (file >> name >> rate >> digest) {
        digests[keyOf(name, rate)] = digest;
    }
    return digests;
}

TEST(ExactDigests, EveryRenderHasTheCommittedBits) {
    const std::string path = testing::goldenDataPath("exact-digests.txt");
    const std::map<std::string, std::string> expected = readDigests(path);
    std::ostringstream rewritten;
    int compared = 0;
    for (const ExactCase& exact : exactCases()) {
        for (int rate : kRates) {
            const std::string digest =
                hexOf(digestOf(testing::renderPhrase(exact.program, static_cast<float>(rate),
                                                     testing::kGoldenPhraseSeconds, exact.moves)));
            rewritten << exact.name << ' ' << rate << ' ' << digest << '\n';
            const auto found = expected.find(keyOf(exact.name, rate));
            if (testing::updatingGoldenData()) {
                continue;
            }
            ++compared;
            EXPECT_TRUE(found != expected.end() && found->second == digest)
                << exact.name << " at " << rate << " Hz gives " << digest << ", the list says "
                << (found != expected.end() ? found->second : "nothing") << " (" << path << ")";
        }
    }
    if (testing::updatingGoldenData()) {
        std::ofstream(path) << rewritten.str();
        GTEST_SKIP() << "digests rewritten: " << path;
    }
    EXPECT_EQ(compared, static_cast<int>(expected.size())) << "the list has other renders";
}

} // namespace
} // namespace Korvatune
