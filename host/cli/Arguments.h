#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Korvatune {

// A command-line mistake: reported on one line, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Walks a command's arguments; options that take a value read the following argument.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> words) : words(std::move(words)) {}

    bool done() const { return position >= words.size(); }
    const std::string& next() { return words[position++]; }
    // The value after an option; a UsageError when it is missing.
    const std::string& valueOf(const std::string& option);

private:
    std::vector<std::string> words;
    std::size_t position = 0;
};

int parseInteger(const std::string& text, const std::string& what);
float parseNumber(const std::string& text, const std::string& what);
std::optional<int> asInteger(const std::string& text);
// Whole numbers and ranges separated by commas ("36,38,41", "24-48"), each within lowest..highest;
// sorted, each once.
std::vector<int> parseNumberList(const std::string& text, int lowest, int highest,
                                 const std::string& what);

} // namespace Korvatune
