// The variable-rule language: selection, precedence, globs, quoting, absent
// attributes and every error message.

#include "libs/mondata/rules/RuleParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/model/VariableLabels.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "libs/mondata/rules/RuleTestVariables.h"

namespace {

using mon::variable;

// A small run: residuals of two equations, an imbalance, a probe, TIME.
const std::vector<mon::VariableInfo>& run() {
    static const std::vector<mon::VariableInfo> variables = {
        variable(
            "RMS P-Mass",
            {{"category", "RESIDUAL"}, {"subcategory", "RMS"}, {"group", "Momentum and Mass"}}),
        variable(
            "MAX P-Mass",
            {{"category", "RESIDUAL"}, {"subcategory", "MAX"}, {"group", "Momentum and Mass"}}),
        variable(
            "RMS W-Mom",
            {{"category", "RESIDUAL"}, {"subcategory", "RMS"}, {"group", "Momentum and Mass"}}),
        variable(
            "MAX W-Mom",
            {{"category", "RESIDUAL"}, {"subcategory", "MAX"}, {"group", "Momentum and Mass"}}),
        variable("Imbalance P-Mass", {{"category", "IMBALANCE"}, {"group", "Momentum"}}),
        variable("P1 Pressure",
                 {{"category", "MONITOR"}, {"label", "Probe 1 pressure"}, {"units", "Pa"}}),
        variable("TIME", {{"category", "TIME"}}),
    };
    return variables;
}

// The names of the run's variables that the rule selects, in run order,
// joined by '|'.
std::string selected(const char* ruleText) {
    auto rule = mon::parseRule(QString::fromUtf8(ruleText));
    std::string names;
    for (const auto& info : run()) {
        const QString label = mon::preferredLabelOf(&info, info.name);
        if (!rule || rule->matches(mon::RuleSubject{info.name, label, &info}))
            names += (names.empty() ? "" : "|") + info.name.toStdString();
    }
    return names;
}

// Whether the rule matches a free-standing variable of that name.
bool matchesName(const char* ruleText, const QString& name) {
    return MonVariableRule(QString::fromUtf8(ruleText)).match(MonVariable(name, nullptr));
}
bool matchesName(const char* ruleText, const char* name) {
    return matchesName(ruleText, QString::fromUtf8(name));
}

std::string ruleError(const QString& ruleText) {
    try {
        MonVariableRule rule(ruleText);
    } catch (const owl::Error& e) {
        return e.getErrorText();
    }
    return "(no error)";
}
std::string ruleError(const char* ruleText) {
    return ruleError(QString::fromUtf8(ruleText));
}

TEST(VariableRule, SelectsWhatTheDocumentedExamplesSay) {
    EXPECT_EQ(selected("SUBCATEGORY = MAX"), "MAX P-Mass|MAX W-Mom");
    EXPECT_EQ(selected("CATEGORY = RESIDUAL and SUBCATEGORY = RMS"), "RMS P-Mass|RMS W-Mom");
    EXPECT_EQ(selected("NAME = P*"), "P1 Pressure");
    EXPECT_EQ(selected("GROUP = \"Momentum and Mass\""),
              "RMS P-Mass|MAX P-Mass|RMS W-Mom|MAX W-Mom");
    EXPECT_EQ(selected("not CATEGORY = RESIDUAL"), "Imbalance P-Mass|P1 Pressure|TIME");
    EXPECT_EQ(selected("(CATEGORY = RESIDUAL or CATEGORY = IMBALANCE) and NAME != *W-Mom*"),
              "RMS P-Mass|MAX P-Mass|Imbalance P-Mass");
}

TEST(VariableRule, NotBindsTighterThanAndWhichBindsTighterThanOr) {
    EXPECT_EQ(selected("CATEGORY = IMBALANCE or CATEGORY = RESIDUAL and SUBCATEGORY = MAX"),
              "MAX P-Mass|MAX W-Mom|Imbalance P-Mass");
    EXPECT_EQ(selected("SUBCATEGORY = MAX and CATEGORY = RESIDUAL or CATEGORY = TIME"),
              "MAX P-Mass|MAX W-Mom|TIME");
    EXPECT_EQ(selected("not CATEGORY = RESIDUAL and NAME = *P*"), "Imbalance P-Mass|P1 Pressure");
    EXPECT_EQ(selected("not (CATEGORY = RESIDUAL and NAME = *P*)"),
              "RMS W-Mom|MAX W-Mom|Imbalance P-Mass|P1 Pressure|TIME");
    EXPECT_EQ(selected("not not CATEGORY = TIME"), "TIME");
    EXPECT_EQ(selected("((NAME = TIME))"), "TIME");
}

TEST(VariableRule, KeywordsAndAttributeNamesIgnoreCaseButValuesDoNot) {
    EXPECT_EQ(selected("Category = RESIDUAL AND subcategory = MAX"), "MAX P-Mass|MAX W-Mom");
    EXPECT_EQ(selected("NOT category = RESIDUAL Or Name = RMS*"),
              "RMS P-Mass|RMS W-Mom|Imbalance P-Mass|P1 Pressure|TIME");
    EXPECT_EQ(selected("CATEGORY = residual"), "");
    EXPECT_EQ(selected("NAME = rms*"), "");
}

TEST(VariableRule, LabelIsThePreferredLabelAndAbsentAttributesAreEmpty) {
    EXPECT_EQ(selected("LABEL = \"Probe 1*\""), "P1 Pressure");
    EXPECT_EQ(selected("LABEL = 'Simulation Time'"), "TIME");
    EXPECT_EQ(selected("UNITS = Pa"), "P1 Pressure");
    EXPECT_EQ(selected("SUBCATEGORY = \"\" and GROUP != \"\""), "Imbalance P-Mass");
    EXPECT_EQ(selected("SUBCATEGORY != MAX and SUBCATEGORY != RMS"),
              "Imbalance P-Mass|P1 Pressure|TIME");
    EXPECT_EQ(selected("SUBCATEGORY = ?*"), "RMS P-Mass|MAX P-Mass|RMS W-Mom|MAX W-Mom");
    EXPECT_EQ(selected("NO-SUCH_key = *"), selected(""));
}

TEST(VariableRule, BlankRuleMatchesEveryVariable) {
    EXPECT_EQ(selected(""),
              "RMS P-Mass|MAX P-Mass|RMS W-Mom|MAX W-Mom|Imbalance P-Mass|P1 Pressure|TIME");
    for (const char* blank : {"", "   ", "\t\r\n "})
        EXPECT_TRUE(matchesName(blank, "anything")) << blank;
}

TEST(VariableRule, GlobsQuotesEscapesAndBlanks) {
    struct Case {
        const char* rule;
        const char* name;
        bool matches;
    };
    // clang-format off
    const Case cases[] = {
        {"NAME = a*c", "abbc", true}, {"NAME = a*c", "abcd", false}, {"NAME = a*c", "xabc", false},
        {"NAME = a?c", "abc", true}, {"NAME = a?c", "ac", false}, {"NAME = a?c", "abbc", false},
        {"NAME = *ab", "aab", true}, {"NAME = *ab", "aba", false}, {"NAME = *ab*c", "aabxc", true},
        {"NAME = *ab*c", "aabcx", false}, {"NAME = *a*a*", "banana", true},
        {"NAME = *a*a*", "band", false}, {"NAME = **", "", true}, {"NAME = ab", "abc", false},
        {"NAME = [x]", "[x]", true}, {"NAME = \"RMS *\"", "RMS P-Mass", true},
        {"NAME = 'say \"hi\"'", "say \"hi\"", true}, {"NAME = \"a\\\"b\"", "a\"b", true},
        {"NAME = Kelvin's", "Kelvin's", true}, {"NAME = a\\*c", "a*c", true},
        {"NAME = a\\*c", "abc", false}, {"NAME = \"a\\?\"", "ab", false},
        {"NAME = RMS\\ P-Mass", "RMS P-Mass", true}, {"NAME = C:\\\\dir", "C:\\dir", true},
        {"NAME = f\\(x\\)", "f(x)", true}, {"NAME = \"f(x) = 1\"", "f(x) = 1", true},
        {"NAME = a=b", "a=b", true}, {"NAME = \\=x", "=x", true}, {"NAME = \"\"", "", true},
        {"NAME!=x", "y", true}, {"(NAME=x)or(NAME=y)", "y", true}, {"not(NAME=x)", "y", true},
        {"\tNAME\n=\r\nx  ", "x", true}, {"NAME\v=\fx", "x", true},
        {"nothing = \"\"", "x", true},  // 'not' only as a whole word
        {"LABEL = \"Simulation Time\" and NAME = TIME", "TIME", true},  // free-standing
        {"LABEL = \"Accumulated Time Step\"", "ACCUMULATED TIMESTEP", true},
        {"CATEGORY = RESIDUAL", "RMS P-Mass", false}};
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(matchesName(c.rule, c.name), c.matches) << c.rule;
}

TEST(VariableRule, QuickPatternShapesAgreeWithTheGeneralWalk) {
    const char* patterns[] = {"",    "ab",  "ab*",   "*ab", "*ab*", "*",
                              "***", "a**", "**a**", "a*b", "?"};
    const char* texts[] = {"", "a", "ab", "abab", "xab", "abx", "xabx", "ba", "a*b"};
    for (const char* patternText : patterns) {
        const mon::RulePattern pattern = mon::patternOf(QLatin1String(patternText));
        for (const char* text : texts)
            EXPECT_EQ(pattern.matches(QLatin1String(text)),
                      pattern.matchesByWalking(QLatin1String(text)))
                << patternText << " / " << text;
    }
}

TEST(VariableRule, QuestionMarkTakesACharacterOutsideTheBasicPlaneWhole) {
    const QString clef = QString::fromUtf8("\xf0\x9d\x84\x9e");  // one character, two code units
    EXPECT_TRUE(matchesName("NAME = ?", clef));
    EXPECT_FALSE(matchesName("NAME = ??", clef));
    EXPECT_TRUE(matchesName("NAME = *?x", clef + QLatin1Char('x')));
}

TEST(VariableRule, OnlyAsciiBlanksSeparate) {
    // "à" and "Å" in UTF-8, handed over byte by byte as Latin-1
    const QString name = QString::fromLatin1("\xc3\xa0\xc3\x85");
    EXPECT_TRUE(
        MonVariableRule(QStringLiteral("NAME = ") + name).match(MonVariable(name, nullptr)));
    EXPECT_EQ(ruleError(QString::fromLatin1("\xa0")),
              "Invalid variable rule \"\xa0\": expected an attribute name at column 1.");
}

TEST(VariableRule, NestingUpToTheLimitAndLongChainsWork) {
    const std::string deep = std::string(100, '(') + "NAME = x" + std::string(100, ')');
    EXPECT_TRUE(matchesName(deep.c_str(), "x"));
    std::string nots;
    for (int i = 0; i < 100; ++i) nots += "not ";
    EXPECT_TRUE(matchesName((nots + "NAME = x").c_str(), "x"));
    std::string chain = "NAME = 0";
    for (int i = 1; i < 20000; ++i)
        chain += (i % 2 ? " or NAME = " : " and NAME != ") + std::to_string(i);
    EXPECT_TRUE(matchesName(chain.c_str(), "0"));
}

TEST(VariableRule, MalformedRulesSayWhatIsWrongWhere) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"CATEGORY = ", "expected a value at column 12"},
        {"NAME == x", "expected a value at column 7"},
        {"NAME = )", "expected a value at column 8"},
        {"= MAX", "expected an attribute name at column 1"},
        {"()", "expected an attribute name at column 2"},
        {"not", "expected an attribute name at column 4"},
        {"CATEGORY = RESIDUAL and", "expected an attribute name at column 24"},
        {"NAME = x or or NAME = y", "expected an attribute name at column 13"},
        {"CATEGORY RESIDUAL", "expected '=' or '!=' at column 10"},
        {"NAME ! x", "expected '=' or '!=' at column 6"},
        {"CATEGORY = RESIDUAL SUBCATEGORY = RMS",
         "expected 'and', 'or' or the end of the rule at column 21"},
        {"NAME = RMS P-Mass", "expected 'and', 'or' or the end of the rule at column 12"},
        {"NAME = \"a\"b", "expected 'and', 'or' or the end of the rule at column 11"},
        {"(CATEGORY = RESIDUAL", "expected 'and', 'or' or ')' at column 21"},
        {"(NAME = x NAME = y)", "expected 'and', 'or' or ')' at column 11"},
        {"GROUP = \"Momentum and Mass", "missing closing \" for the quote at column 9"},
        {"NAME = abc\\", "nothing to escape after '\\' at column 11"},
    };
    for (const auto& [rule, fault] : cases)
        EXPECT_EQ(ruleError(rule),
                  "Invalid variable rule \"" + std::string(rule) + "\": " + fault + ".");
}

