#include "libs/mondata/rules/RuleTree.h"

#include <algorithm>

namespace mon {

namespace {

// Evaluated for every variable a rule looks at: the sizes are compared
// inline first, so that most keys are passed over without a call.
const QString& declaredValue(const VariableInfo* info, const QString& key) {
    static const QString absent;
    if (info)
        for (const auto& [k, v] : info->attributes)
            if (k.size() == key.size() && k == key) return v;
    return absent;
}

const QString& valueOf(RuleComparison::Source source, const QString& key,
                       const RuleSubject& subject) {
    switch (source) {
        case RuleComparison::Source::Name:
            return subject.name;
        case RuleComparison::Source::Label:
            return subject.label;
        case RuleComparison::Source::Declared:
            break;
    }
    return declaredValue(subject.info, key);
}

}  // namespace

bool RuleComparison::matches(const RuleSubject& subject) const {
    return pattern.matches(valueOf(source, key, subject)) != negated;
}

bool RuleNode::matches(const RuleSubject& subject) const {
    auto operandMatches = [&subject](const RuleNode& node) { return node.matches(subject); };
    switch (kind) {
        case Kind::AllOf:
            return std::all_of(operands.begin(), operands.end(), operandMatches);
        case Kind::AnyOf:
            return std::any_of(operands.begin(), operands.end(), operandMatches);
        case Kind::Not:
            return !operands.front().matches(subject);
        case Kind::Compare:
            break;
    }
    return comparison.matches(subject);
}

const QString* RuleNode::requiredValue(const QString& key) const {
    if (kind == Kind::AllOf) {
        for (const RuleNode& operand : operands)
            if (const QString* value = operand.requiredValue(key)) return value;
        return nullptr;
    }
    if (kind != Kind::Compare || comparison.negated) return nullptr;
    if (comparison.source != RuleComparison::Source::Declared || comparison.key != key)
        return nullptr;
    return comparison.pattern.exactText();
}

}  // namespace mon
