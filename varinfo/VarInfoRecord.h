#pragma once
// The four texts that describe one monitor variable in the -varinfo document.

#include <QString>

namespace owl {

struct VarInfoRecord {
    QString name;         // MonVariable::getName()
    QString displayName;  // MonVariable::getPreferredLabel()
    QString treeName;     // MonVariable::getTreeName(true)
    QString treePath;     // the steps of getTreePath(true) joined with ';'
};

}  // namespace owl
