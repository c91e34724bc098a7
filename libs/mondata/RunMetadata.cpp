#include "libs/mondata/RunMetadata.h"

namespace mon {

QStringList groupsOf(const std::vector<VariableInfo>& variables) {
    QStringList groups;
    for (const auto& info : variables) {
        QString group = info.attribute(QStringLiteral("group"));
        if (!group.isEmpty() && !groups.contains(group)) groups.append(group);
    }
    return groups;
}

QStringList associatedVariables(const std::vector<VariableInfo>&, const QStringList&) {
    return QStringList();
}

QString associatedTimeVariable(const std::vector<VariableInfo>&, const QString&) {
    return QStringLiteral("TIME");
}

}  // namespace mon
