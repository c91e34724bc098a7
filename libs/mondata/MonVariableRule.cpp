#include "libs/mondata/MonVariableRule.h"

#include "libs/exception/Error.h"
#include "libs/mondata/MonVariable.h"

MonVariableRule::MonVariableRule(const QString& ruleText) : text_(ruleText) {
    if (!text_.trimmed().isEmpty())
        throw owl::internal::error("MonVariableRule", "MonVariableRule",
                                   "Variable rules are not available yet.", owl::errorFatal);
}

MonVariableRule::MonVariableRule(const MonVariableRule& other) = default;
MonVariableRule& MonVariableRule::operator=(const MonVariableRule& other) = default;
MonVariableRule::~MonVariableRule() = default;

bool MonVariableRule::match(const MonVariable&) const { return true; }
