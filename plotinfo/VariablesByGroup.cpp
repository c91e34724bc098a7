#include "plotinfo/VariablesByGroup.h"

#include <QStringList>

#include "libs/mondata/model/VariableInfo.h"

namespace owl {

namespace {
const QString kGroupKey = QStringLiteral("group");

// An attribute a variable does not declare compares as the empty text.
QString groupOf(const MonVariable& variable) {
    const mon::VariableInfo* info = variable.declaredInfo();
    const QString group = info ? info->attribute(kGroupKey) : QString();
    return group.isNull() ? QString(QLatin1String("")) : group;
}

bool matchesAll(const std::vector<MonVariableRule>& rules, const MonVariable& variable) {
    for (const MonVariableRule& rule : rules)
        if (!rule.match(variable)) return false;
    return true;
}
}  // namespace

VariablesByGroup::VariablesByGroup(const std::vector<MonVariable>& variables)
    : variables_(variables) {
    for (size_t i = 0; i < variables.size(); ++i) byGroup_[groupOf(variables[i])].push_back(i);
}

const std::vector<size_t>* VariablesByGroup::candidates(
    const std::vector<MonVariableRule>& rules) const {
    static const std::vector<size_t> none;
    for (const MonVariableRule& rule : rules) {
        const QString group = rule.requiredAttribute(kGroupKey);
        if (group.isNull()) continue;
        auto found = byGroup_.constFind(group);
        return found == byGroup_.constEnd() ? &none : &found.value();
    }
    return nullptr;  // every variable
}

QStringList VariablesByGroup::matching(const std::vector<MonVariableRule>& rules) const {
    QStringList names;
    auto consider = [&](const MonVariable& variable) {
        if (matchesAll(rules, variable)) names.append(variable.getName());
    };
    if (const std::vector<size_t>* positions = candidates(rules)) {
        for (size_t position : *positions) consider(variables_[position]);
    } else {
        for (const MonVariable& variable : variables_) consider(variable);
    }
    return names;
}

}  // namespace owl
