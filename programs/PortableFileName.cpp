#include "programs/PortableFileName.h"

#include "programs/Utf8Sequence.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace Korvatune {

namespace {

constexpr char kReplacement = '_';
constexpr std::string_view kRefused = "\\/:*?\"<>|=";

bool isRefused(unsigned char c) {
    return c < 0x20 || c == 0x7F || kRefused.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string replaceRefusedCharacters(std::string_view name) {
    std::string result;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = utf8SequenceLength(name, at);
        if (length == 0 || (length == 1 && isRefused(static_cast<unsigned char>(name[at])))) {
            result += kReplacement;
            ++at;
        } else {
            result.append(name.substr(at, length));
            at += length;
        }
    }
    return result;
}

// Windows drops them when it stores a name, and a leading dot hides a file elsewhere.
void replaceOuterSpacesAndDots(std::string& name) {
    const auto isOuter = [](char c) { return c == ' ' || c == '.'; };
    for (auto it = name.begin(); it != name.end() && isOuter(*it); ++it) {
        *it = kReplacement;
    }
    for (auto it = name.rbegin(); it != name.rend() && isOuter(*it); ++it) {
        *it = kReplacement;
    }
}

bool equalsIgnoringCase(std::string_view text, std::string_view upperCase) {
    return std::equal(
        text.begin(), text.end(), upperCase.begin(), upperCase.end(),
        [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

bool isDeviceName(std::string_view stem) {
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (equalsIgnoringCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() < 4 || !(equalsIgnoringCase(stem.substr(0, 3), "COM") ||
                             equalsIgnoringCase(stem.substr(0, 3), "LPT"))) {
        return false;
    }
    const std::string_view port = stem.substr(3);
    constexpr std::array<std::string_view, 3> kSuperscriptDigits = {"\xC2\xB9", "\xC2\xB2",
                                                                    "\xC2\xB3"};
    return (port.size() == 1 && std::isdigit(static_cast<unsigned char>(port[0]))) ||
           std::find(kSuperscriptDigits.begin(), kSuperscriptDigits.end(), port) !=
               kSuperscriptDigits.end();
}

// Windows opens the device instead of a file for "CON", "con.sfz" and "CON .wav" alike.
void escapeDeviceName(std::string& name) {
    const std::string_view stem = std::string_view(name).substr(0, name.find('.'));
    const std::size_t end = stem.find_last_not_of(' ') + 1;
    if (isDeviceName(stem.substr(0, end))) {
        name.insert(end, 1, kReplacement);
    }
}

} // namespace

std::string portableFileName(const std::string& name) {
    std::string result = replaceRefusedCharacters(name);
    replaceOuterSpacesAndDots(result);
    escapeDeviceName(result);
    return result.empty() ? std::string(1, kReplacement) : result;
}

} // namespace Korvatune
