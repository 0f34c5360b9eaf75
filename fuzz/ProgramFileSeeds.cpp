// Writes every factory program and a fresh record as program files into a folder: the seed
// corpus of the program file fuzzer.
#include "programs/FactoryBank.h"
#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    using namespace Korvatune;
    if (argc != 2) {
        std::fprintf(stderr, "usage: program_file_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto bank = std::make_unique<std::array<VstXSynthProgram, kNumPrograms>>();
    loadFactoryBank(*bank);
    bool written = writeProgramFile((folder + "/fresh.obp").c_str(), VstXSynthProgram());
    for (int k = 0; k < kNumPrograms; ++k) {
        const std::string path = folder + "/factory-" + std::to_string(k) + ".obp";
        written = writeProgramFile(path.c_str(), (*bank)[k]) && written;
    }
    if (!written) {
        std::fprintf(stderr, "program_file_seeds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
