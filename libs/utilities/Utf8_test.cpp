#include "libs/utilities/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/utilities/StringUtilities.h"

namespace {

using owl::StringUtilities::removeWhitespace;
using owl::StringUtilities::splitValue;
using owl::utf8::toQString;
using Pieces = std::vector<std::string>;

// The UTF-16 code units of the decoded bytes, for exact comparison.
std::vector<ushort> units(const std::string& bytes) {
    std::vector<ushort> result;
    for (QChar unit : toQString(bytes)) result.push_back(unit.unicode());
    return result;
}

const ushort kFffd = 0xFFFD;

TEST(Utf8, KeepsEveryWellFormedCharacterAByteOrderMarkIncluded) {
    EXPECT_EQ(units(std::string("\xEF\xBB\xBFy\0", 5)), (std::vector<ushort>{0xFEFF, 'y', 0}));
    EXPECT_EQ(units("\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"),
              (std::vector<ushort>{0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF}));
    EXPECT_EQ(units("\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"),
              (std::vector<ushort>{0xD800, 0xDC00, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF}));
}

// One U+FFFD per maximal subpart: the bytes that begin a well-formed sequence
// are taken together; a byte that can begin none stands alone. Truncated
// sequences, C0 and encoded surrogates: the end-to-end text tests.
TEST(Utf8, ReplacesEachMaximalIllFormedPartOnce) {
    const std::vector<std::pair<std::string, std::vector<ushort>>> cases = {
        {"\xC3", {kFffd}},                                   // lead byte alone
        {"\x80\xBF", {kFffd, kFffd}},                        // stray continuation bytes
        {"\xE0\x80\xAF", {kFffd, kFffd, kFffd}},             // overlong three-byte form
        {"\xF4\x90\x80\x80", {kFffd, kFffd, kFffd, kFffd}},  // above U+10FFFF
        {"\xF5\x80", {kFffd, kFffd}},                        // F5 begins nothing
        {"\xFF"
         "a\xE2\x82\xAC",
         {kFffd, 'a', 0x20AC}},                 // the euro sign after is intact
        {"\xE2\xE2\x82\xAC", {kFffd, 0x20AC}},  // a new lead byte ends the part
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(units(bytes), expected) << bytes;
}

TEST(Utf8, DecodeAtMovesPastTheCharacterOrTheIllFormedPart) {
    const std::string text = "a\xE2\x82\xAC\xE2\x82z";
    const std::pair<long, size_t> steps[] = {
        {'a', 1}, {0x20AC, 4}, {owl::utf8::kIllFormed, 6}, {'z', 7}};
    size_t pos = 0;
    for (const auto& [code, next] : steps) {
        EXPECT_EQ(owl::utf8::decodeAt(text, pos), code);
        EXPECT_EQ(pos, next);
    }
}

TEST(SplitValue, KeepsEveryPieceInOrder) {
    EXPECT_EQ(splitValue("", ';'), Pieces{});
    EXPECT_EQ(splitValue("A", ';'), Pieces{"A"});
    EXPECT_EQ(splitValue("B;A; C ", ';'), (Pieces{"B", "A", " C "}));
    EXPECT_EQ(splitValue("A;;B;", ';'), (Pieces{"A", "", "B", ""}));
    EXPECT_EQ(splitValue(";", ';'), (Pieces{"", ""}));
    EXPECT_EQ(splitValue("a,b;c", ','), (Pieces{"a", "b;c"}));
}

TEST(RemoveWhitespace, StripsOnlyTheEnds) {
    EXPECT_EQ(removeWhitespace("  ACCUMULATED TIMESTEP \t"), "ACCUMULATED TIMESTEP");
    EXPECT_EQ(removeWhitespace("\r\n\v\fA  B\f\v\n\r"), "A  B");
    EXPECT_EQ(removeWhitespace(" \t "), "");
    EXPECT_EQ(removeWhitespace(""), "");
    EXPECT_EQ(removeWhitespace("x"), "x");
    EXPECT_EQ(removeWhitespace(std::string("\0 a", 3)), std::string("\0 a", 3));
}

}  // namespace
