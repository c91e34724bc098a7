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

TEST(TextScanner, QuotedTextsHaveFourEscapesAndErrorsSayWhere) {
    const std::pair<const char*, const char*> cases[] = {
        {R"("a\"b\\c\nd\te")", "a\"b\\c\nd\te"},
        {R"("\q\0\x41\u00e9\ x")", R"(\q\0\x41\u00e9\ x)"},  // other backslashes stay
        {R"("end\\" rest)", "end\\"},
        {"\"\\\xC3\xA9\"", "\\\xC3\xA9"},  // a backslash before a UTF-8 letter
        {R"(  bare\word  next)", R"(bare\word)"},
        {R"(  "ends in \")", "error: quoted text starting at column 3 is not closed"},
        {R"("ends in \)", "error: quoted text starting at column 1 is not closed"},
        {R"("a"b)", "error: a blank must follow the closing quote at column 3"},
        {"   ", "error: missing text"}};
    for (const auto& [line, expected] : cases) EXPECT_EQ(textOf(line), expected) << line;
}

TEST(TextScanner, AttributesTakeTheSameTexts) {
    mon::TextScanner scan(R"(label="D:\x y" units= path=a/b)");
    std::string key, value, error;
    for (const char* expected : {R"(label=D:\x y)", "units=", "path=a/b"}) {
        ASSERT_TRUE(scan.attribute(key, value, error)) << error;
        EXPECT_EQ(key + "=" + value, expected);
    }
}

}  // namespace
