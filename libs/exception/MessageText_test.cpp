#include "libs/exception/MessageText.h"

#include <gtest/gtest.h>

TEST(MessageText, ControlCharactersAreEscapedEverythingElseKept) {
    EXPECT_EQ(owl::printable("run\n2.mon"), "run\\n2.mon");
    EXPECT_EQ(owl::printable("a\tb\rc"), "a\\tb\\rc");
    EXPECT_EQ(owl::printable(std::string("\0\x01\x1f\x7f", 4)), "\\x00\\x01\\x1f\\x7f");
    EXPECT_EQ(owl::printable("caf\xC3\xA9 \xE2\x82\xAC \xFF; \\n 'q' \"q\""),
              "caf\xC3\xA9 \xE2\x82\xAC \xFF; \\n 'q' \"q\"");
    EXPECT_EQ(owl::printable(""), "");
}
