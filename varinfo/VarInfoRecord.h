#pragma once
// The texts that describe one monitor variable in the -varinfo document: four
// that every variable has, and what only some declare.

#include <QString>

namespace owl {

struct VarInfoRecord {
    QString name;         // MonVariable::getName()
    QString displayName;  // MonVariable::getPreferredLabel()
    QString treeName;     // MonVariable::getTreeName(true)
    QString treePath;     // the steps of getTreePath(true) joined with ';'
    QString scale;        // the declared "scale" ("log10"); null: none, not written
};

}  // namespace owl
