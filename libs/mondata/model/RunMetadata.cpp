#include "libs/mondata/model/RunMetadata.h"

#include <QSet>

namespace mon {

namespace {
const QString kGroup = QStringLiteral("group");
const QString kTransformedFrom = QStringLiteral("transformed-from");
const QString kTimeVariable = QStringLiteral("time-variable");
const QString kDefaultTime = QStringLiteral("TIME");
}  // namespace

QStringList groupsOf(const std::vector<VariableInfo>& variables) {
    QStringList groups;
    QSet<QString> seen;
    for (const auto& info : variables) {
        const QString group = info.attribute(kGroup);
        if (group.isEmpty() || seen.contains(group)) continue;
        seen.insert(group);
        groups.append(group);
    }
    return groups;
}

QStringList associatedVariables(const std::vector<VariableInfo>& variables,
                                const QStringList& timeTransformed) {
    const QSet<QString> wanted(timeTransformed.begin(), timeTransformed.end());
    QStringList associated;
    for (const auto& info : variables) {
        const QString from = info.attribute(kTransformedFrom);
        if (!from.isEmpty() && wanted.contains(from)) associated.append(info.name);
    }
    return associated;
}

QString timeVariableOf(const VariableInfo* info) {
    const QString declared = info ? info->attribute(kTimeVariable) : QString();
    return declared.trimmed().isEmpty() ? kDefaultTime : declared;
}

QString associatedTimeVariable(const std::vector<VariableInfo>& variables, const QString& name) {
    for (const auto& info : variables)
        if (info.name == name) return timeVariableOf(&info);
    return kDefaultTime;
}

}  // namespace mon
