#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

namespace Korvatune {

// Progress of long work on a diagnostics stream: one line rewritten in place on a terminal,
// a plain line every tenth of the way otherwise. Quick work shows nothing.
class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;

    ProgressLine(std::ostream& out, bool terminal, std::string label,
                 Clock::duration quietFor = std::chrono::seconds(2));

    void update(double doneSeconds, double expectedSeconds);
    // Ends the terminal line, if one was shown.
    void finish();

private:
    std::string textFor(double doneSeconds, double expectedSeconds) const;

    std::ostream& out;
    bool terminal;
    std::string label;
    Clock::time_point start;
    Clock::duration quietFor;
    Clock::time_point lastShown;
    int lastTenth = -1;
    std::size_t shownWidth = 0;
};

// True for the process's own standard error when it is a terminal.
bool isTerminal(const std::ostream& stream);

} // namespace Korvatune
