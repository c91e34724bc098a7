#include "libs/mondata/VariableLabels.h"

#include <QStringList>

namespace mon {

QString labelFromName(const QString& name) {
    if (name == QLatin1String("ACCUMULATED TIMESTEP")) return QStringLiteral("Accumulated Time Step");
    if (name == QLatin1String("COEFFICIENT LOOP")) return QStringLiteral("Coefficient Loop");
    if (name == QLatin1String("TIME")) return QStringLiteral("Simulation Time");
    return name;
}

std::vector<QString> treePathOf(const VariableInfo* info, const QString& treeName) {
    std::vector<QString> path;
    if (info) {
        QString declared = info->attribute(QStringLiteral("path"));
        if (!declared.isEmpty()) {
            for (const QString& step : declared.split(QLatin1Char('/'), Qt::SkipEmptyParts))
                path.push_back(step);
        } else {
            for (const char* key : {"category", "subcategory"}) {
                QString value = info->attribute(QLatin1String(key));
                if (!value.isEmpty()) path.push_back(value);
            }
        }
    }
    path.push_back(treeName);
    return path;
}

}  // namespace mon
