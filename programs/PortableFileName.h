#pragma once

#include <string>

namespace Korvatune {

// A program name made into a file or folder name that Windows, macOS and Linux all accept and
// that SFZ players read as written, so a pack rendered here unpacks and loads anywhere. Each
// character Windows refuses or an SFZ reader misreads (\ / : * ? " < > | = and control
// characters), each byte that is not part of valid UTF-8, and each leading or trailing space or
// dot becomes an underscore; a device name such as CON or LPT1 gets one appended, also before
// an extension ("CON.x" gives "CON_.x"); an empty name becomes "_". Extensions and suffixes
// may be added to the result.
std::string portableFileName(const std::string& name);

} // namespace Korvatune
