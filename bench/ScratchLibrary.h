#pragma once

#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace Korvatune::bench {

namespace fs = std::filesystem;

// A library of 1000 program files in 10 folders, written once for every run and removed at exit.
class ScratchLibrary {
public:
    static constexpr int kFolders = 10;
    static constexpr int kFilesPerFolder = 100;

    ScratchLibrary() {
        std::string pattern = (fs::temp_directory_path() / "ombrafell-library-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        const VstXSynthProgram program;
        for (int f = 0; f < kFolders; ++f) {
            const fs::path sub = folder_ / ("Folder " + std::to_string(f));
            fs::create_directory(sub);
            for (int p = 0; p < kFilesPerFolder; ++p) {
                const fs::path file = sub / ("Kick " + std::to_string(p) + ".obp");
                writeProgramFile(file.c_str(), program);
            }
        }
    }
    ~ScratchLibrary() {
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    ScratchLibrary(const ScratchLibrary&) = delete;
    ScratchLibrary& operator=(const ScratchLibrary&) = delete;

    const fs::path& folder() const { return folder_; }

private:
    fs::path folder_;
};

inline const ScratchLibrary& scratchLibrary() {
    static const ScratchLibrary library;
    return library;
}

} // namespace Korvatune::bench
