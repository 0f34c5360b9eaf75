#include "host/cli/TextColumn.h"

#include <gtest/gtest.h>

#include <string>

namespace Korvatune {
namespace {

TEST(TextColumn, PadsShortTextAndCutsLongTextWithATilde) {
    EXPECT_EQ(fittedToColumn("Kick", 8), "Kick    ");
    EXPECT_EQ(fittedToColumn("Kickdrum", 8), "Kickdrum");
    EXPECT_EQ(fittedToColumn("Kickdrums", 8), "Kickdru~");
    EXPECT_EQ(fittedToColumn("", 3), "   ");
    EXPECT_EQ(fittedToColumn("Kick", 0), "");
}

// One column per code point, so a name with umlauts is padded and cut like its ASCII twin.
TEST(TextColumn, CountsCodePointsNotBytes) {
    EXPECT_EQ(fittedToColumn("J\xC3\xBCrgen", 8), "J\xC3\xBCrgen  ");
    EXPECT_EQ(fittedToColumn("J\xC3\xBCrgen Kick", 8), "J\xC3\xBCrgen ~");
    EXPECT_EQ(fittedToColumn("\xE2\x82\xAC\xF0\x9F\xA5\x81", 3), "\xE2\x82\xAC\xF0\x9F\xA5\x81 ");
    // A cut never leaves half a character behind.
    EXPECT_EQ(fittedToColumn("ab\xC3\xBC\xC3\xBC", 3), "ab~");
}

// Tabs would move the following columns, newlines would break the line, and escape sequences
// would drive the terminal.
TEST(TextColumn, ShowsControlCharactersAndBrokenUtf8AsQuestionMarks) {
    EXPECT_EQ(fittedToColumn("Tab\there", 10), "Tab?here  ");
    EXPECT_EQ(fittedToColumn("a\nb\rc\x1B[2Jd\x7F", 11), "a?b?c?[2Jd?");
    EXPECT_EQ(fittedToColumn("C1 \xC2\x9B control", 12), "C1 ? control");
    EXPECT_EQ(fittedToColumn("bad \xC3 \xFF \xED\xA0\x80.", 12), "bad ? ? ???.");
    EXPECT_EQ(fittedToColumn("\xC3", 1), "?");
}

} // namespace
} // namespace Korvatune
