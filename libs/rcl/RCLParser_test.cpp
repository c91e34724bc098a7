#include "libs/rcl/RCLParser.h"

#include <gtest/gtest.h>

#include "libs/exception/Error.h"

namespace {

using owl::RCLObject;
using owl::RCLParser;

std::unique_ptr<RCLObject> parse(const char* text) {
    return RCLParser("t.rcl").parse(QString::fromUtf8(text));
}

std::string errorOf(const char* text) {
    try {
        parse(text);
    } catch (const owl::Error& error) {
        return error.getErrorText();
    }
    return "no error";
}

TEST(RCLParser, ReadsNestedObjectsWithTheirParametersInOrder) {
    auto root = parse(
        "# comment\n"
        "MONITOR WORKSPACE : Run\r\n"
        "  Layout = Tiled\n"
        "  MONITOR PLOT:Forces\n"
        "    Variable Rule = CATEGORY = FORCE and NAME != \"a:b\"\n"
        "    X Axis Variable = Probe: 1\n"
        "    Empty =\n"
        "  END\n"
        "  RESIDUAL MONITOR: A: B = C\n"
        "  END\n"
        "END\n");
    ASSERT_EQ(root->children.size(), 1u);
    const RCLObject& workspace = *root->children[0];
    EXPECT_EQ(workspace.type, QStringLiteral("MONITOR WORKSPACE"));
    EXPECT_EQ(workspace.name, QStringLiteral("Run"));
    EXPECT_EQ(workspace.parameters,
              (ParamMap{{QStringLiteral("Layout"), QStringLiteral("Tiled")}}));
    ASSERT_EQ(workspace.children.size(), 2u);
    const RCLObject& forces = *workspace.children[0];
    EXPECT_EQ(forces.name, QStringLiteral("Forces"));
    EXPECT_EQ(forces.parameters,
              (ParamMap{{QStringLiteral("Variable Rule"),
                         QStringLiteral("CATEGORY = FORCE and NAME != \"a:b\"")},
                        {QStringLiteral("X Axis Variable"), QStringLiteral("Probe: 1")},
                        {QStringLiteral("Empty"), QString()}}));
    EXPECT_EQ(workspace.children[1]->type, QStringLiteral("RESIDUAL MONITOR"));
    EXPECT_EQ(workspace.children[1]->name, QStringLiteral("A: B = C"));
}

TEST(RCLParser, BlocksOfTheSameObjectMergeAndLaterValuesWin) {
    auto root = parse("T: a\nX = 1\nY = 1\nEND\nT : a \nX = 2\nEND\n");
    ASSERT_EQ(root->children.size(), 1u);
    EXPECT_EQ(root->children[0]->parameters,
              (ParamMap{{QStringLiteral("X"), QStringLiteral("2")},
                        {QStringLiteral("Y"), QStringLiteral("1")}}));
}

TEST(RCLParser, QuotedValuesKeepBlanksAndEscapes) {
    auto root = parse(
        "T: a\n"
        "A = \"  two\\nlines\\t\\\"q\\\" \\\\ \"\n"
        "B = \"\"\n"
        "C = plain \"quotes\" stay\n"
        "END\n");
    const ParamMap& p = root->children[0]->parameters;
    EXPECT_EQ(p.at(QStringLiteral("A")), QStringLiteral("  two\nlines\t\"q\" \\ "));
    EXPECT_EQ(p.at(QStringLiteral("B")), QString());
    EXPECT_EQ(p.at(QStringLiteral("C")), QStringLiteral("plain \"quotes\" stay"));
}

TEST(RCLParser, ErrorsNameTheSourceTheLineAndWhatIsWrong) {
    EXPECT_EQ(errorOf("T: a\nEND\nEND\n"), "t.rcl:3: 'END' without an open object");
    EXPECT_EQ(errorOf("\nX = 1\n"), "t.rcl:2: parameter 'X' outside any object");
    EXPECT_EQ(errorOf("T: a\n = 1\nEND"), "t.rcl:2: parameter without a name");
    EXPECT_EQ(errorOf("T: a\njust words\nEND"),
              "t.rcl:2: expected 'TYPE: Name', 'Parameter = Value' or 'END', found 'just words'");
    EXPECT_EQ(errorOf(": a\n"), "t.rcl:1: object ': a' has no type");
    EXPECT_EQ(errorOf("T:\n"), "t.rcl:1: object 'T:' has no name");
    EXPECT_EQ(errorOf("T: a/b\nEND\n"),
              "t.rcl:1: object 'T: a/b': types and names cannot hold '/'");
    EXPECT_EQ(errorOf("A: x\n\nB: y\nEND\n"), "t.rcl:1: object 'A: x' has no 'END'");
    EXPECT_EQ(errorOf("T: a\nX = \"open\nEND\n"), "t.rcl:2: quoted value has no closing quote");
    EXPECT_EQ(errorOf("T: a\nX = \"a\" b\nEND\n"), "t.rcl:2: text after the closing quote");
    EXPECT_EQ(errorOf("T: a\nX = \"\\q\"\nEND\n"),
              "t.rcl:2: unknown escape in quoted value; use \\\", \\\\, \\n or \\t");
    EXPECT_EQ(errorOf("T: a\nX = \"\\"),
              "t.rcl:2: unknown escape in quoted value; use \\\", \\\\, \\n or \\t");
}

TEST(RCLParser, NestingIsLimited) {
    std::string deepest, tooDeep;
    for (size_t i = 0; i < RCLParser::maxDepth; ++i) deepest += "T: n\n";
    for (size_t i = 0; i < RCLParser::maxDepth; ++i) deepest += "END\n";
    EXPECT_NO_THROW(parse(deepest.c_str()));
    tooDeep = "T: n\n" + deepest;
    EXPECT_EQ(errorOf(tooDeep.c_str()), "t.rcl:33: objects are nested deeper than 32 levels");
}

TEST(RCLParser, ErrorsAreDataErrorsOfTheDatabase) {
    try {
        parse("END");
        FAIL();
    } catch (const owl::data::error& error) {
        EXPECT_EQ(error.getClassName(), "RCLDatabase");
        EXPECT_EQ(error.getType(), owl::errorFatal);
    }
}

}  // namespace
