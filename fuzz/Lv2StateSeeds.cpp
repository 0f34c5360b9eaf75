// Writes LV2 states as the instrument saves them into a folder: the seed corpus of the state
// fuzzer. One holds the program name and all ten user waveforms, one only the name.
#include "Lv2StateRecords.h"
#include "plugin/UserWaveformCodec.h"
#include "waveforms/WaveformProvider.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

bool writeSeed(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

std::vector<std::uint8_t> nameRecord() {
    const std::string name = "KV Bassdrum";
    return Korvatune::Lv2::encodeRecord(0, 0, {name.begin(), name.end() + 1});
}

} // namespace

int main(int argc, char** argv) {
    using namespace Korvatune;
    if (argc != 2) {
        std::fprintf(stderr, "usage: lv2_state_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto provider = std::make_unique<WaveformProvider>();
    provider->setFolder(folder.c_str());
    provider->build();
    std::vector<std::uint8_t> saved = nameRecord();
    for (int slot = 0; slot < WaveformProvider::kNumUserWaveforms; ++slot) {
        const float* table = provider->getTableAt(WaveformProvider::kFirstUserWaveform + slot);
        const auto record = Lv2::encodeRecord(
            static_cast<std::uint8_t>(slot + 1), 1,
            encodeUserWaveform(std::span<const float, WaveformProvider::kTableSize>(
                table, WaveformProvider::kTableSize)));
        saved.insert(saved.end(), record.begin(), record.end());
    }
    if (!writeSeed(folder + "/saved.state", saved) ||
        !writeSeed(folder + "/name-only.state", nameRecord())) {
        std::fprintf(stderr, "lv2_state_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
