#pragma once
// Declared variables written inline, for the tests and the fuzz target of
// rules and run metadata: variable("P1", {{"category", "MONITOR"}}); and glob
// patterns made directly from a text: patternOf("*W-Mom*").

#include <initializer_list>
#include <utility>

#include "libs/mondata/model/VariableInfo.h"
#include "libs/mondata/rules/RulePattern.h"

namespace mon {

inline VariableInfo variable(
    const char* name, std::initializer_list<std::pair<const char*, const char*>> attributes) {
    VariableInfo info;
    info.name = QString::fromUtf8(name);
    for (const auto& [key, value] : attributes)
        info.attributes.emplace_back(QString::fromUtf8(key), QString::fromUtf8(value));
    return info;
}

// '*' and '?' are wildcards, every other character is literal (no escapes).
inline RulePattern patternOf(const QString& text) {
    RulePattern pattern;
    for (QChar c : text) pattern.append(c);
    pattern.finish();
    return pattern;
}

}  // namespace mon
