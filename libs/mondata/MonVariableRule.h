#pragma once
// A rule that selects variables by their attributes (see docs/rules.md).

#include <QString>
#include <memory>

class MonVariable;

class MonVariableRule {
public:
    // Throws owl::Error when the text is not a valid rule.
    explicit MonVariableRule(const QString& ruleText);
    MonVariableRule(const MonVariableRule& other);
    MonVariableRule& operator=(const MonVariableRule& other);
    virtual ~MonVariableRule();

    bool match(const MonVariable& variable) const;
    const QString& text() const { return text_; }

private:
    QString text_;
};
