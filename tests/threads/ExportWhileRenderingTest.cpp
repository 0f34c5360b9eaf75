#include "editor/SoundExport.h"
#include "plugin/VstXSynth.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace Korvatune {
namespace {

// The editor exports while the host's audio thread plays notes and the host automates a value:
// the export reads the running instrument's values, name and tables while they are in use.
// Built with ThreadSanitizer this proves it reads them without a race.
TEST(Concurrency, ExportWhileRendering) {
    testing::SynthDriver synth;
    VstXSynth& instrument = *static_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get()));
    std::string folder =
        (std::filesystem::temp_directory_path() / "ombrafell-export-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int block = 0; !done.load(); ++block) {
            if (block % 40 == 0) {
                synth.noteOn(36 + block % 12);
                synth->setParameter(synth.get(), kFilterCutoff, static_cast<float>(block % 7) / 7);
            }
            synth.render(256);
        }
    });
    for (int round = 0; round < 3; ++round) {
        const ExportResult result =
            exportSound(instrument, std::filesystem::path(folder) / "export.wav", 22050.0);
        EXPECT_TRUE(result.ok) << result.error;
    }
    done = true;
    audio.join();
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace Korvatune
