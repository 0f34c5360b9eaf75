#pragma once

#include <cstdio>

namespace Korvatune {

class VstXSynthProgram;

// A program as text: a name line, then one "Key = value;" line per key. Program files carry
// the extension "obp".
inline constexpr const char* kProgramFileExtension = "obp";
inline constexpr const char* kProgramFileTypeName = "OB Program File";
inline constexpr const char* kProgramFileMimeType = "program/obp";

// Writes the program; false when path is null or the file cannot be written.
bool writeProgramFile(const char* path, const VstXSynthProgram& program);
// Reads a file into the program in place, positionally. False when the file cannot be opened or
// a read fails; errno then tells why.
bool readProgramFile(VstXSynthProgram& program, const char* path);

// The same on an open stream; false on a write or read error.
bool writeProgramStream(std::FILE* file, const VstXSynthProgram& program);
bool readProgramStream(VstXSynthProgram& program, std::FILE* file);

} // namespace Korvatune
