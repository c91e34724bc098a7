#pragma once
// One object of the command-language tree: "TYPE: Name" with its parameters
// and the objects nested in it, in the order they were first defined.

#include <QHash>
#include <QPair>
#include <QString>
#include <memory>
#include <vector>

#include "libs/rcl/ParamMap.h"

namespace owl {

struct RCLObject {
    QString type;
    QString name;
    ParamMap parameters;
    // Add children through ensureChild only: it keeps the index.
    std::vector<std::unique_ptr<RCLObject>> children;

    // The direct child of that type and name, or null.
    RCLObject* findChild(const QString& childType, const QString& childName) const;
    // The direct child of that type and name, created at the end if missing.
    RCLObject& ensureChild(const QString& childType, const QString& childName);

  private:
    // (type, name) -> child, so that a lookup costs the same with one child
    // or with thousands (a workspace holds a plot per monitor group).
    QHash<QPair<QString, QString>, RCLObject*> childIndex_;
};

}  // namespace owl
