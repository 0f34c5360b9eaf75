#include "golden/GoldenPhrase.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace Korvatune {
namespace {

// Every factory program plays the golden phrase and is compared with a stored fingerprint: the
// RMS of each channel over consecutive windows. Set OMBRAFELL_UPDATE_GOLDEN=1 to rewrite the
// references after an intended change of sound.
constexpr int kPrograms = 45;
constexpr int kWindow = 2048;
constexpr double kTailSeconds = 1.0;
constexpr double kRelativeTolerance = 0.01;
constexpr double kAbsoluteTolerance = 1e-4;

using testing::Rendering;
using testing::renderPhrase;

std::vector<double> fingerprint(const Rendering& rendering) {
    std::vector<double> values;
    for (const auto* channel : {&rendering.left, &rendering.right}) {
        for (std::size_t start = 0; start + kWindow <= channel->size(); start += kWindow) {
            double sum = 0.0;
            for (std::size_t i = start; i < start + kWindow; ++i) {
                sum += static_cast<double>((*channel)[i]) * (*channel)[i];
            }
            values.push_back(std::sqrt(sum / kWindow));
        }
    }
    return values;
}

std::string referencePath(int sampleRate) {
    return testing::goldenDataPath("phrase-" + std::to_string(sampleRate) + ".txt");
}

std::vector<std::vector<double>> readReferences(const std::string& path) {
    std::vector<std::vector<double>> references;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        std::istringstream values(line);
        std::vector<double> row;
        for (double value; values >> value;) {
            row.push_back(value);
        }
        references.push_back(row);
    }
    return references;
}

void writeReferences(const std::string& path, const std::vector<std::vector<double>>& rows) {
    std::ofstream file(path);
    file.precision(9);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            file << (i ? " " : "") << row[i];
        }
        file << '\n';
    }
}

class GoldenPhrase : public ::testing::TestWithParam<int> {};

TEST_P(GoldenPhrase, EveryProgramMatchesItsReference) {
    const int sampleRate = GetParam();
    std::vector<std::vector<double>> rows;
    for (int program = 0; program < kPrograms; ++program) {
        rows.push_back(fingerprint(
            renderPhrase(program, static_cast<float>(sampleRate), testing::kGoldenPhraseSeconds)));
    }
    const std::string path = referencePath(sampleRate);
    if (testing::updatingGoldenData()) {
        writeReferences(path, rows);
        GTEST_SKIP() << "references rewritten: " << path;
    }
    const auto references = readReferences(path);
    ASSERT_EQ(references.size(), rows.size()) << "missing references in " << path;
    for (int program = 0; program < kPrograms; ++program) {
        ASSERT_EQ(references[program].size(), rows[program].size()) << "program " << program;
        for (std::size_t i = 0; i < rows[program].size(); ++i) {
            const double expected = references[program][i];
            EXPECT_NEAR(rows[program][i], expected,
                        kAbsoluteTolerance + kRelativeTolerance * std::fabs(expected))
                << "program " << program << " window " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SampleRates, GoldenPhrase, ::testing::Values(44100, 48000));

bool isDenormal(float sample) {
    return sample != 0.0f && std::fabs(sample) < FLT_MIN;
}

class ProgramProperties : public ::testing::TestWithParam<int> {};

TEST_P(ProgramProperties, FiniteNoDenormalsAndSilentAfterTheRelease) {
    const int sampleRate = GetParam();
    for (int program = 0; program < kPrograms; ++program) {
        const Rendering rendering = renderPhrase(program, static_cast<float>(sampleRate),
                                                 testing::kGoldenPhraseSeconds + kTailSeconds);
        float tailPeak = 0.0f;
        const std::size_t tailStart = rendering.left.size() - sampleRate / 10;
        for (const auto* channel : {&rendering.left, &rendering.right}) {
            for (std::size_t i = 0; i < channel->size(); ++i) {
                const float sample = (*channel)[i];
                ASSERT_TRUE(std::isfinite(sample)) << "program " << program << " frame " << i;
                ASSERT_FALSE(isDenormal(sample)) << "program " << program << " frame " << i;
                if (i >= tailStart) {
                    tailPeak = std::max(tailPeak, std::fabs(sample));
                }
            }
        }
        EXPECT_LT(tailPeak, 1e-3f) << "program " << program << " still sounds";
    }
}

INSTANTIATE_TEST_SUITE_P(SampleRates, ProgramProperties, ::testing::Values(44100, 48000));

} // namespace
} // namespace Korvatune
