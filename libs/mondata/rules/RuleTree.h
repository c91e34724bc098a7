#pragma once
// A parsed variable rule: a tree of and/or/not over attribute comparisons,
// evaluated against one variable's name, label and declared attributes.

#include <QString>
#include <vector>

#include "libs/mondata/model/VariableInfo.h"
#include "libs/mondata/rules/RulePattern.h"

namespace mon {

// What a rule can see of a variable. info is null for variables without
// declared attributes (record keys, free-standing variables).
struct RuleSubject {
    const QString& name;
    const QString& label;
    const VariableInfo* info;
};

// ATTRIBUTE = PATTERN, or != when negated. An attribute the variable does not
// have compares as the empty text.
struct RuleComparison {
    enum class Source : unsigned char { Name, Label, Declared };

    Source source = Source::Name;
    QString key;  // the declared attribute, lower case
    RulePattern pattern;
    bool negated = false;

    bool matches(const RuleSubject& subject) const;
};

struct RuleNode {
    enum class Kind : unsigned char { AllOf, AnyOf, Not, Compare };

    Kind kind = Kind::Compare;
    std::vector<RuleNode> operands;  // AllOf, AnyOf: two or more; Not: one
    RuleComparison comparison;       // Compare

    bool matches(const RuleSubject& subject) const;
    // The value a declared attribute must have for the rule to match: the
    // text of a "KEY = literal" comparison, alone or in an "and". Null when
    // the rule does not pin one down.
    const QString* requiredValue(const QString& key) const;
};

}  // namespace mon
