#include "libs/mondata/model/VariableLabels.h"

#include <QStringList>

namespace mon {

namespace {

// Tree steps from a declared path: trimmed, empty ones dropped, so that
// "a//b/", " a / b" and "a/b" name the same place.
std::vector<QString> stepsOfPath(const QString& path) {
    std::vector<QString> steps;
    for (const QString& step : path.split(QLatin1Char('/'))) {
        const QString trimmed = step.trimmed();
        if (!trimmed.isEmpty()) steps.push_back(trimmed);
    }
    return steps;
}

std::vector<QString> stepsOfCategory(const VariableInfo& info) {
    std::vector<QString> steps;
    for (const char* key : {"category", "subcategory"}) {
        const QString value = info.attribute(QLatin1String(key)).trimmed();
        if (!value.isEmpty()) steps.push_back(value);
    }
    return steps;
}

}  // namespace

QString labelFromName(const QString& name) {
    if (name == QLatin1String("ACCUMULATED TIMESTEP"))
        return QStringLiteral("Accumulated Time Step");
    if (name == QLatin1String("COEFFICIENT LOOP")) return QStringLiteral("Coefficient Loop");
    if (name == QLatin1String("TIME")) return QStringLiteral("Simulation Time");
    return name;
}

QString preferredLabelOf(const VariableInfo* info, const QString& name) {
    const QString declared = info ? info->attribute(QStringLiteral("label")) : QString();
    return declared.trimmed().isEmpty() ? labelFromName(name) : declared;
}

std::vector<QString> treePathOf(const VariableInfo* info, const QString& treeName) {
    std::vector<QString> path;
    if (info) {
        path = stepsOfPath(info->attribute(QStringLiteral("path")));
        if (path.empty()) path = stepsOfCategory(*info);
    }
    path.push_back(treeName);
    return path;
}

}  // namespace mon
