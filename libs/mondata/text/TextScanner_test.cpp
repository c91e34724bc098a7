#include "libs/mondata/text/TextScanner.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text the scanner reads at the start of line, or the error it gives.
std::string textOf(const std::string& line) {
    mon::TextScanner scan(line);
    std::string out, error;
    return scan.text(out, error) ? out : "error: " + error;
}

TEST(TextScanner, QuotedTextsHaveFourEscapesAndKeepEveryOtherBackslash) {
    EXPECT_EQ(textOf(R"("a\"b\\c\nd\te")"), "a\"b\\c\nd\te");
    EXPECT_EQ(textOf(R"("C:\runs")"), R"(C:\runs)");
    EXPECT_EQ(textOf(R"("\q\0\x41\u00e9\ x")"), R"(\q\0\x41\u00e9\ x)");
    EXPECT_EQ(textOf(R"("end\\" rest)"), "end\\");
    EXPECT_EQ(textOf("\"\\\xC3\xA9\""), "\\\xC3\xA9");  // a backslash before a UTF-8 letter
    EXPECT_EQ(textOf(R"(  bare\word  next)"), R"(bare\word)");
}

TEST(TextScanner, UnclosedAndCrowdedQuotesAreErrors) {
    EXPECT_EQ(textOf(R"("open)"), "error: quoted text starting at column 1 is not closed");
    EXPECT_EQ(textOf(R"(  "ends in \")"), "error: quoted text starting at column 3 is not closed");
    EXPECT_EQ(textOf(R"("ends in \)"), "error: quoted text starting at column 1 is not closed");
    EXPECT_EQ(textOf(R"("a"b)"), "error: a blank must follow the closing quote at column 3");
    EXPECT_EQ(textOf("   "), "error: missing text");
}

TEST(TextScanner, AttributesTakeTheSameTexts) {
    mon::TextScanner scan(R"(label="D:\x y" units= path=a/b)");
    std::string key, value, error;
    ASSERT_TRUE(scan.attribute(key, value, error)) << error;
    EXPECT_EQ(key + "=" + value, R"(label=D:\x y)");
    ASSERT_TRUE(scan.attribute(key, value, error)) << error;
    EXPECT_EQ(key + "=" + value, "units=");
    ASSERT_TRUE(scan.attribute(key, value, error)) << error;
    EXPECT_EQ(key + "=" + value, "path=a/b");
}

}  // namespace