TEST(VariableRule, TooDeepNestingIsRefusedAtTheLevelThatExceedsTheLimit) {
    const std::string parens = std::string(101, '(') + "NAME = x" + std::string(101, ')');
    EXPECT_EQ(ruleError(parens.c_str()), "Invalid variable rule \"" + parens +
                                             "\": more than 100 nested levels at column 101.");
    std::string nots;
    for (int i = 0; i < 101; ++i) nots += "not ";
    nots += "NAME = x";
    EXPECT_EQ(ruleError(nots.c_str()),
              "Invalid variable rule \"" + nots + "\": more than 100 nested levels at column 401.");
    const std::string unclosed(100000, '(');
    EXPECT_NE(ruleError(unclosed.c_str()).find("more than 100 nested levels at column 101."),
              std::string::npos);
}

TEST(VariableRule, ErrorQuotesControlCharactersAsEscapesAndKeepsLatin1Bytes) {
    EXPECT_EQ(ruleError("NAME =\n"),
              "Invalid variable rule \"NAME =\\n\": expected a value at column 8.");
    EXPECT_EQ(ruleError(QStringLiteral("NAME\t\x01 = x")),
              "Invalid variable rule \"NAME\\t\\x01 = x\": expected '=' or '!=' at column 6.");
    // The command line hands over bytes as Latin-1; the message gives them back.
    EXPECT_EQ(ruleError(QString::fromLatin1("NAME = caf\xc3\xa9 x")),
              "Invalid variable rule \"NAME = caf\xc3\xa9 x\": expected 'and', 'or' or the end of "
              "the rule at column 14.");
}

}  // namespace
