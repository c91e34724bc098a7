#include "libs/rcl/RCLParser.h"

#include <gtest/gtest.h>

#include "libs/rcl/RCLPath.h"
#include "tests/CommandRunner.h"

namespace {

using owl::RCLObject;
using owl::RCLParser;

std::unique_ptr<RCLObject> parse(const char* text) {
    return RCLParser("t.rcl").parse(QString::fromUtf8(text));
}

std::string errorOf(const char* text) {
    return e2e::errorOf([&] { parse(text); });
}

// The parsed tree as text: "TYPE: NAME {PARAMETER=VALUE; ... CHILD ...}".
std::string describe(const RCLObject& object) {
    std::string text = object.type.toStdString() + ": " + object.name.toStdString() + " {";
    for (const auto& [key, value] : object.parameters)
        text += key.toStdString() + "=" + value.toStdString() + "; ";
    for (const auto& child : object.children) text += describe(*child) + " ";
    return text + "}";
}

TEST(RCLParser, ReadsNestedObjectsWithTheirParameters) {
    const std::pair<const char*, const char*> cases[] = {
        {"# comment\n"
         "MONITOR WORKSPACE : Run\r\n"
         "  Layout = Tiled\n"
         "  MONITOR PLOT:Forces\n"
         "    Variable Rule = CATEGORY = FORCE and NAME != \"a:b\"\n"
         "    X Axis Variable = Probe: 1\n"
         "    Empty =\n"
         "  END\n"
         "  RESIDUAL MONITOR: A: B = C\n"
         "  END\n"
         "END\n",
         ":  {MONITOR WORKSPACE: Run {Layout=Tiled; MONITOR PLOT: Forces {Empty=; Variable "
         "Rule=CATEGORY = FORCE and NAME != \"a:b\"; X Axis Variable=Probe: 1; } RESIDUAL "
         "MONITOR: A: B = C {} } }"},
        // Blocks of the same object merge, and later values win.
        {"T: a\nX = 1\nY = 1\nEND\nT : a \nX = 2\nEND\n", ":  {T: a {X=2; Y=1; } }"},
        // Quoted values keep blanks and escapes; other quotes stay.
        {"T: a\nA = \"  two\\nlines\\t\\\"q\\\" \\\\ \"\nB = \"\"\nC = plain \"quotes\" "
         "stay\nEND\n",
         ":  {T: a {A=  two\nlines\t\"q\" \\ ; B=; C=plain \"quotes\" stay; } }"},
    };
    for (const auto& [text, tree] : cases) EXPECT_EQ(describe(*parse(text)), tree) << text;
}

TEST(RCLParser, ErrorsNameTheSourceTheLineAndWhatIsWrong) {
    const std::string badEscape = "unknown escape in quoted value; use \\\", \\\\, \\n or \\t";
    const std::pair<const char*, std::string> cases[] = {
        {"T: a\nEND\nEND\n", "3: 'END' without an open object"},
        {"\nX = 1\n", "2: parameter 'X' outside any object"},
        {"T: a\n = 1\nEND", "2: parameter without a name"},
        {"T: a\njust words\nEND",
         "2: expected 'TYPE: Name', 'Parameter = Value' or 'END', found 'just words'"},
        {": a\n", "1: object ': a' has no type"},
        {"T:\n", "1: object 'T:' has no name"},
        {"T: a/b\nEND\n", "1: object 'T: a/b': types and names cannot hold '/'"},
        {"A: x\n\nB: y\nEND\n", "1: object 'A: x' has no 'END'"},
        {"T: a\nX = \"open\nEND\n", "2: quoted value has no closing quote"},
        {"T: a\nX = \"a\" b\nEND\n", "2: text after the closing quote"},
        {"T: a\nX = \"\\q\"\nEND\n", "2: " + badEscape},
        {"T: a\nX = \"\\", "2: " + badEscape},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(errorOf(text), "t.rcl:" + message) << text;
}

TEST(RCLParser, NestingIsLimited) {
    std::string text;
    for (size_t i = 0; i <= RCLParser::maxDepth; ++i) text = "T: n\n" + text + "END\n";
    EXPECT_EQ(errorOf(text.c_str()), "t.rcl:33: objects are nested deeper than 32 levels");
    EXPECT_EQ(errorOf(text.substr(5, text.size() - 9).c_str()), "");
}

// The steps of an object path as "type|name;" and, after "->", the last name.
std::string pathSteps(const char* text) {
    const owl::RCLPath path(text);
    std::string out;
    for (const auto& step : path.getSteps()) out += step.type + "|" + step.name + ";";
    return out + "->" + path.getLastName();
}

TEST(RCLPath, StepsSplitAtSlashesAndTheFirstColon) {
    const std::pair<const char*, const char*> cases[] = {
        {" A B : x /C:y:z/ plain ", "A B|x;C|y:z;|plain;->plain"},
        {"MONITOR WORKSPACE : Run", "MONITOR WORKSPACE|Run;->Run"},
        {"/T: a//", "T|a;->a"},
        {"/", "->"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(pathSteps(text), expected) << text;
}

}  // namespace
