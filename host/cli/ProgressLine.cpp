#include "host/cli/ProgressLine.h"

#include "host/cli/StandardError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>

namespace Korvatune {

namespace {

constexpr auto kTerminalInterval = std::chrono::milliseconds(100);

} // namespace

ProgressLine::ProgressLine(std::ostream& out, bool terminal, std::string label,
                           Clock::duration quietFor)
    : out(out), terminal(terminal), label(std::move(label)), start(Clock::now()),
      quietFor(quietFor) {}

std::string ProgressLine::textFor(double doneSeconds, double expectedSeconds) const {
    char text[96];
    if (doneSeconds < expectedSeconds) {
        std::snprintf(text, sizeof text, ": %.1f of %.1f s (%d%%)", doneSeconds, expectedSeconds,
                      static_cast<int>(100.0 * doneSeconds / expectedSeconds));
    } else {
        std::snprintf(text, sizeof text, ": %.1f s, waiting for the sound to die away",
                      doneSeconds);
    }
    return label + text;
}

void ProgressLine::update(double doneSeconds, double expectedSeconds) {
    const Clock::time_point now = Clock::now();
    if (now - start < quietFor) {
        return;
    }
    const std::string text = textFor(doneSeconds, expectedSeconds);
    if (terminal) {
        if (shownWidth > 0 && now - lastShown < kTerminalInterval) {
            return;
        }
        lastShown = now;
        const std::size_t padding = shownWidth > text.size() ? shownWidth - text.size() : 0;
        out << '\r' << text << std::string(padding, ' ') << std::flush;
        shownWidth = text.size();
        return;
    }
    const double fraction = expectedSeconds > 0.0 ? doneSeconds / expectedSeconds : 1.0;
    const int tenth = std::min(10, static_cast<int>(std::floor(10.0 * fraction)));
    if (tenth != lastTenth) {
        lastTenth = tenth;
        out << text << '\n';
    }
}

void ProgressLine::finish() {
    if (terminal && shownWidth > 0) {
        out << '\n';
        shownWidth = 0;
    }
}

bool isTerminal(const std::ostream& stream) {
    return &stream == &std::cerr && standardErrorIsTerminal();
}

} // namespace Korvatune
