#pragma once
// A rule that selects variables by their attributes, e.g.
// "(CATEGORY = RESIDUAL or CATEGORY = IMBALANCE) and NAME != *W-Mom*"
// (the language is described in docs/rules.md). The text is parsed once, at
// construction; copies share the parsed rule, which never changes.

#include <QString>
#include <memory>

class MonVariable;
namespace mon {
struct RuleNode;
}

class MonVariableRule {
  public:
    // Throws owl::Error naming the rule, the fault and its column when the
    // text is not a valid rule. An empty or blank text matches every variable.
    explicit MonVariableRule(const QString& ruleText);
    MonVariableRule(const MonVariableRule& other);
    MonVariableRule& operator=(const MonVariableRule& other);
    virtual ~MonVariableRule();

    bool match(const MonVariable& variable) const;
    // The value the declared attribute (lower-case key) must have for a
    // variable to match, or a null QString when the rule does not pin it:
    // lets callers look only at the variables that can match.
    QString requiredAttribute(const QString& key) const;
    const QString& text() const { return text_; }

  private:
    QString text_;
    std::shared_ptr<const mon::RuleNode> rule_;  // null: matches everything
};
