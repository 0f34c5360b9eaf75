#pragma once

namespace Korvatune {

class VstXSynthProgram;

// A program as text: a name line, then one "Key = value;" line per key. Program files carry
// the extension "obp".
inline constexpr const char* kProgramFileExtension = "obp";
inline constexpr const char* kProgramFileTypeName = "OB Program File";
inline constexpr const char* kProgramFileMimeType = "program/obp";

// Writes the program; false when path is null or the file cannot be written.
bool writeProgramFile(const char* path, const VstXSynthProgram& program);
// Reads a file into the program in place, positionally; false when the file cannot be opened.
bool readProgramFile(VstXSynthProgram& program, const char* path);

} // namespace Korvatune
