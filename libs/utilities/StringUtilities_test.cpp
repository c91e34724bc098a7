#include "libs/utilities/StringUtilities.h"

#include <gtest/gtest.h>

using owl::StringUtilities::removeWhitespace;
using owl::StringUtilities::splitValue;
using Pieces = std::vector<std::string>;

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
