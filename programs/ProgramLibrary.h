#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Korvatune {

// A program file or a folder of them in the user's library.
struct LibraryEntry {
    // The file's name without ".obp", or the folder's name (UTF-8).
    std::string name;
    std::filesystem::path path;
    bool isFolder = false;
    // Files: it opens and starts as a program file does (a name line, then the first key's line).
    bool readable = true;
    // Folders: their entries.
    std::vector<LibraryEntry> children;
};

// Every ".obp" file (in any case) below the folder, sub-folders as folder entries; folders
// holding no program file anywhere below are left out, and so are hidden names (a leading dot).
// Each level is sorted by name, ignoring case first, folders and files mixed. A missing folder
// gives an empty list; what cannot be listed is skipped. A symbolic link back to a folder being
// listed is skipped, and nesting stops at 16 levels.
std::vector<LibraryEntry> scanProgramLibrary(const std::filesystem::path& folder);

// The file name SAVE proposes for a program: its name made portable, with ".obp".
std::string programFileNameFor(const std::string& programName);

} // namespace Korvatune
