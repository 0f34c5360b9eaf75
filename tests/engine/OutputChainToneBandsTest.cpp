#include "engine/OutputChainToneBands.h"
#include "engine/OutputChain.h"
#include "tests/engine/OutputChainReference.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

namespace ToneBands = Korvatune::ToneBands;
using OutputChainTesting::Stereo;

struct BandFilters {
    BandFilters() {
        bass.setParameters({44100.0, 4, 440});
        mid.setParameters({44100.0, 4, 1000, 1777});
        high.setParameters({44100.0, 4, 2777});
    }

    // Runs the signal in blocks of the given sizes in turn, each block on the given paths in
    // turn, so that one path continues from the state another left behind.
    Stereo render(const Stereo& input, const std::vector<int>& blocks,
                  const std::vector<Dsp::VectorPath>& paths, const ToneBands::Amounts& amounts) {
        Stereo output = input;
        const int frames = static_cast<int>(input.left.size());
        std::size_t turn = 0;
        for (int start = 0; start < frames; ++turn) {
            const int block = std::min(blocks[turn % blocks.size()], frames - start);
            ToneBands::runSettled(paths[turn % paths.size()], bass, mid, high,
                                  output.left.data() + start, output.right.data() + start, block,
                                  amounts);
            start += block;
        }
        return output;
    }

    ToneBands::Bass bass;
    ToneBands::Mid mid;
    ToneBands::High high;
};

// The filters run one after the other, each band rounded and added as a plain loop adds it.
Stereo expectedBands(const Stereo& input, const ToneBands::Amounts& amounts) {
    BandFilters filters;
    Stereo bands[3] = {input, input, input};
    Dsp::Filter* const order[3] = {&filters.bass, &filters.mid, &filters.high};
    const float gains[3] = {amounts.bass, amounts.mid, amounts.high};
    Stereo output = input;
    for (int band = 0; band < 3; ++band) {
        float* const channels[2] = {bands[band].left.data(), bands[band].right.data()};
        order[band]->process(static_cast<int>(input.left.size()), channels);
    }
    for (std::size_t i = 0; i < input.left.size(); ++i) {
        for (int band = 0; band < 3; ++band) {
            if (gains[band] > 0.0f) {
                output.left[i] += gains[band] * bands[band].left[i];
                output.right[i] += gains[band] * bands[band].right[i];
            }
        }
    }
    return output;
}

const std::vector<int> kUnevenBlocks = {512, 1, 2, 77, 3, 300, 512};

// Every path this build contains and this processor runs, block by block and when paths take
// turns on the same filters, gives the bits of the bands run one after the other.
TEST(OutputChainToneBands, EveryPathGivesTheBitsOfTheBandsRunOneAfterTheOther) {
    const Stereo input = Stereo::noise(6000, 0.9f, 17);
    std::vector<Dsp::VectorPath> paths = {Dsp::VectorPath::sse2};
    if (Dsp::vectorPathAvailable(Dsp::VectorPath::avx)) {
        paths.push_back(Dsp::VectorPath::avx);
    } else {
        std::cout << "This processor has no AVX; only the SSE2 path runs.\n";
    }
    for (const ToneBands::Amounts amounts :
         {ToneBands::Amounts{0.3f, 0.3f, 0.3f}, ToneBands::Amounts{0.0f, 0.7f, -1.0f},
          ToneBands::Amounts{1.0f, 0.0f, 0.25f}}) {
        const Stereo expected = expectedBands(input, amounts);
        for (Dsp::VectorPath path : paths) {
            SCOPED_TRACE(static_cast<int>(path));
            BandFilters filters;
            const Stereo actual = filters.render(input, kUnevenBlocks, {path}, amounts);
            ASSERT_EQ(actual.left, expected.left);
            ASSERT_EQ(actual.right, expected.right);
        }
        BandFilters alternating;
        const Stereo mixed = alternating.render(input, kUnevenBlocks, paths, amounts);
        EXPECT_EQ(mixed.left, expected.left);
        EXPECT_EQ(mixed.right, expected.right);
    }
}

TEST(OutputChainToneBands, TheFastestPathIsAvailableAndAnEmptyBlockChangesNothing) {
    EXPECT_TRUE(Dsp::vectorPathAvailable(Dsp::fastestVectorPath()));
    EXPECT_TRUE(Dsp::vectorPathAvailable(Dsp::VectorPath::sse2));
    const Stereo input = Stereo::noise(1000, 0.5f, 3);
    BandFilters withEmpty;
    BandFilters without;
    const ToneBands::Amounts amounts{0.5f, 0.5f, 0.5f};
    const Stereo a = withEmpty.render(input, {0, 250}, {Dsp::fastestVectorPath()}, amounts);
    const Stereo b = without.render(input, {250}, {Dsp::fastestVectorPath()}, amounts);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}

// The whole chain on each path, through settled blocks, glides and blocks of one frame.
TEST(OutputChainToneBands, TheChainGivesTheSameBitsOnEveryPath) {
    if (!Dsp::vectorPathAvailable(Dsp::VectorPath::avx)) {
        GTEST_SKIP() << "This build or processor has only the SSE2 path.";
    }
    Korvatune::VstXSynthProgram program;
    program.setValue(Korvatune::kFilterCutoff, 0.5f);
    program.setValue(Korvatune::kFilterResonance, 0.4f);
    program.setValue(Korvatune::kDistortion, 0.6f);
    program.setValue(Korvatune::kDistortionType, 13.0f / 24.0f);
    program.setValue(Korvatune::kDumpExpand, 0.6f);
    Korvatune::OutputChain narrow(Dsp::VectorPath::sse2);
    Korvatune::OutputChain wide(Dsp::VectorPath::avx);
    narrow.selectProgram(program);
    wide.selectProgram(program);
    const Korvatune::OutputChainControls controls{0.3f, 0.4f, 0.2f, 0.5f};
    const Stereo input = Stereo::noise(2000, 0.9f, 29);
    for (int round = 0; round < 3; ++round) {
        const int blockSize = round == 1 ? 1 : 256;
        EXPECT_EQ(OutputChainTesting::render(wide, input, blockSize, controls).left,
                  OutputChainTesting::render(narrow, input, blockSize, controls).left);
        narrow.setParameter(Korvatune::kFilterCutoff, 0.2f * static_cast<float>(round));
        wide.setParameter(Korvatune::kFilterCutoff, 0.2f * static_cast<float>(round));
    }
    const Stereo last = OutputChainTesting::render(wide, input, 300, controls);
    EXPECT_EQ(last.right, OutputChainTesting::render(narrow, input, 300, controls).right);
}

} // namespace
