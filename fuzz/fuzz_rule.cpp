// Fuzzes the variable-rule language: parsing either succeeds or raises the
// rule's own error, and a parsed rule matches consistently (copies agree,
// "not (rule)" answers the opposite).

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "libs/mondata/rules/RuleParser.h"
#include "libs/mondata/rules/RuleTestVariables.h"

namespace {

using mon::variable;

const std::vector<mon::VariableInfo>& subjects() {
    static const std::vector<mon::VariableInfo> variables = {
        variable(
            "RMS P-Mass",
            {{"category", "RESIDUAL"}, {"subcategory", "RMS"}, {"group", "Momentum and Mass"}}),
        variable("MAX W-Mom",
                 {{"category", "RESIDUAL"}, {"subcategory", "MAX"}, {"label", "W max"}}),
        variable("P1 Pressure", {{"category", "MONITOR"}, {"units", "Pa"}, {"path", "a/b"}}),
        variable("caf\xc3\xa9 \xf0\x9d\x84\x9e*?\\\"'", {{"x", ""}}),
        variable("", {}),
    };
    return variables;
}

void requireRuleError(const owl::Error& error) {
    if (error.getErrorText().rfind("Invalid variable rule \"", 0) != 0) std::abort();
}

void checkNegation(const QString& text, const mon::RuleNode& rule) {
    std::shared_ptr<const mon::RuleNode> negated;
    try {
        negated = mon::parseRule(QStringLiteral("not (") + text + QStringLiteral("\n)"));
    } catch (const owl::Error& error) {
        requireRuleError(error);  // only the nesting limit may refuse it
        if (error.getErrorText().find("nested levels") == std::string::npos) std::abort();
        return;
    }
    for (const auto& info : subjects()) {
        const mon::RuleSubject subject{info.name, info.name, &info};
        if (rule.matches(subject) == negated->matches(subject)) std::abort();
    }
}

void check(const QString& text) {
    std::shared_ptr<const mon::RuleNode> rule;
    try {
        rule = mon::parseRule(text);
    } catch (const owl::Error& error) {
        requireRuleError(error);
        return;
    }
    const MonVariableRule whole(text);
    const MonVariableRule copy = whole;
    for (const auto& info : subjects()) {
        const MonVariable freeStanding(info.name, nullptr);
        if (whole.match(freeStanding) != copy.match(freeStanding)) std::abort();
    }
    if (rule) checkNegation(text, *rule);
}

// The text up to the first line feed as a pattern ('*', '?', literals), the
// rest as the text to match: quick shapes and the general walk must agree.
void checkPattern(const QString& input) {
    const int split = input.indexOf(QLatin1Char('\n'));
    if (split < 0) return;
    const mon::RulePattern pattern = mon::patternOf(input.left(split));
    const QString text = input.mid(split + 1);
    if (pattern.matches(text) != pattern.matchesByWalking(text)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const int length = static_cast<int>(size);
    check(QString::fromLatin1(bytes, length));
    check(QString::fromUtf8(bytes, length));
    checkPattern(QString::fromUtf8(bytes, length));
    return 0;
}
