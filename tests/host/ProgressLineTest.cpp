#include "host/cli/ProgressLine.h"

#include "support/CommandLineRun.h"

#include <gtest/gtest.h>

#include <sstream>

namespace Korvatune {
namespace {

TEST(ProgressLine, PlainStreamsGetALineEveryTenthOfTheWay) {
    std::ostringstream out;
    ProgressLine progress(out, false, "rendering a.mid", std::chrono::seconds(0));
    for (int step = 1; step <= 200; ++step) {
        progress.update(step * 0.1, 20.0);
    }
    progress.update(20.5, 20.0);
    progress.finish();
    const auto lines = testing::linesOf(out.str());
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "rendering a.mid: 0.1 of 20.0 s (0%)");
    EXPECT_EQ(lines[1], "rendering a.mid: 2.0 of 20.0 s (10%)");
    EXPECT_EQ(lines[9], "rendering a.mid: 18.0 of 20.0 s (90%)");
    EXPECT_EQ(lines[10], "rendering a.mid: 20.0 s, waiting for the sound to die away");
}

TEST(ProgressLine, TerminalsGetOneLineRewrittenInPlace) {
    std::ostringstream out;
    ProgressLine progress(out, true, "r", std::chrono::seconds(0));
    progress.update(10.0, 20.0);
    progress.finish();
    EXPECT_EQ(out.str(), "\rr: 10.0 of 20.0 s (50%)\n");
}

TEST(ProgressLine, QuickWorkShowsNothing) {
    std::ostringstream out;
    ProgressLine progress(out, true, "r");
    progress.update(10.0, 20.0);
    progress.finish();
    EXPECT_TRUE(out.str().empty());
    EXPECT_FALSE(isTerminal(out));
}

} // namespace
} // namespace Korvatune
