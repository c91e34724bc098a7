#include "libs/mondata/rules/MonVariableRule.h"

#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/rules/RuleParser.h"

MonVariableRule::MonVariableRule(const QString& ruleText)
    : text_(ruleText), rule_(mon::parseRule(ruleText)) {}

MonVariableRule::MonVariableRule(const MonVariableRule& other) = default;
MonVariableRule& MonVariableRule::operator=(const MonVariableRule& other) = default;
MonVariableRule::~MonVariableRule() = default;

bool MonVariableRule::match(const MonVariable& variable) const {
    if (!rule_) return true;
    const mon::RuleSubject subject{variable.getName(), variable.getPreferredLabel(),
                                   variable.declaredInfo()};
    return rule_->matches(subject);
}

QString MonVariableRule::requiredAttribute(const QString& key) const {
    const QString* value = rule_ ? rule_->requiredValue(key) : nullptr;
    if (!value) return QString();
    return value->isNull() ? QString(QLatin1String("")) : *value;  // "" is a value
}
