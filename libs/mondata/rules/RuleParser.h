#pragma once
// Turns the text of a variable rule into its tree (the language is described
// in docs/rules.md).

#include <QString>
#include <memory>

#include "libs/mondata/rules/RuleTree.h"

namespace mon {

// How deep parentheses and 'not' may nest; deeper rules are refused, so that
// neither parsing nor matching can exhaust the stack.
constexpr int kMaxRuleDepth = 100;

// The rule's tree, or null for a text that is empty or only blanks (a rule
// that matches every variable). Throws owl::Error for a malformed rule.
std::shared_ptr<const RuleNode> parseRule(const QString& text);

}  // namespace mon
