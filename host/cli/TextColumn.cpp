#include "host/cli/TextColumn.h"

#include "programs/Utf8Sequence.h"

#include <vector>

namespace Korvatune {

namespace {

constexpr char kUnprintable = '?';
constexpr char kCut = '~';

// U+0080..U+009F, the C1 controls, which terminals act on like the C0 ones.
bool isC1Control(std::string_view sequence) {
    return sequence.size() == 2 && static_cast<unsigned char>(sequence[0]) == 0xC2 &&
           static_cast<unsigned char>(sequence[1]) < 0xA0;
}

bool isPrintable(std::string_view sequence) {
    if (sequence.size() == 1) {
        const auto c = static_cast<unsigned char>(sequence[0]);
        return c >= 0x20 && c != 0x7F;
    }
    return !sequence.empty() && !isC1Control(sequence);
}

// The text as one printable piece per column.
std::vector<std::string> printableCharacters(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8SequenceLength(text, at);
        const std::string_view sequence = text.substr(at, length);
        characters.emplace_back(isPrintable(sequence) ? std::string(sequence)
                                                      : std::string(1, kUnprintable));
        at += length == 0 ? 1 : length;
    }
    return characters;
}

} // namespace

std::string fittedToColumn(std::string_view text, std::size_t width) {
    std::vector<std::string> characters = printableCharacters(text);
    if (characters.size() > width) {
        characters.resize(width);
        if (width > 0) {
            characters.back() = std::string(1, kCut);
        }
    }
    std::string result;
    for (const std::string& character : characters) {
        result += character;
    }
    result.append(width - characters.size(), ' ');
    return result;
}

} // namespace Korvatune
