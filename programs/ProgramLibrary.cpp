#include "programs/ProgramLibrary.h"

#include "platform/TextPaths.h"
#include "programs/PortableFileName.h"
#include "programs/ProgramFile.h"
#include "programs/ProgramKeys.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <tuple>

namespace Korvatune {

namespace {

namespace fs = std::filesystem;

constexpr int kDeepestLevel = 16;
// The reader takes lines in pieces of this size; a start longer than that is no program file.
constexpr int kLineSize = 1024;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), lowerAscii);
    return text;
}

bool hasProgramExtension(const fs::path& path) {
    return lowerCase(Platform::pathToUtf8(path.extension())) ==
           std::string(".") + kProgramFileExtension;
}

bool isKeyLine(const char* line, const char* key) {
    const char* found = std::strstr(line, key);
    const char* equals = std::strchr(line, '=');
    return found != nullptr && equals != nullptr && std::strchr(equals, ';') != nullptr;
}

// The start readProgramFile needs, without reading further: a file that is not a program file
// reads as the factory's sound without a word, which a user would call unreadable.
bool startsAsProgramFile(const fs::path& path) {
    std::FILE* file = Platform::openFile(Platform::pathToUtf8(path).c_str(), "r");
    if (file == nullptr) {
        return false;
    }
    std::array<char, kLineSize> nameLine{};
    std::array<char, kLineSize> keyLine{};
    const bool started = std::fgets(nameLine.data(), kLineSize, file) != nullptr &&
                         std::fgets(keyLine.data(), kLineSize, file) != nullptr &&
                         std::strstr(nameLine.data(), "Name") != nullptr &&
                         std::strchr(nameLine.data(), '=') != nullptr &&
                         isKeyLine(keyLine.data(), kProgramKeys[0].text);
    std::fclose(file);
    return started;
}

void sortByName(std::vector<LibraryEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const LibraryEntry& a, const LibraryEntry& b) {
        return std::forward_as_tuple(lowerCase(a.name), a.name) <
               std::forward_as_tuple(lowerCase(b.name), b.name);
    });
}

class LibraryScan {
public:
    std::vector<LibraryEntry> folderEntries(const fs::path& folder, int level) {
        std::error_code error;
        const fs::path canonical = fs::canonical(folder, error);
        if (error || level > kDeepestLevel ||
            std::find(listing.begin(), listing.end(), canonical) != listing.end()) {
            return {};
        }
        listing.push_back(canonical);
        std::vector<LibraryEntry> entries = listedEntries(folder, level);
        listing.pop_back();
        sortByName(entries);
        return entries;
    }

private:
    std::vector<LibraryEntry> listedEntries(const fs::path& folder, int level) {
        std::vector<LibraryEntry> entries;
        std::error_code error;
        for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
             it.increment(error)) {
            addEntry(entries, it->path(), level);
        }
        return entries;
    }

    void addEntry(std::vector<LibraryEntry>& entries, const fs::path& path, int level) {
        const std::string name = Platform::pathToUtf8(path.filename());
        if (name.empty() || name.front() == '.') {
            return;
        }
        std::error_code error;
        if (fs::is_directory(path, error)) {
            addFolder(entries, path, name, level);
        } else if (hasProgramExtension(path)) {
            entries.push_back(fileEntry(path));
        }
    }

    void addFolder(std::vector<LibraryEntry>& entries, const fs::path& path,
                   const std::string& name, int level) {
        std::vector<LibraryEntry> children = folderEntries(path, level + 1);
        if (!children.empty()) {
            entries.push_back(LibraryEntry{name, path, true, true, std::move(children)});
        }
    }

    // A dangling link or anything but a regular file is shown, but never opened: opening a
    // named pipe would wait for a writer.
    static LibraryEntry fileEntry(const fs::path& path) {
        std::error_code error;
        const bool regular = fs::is_regular_file(path, error);
        return LibraryEntry{Platform::pathToUtf8(path.stem()),
                            path,
                            false,
                            regular && startsAsProgramFile(path),
                            {}};
    }

    // The chain of folders being listed, to recognise a link back into it.
    std::vector<fs::path> listing;
};

} // namespace

std::vector<LibraryEntry> scanProgramLibrary(const fs::path& folder) {
    return LibraryScan().folderEntries(folder, 0);
}

std::string programFileNameFor(const std::string& programName) {
    return portableFileName(programName) + "." + kProgramFileExtension;
}

} // namespace Korvatune
