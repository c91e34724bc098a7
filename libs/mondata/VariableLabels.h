#pragma once
// How display labels and tree paths are formed from what a run declares.

#include <QString>
#include <vector>

#include "libs/mondata/VariableInfo.h"

namespace mon {

// The label of a variable that declares none: the record keys and TIME get
// readable names, every other name is its own label.
QString labelFromName(const QString& name);

// The steps of a variable's place in the variable tree, ending with its tree
// name: the declared "path" split at '/', else its category and subcategory.
std::vector<QString> treePathOf(const VariableInfo* info, const QString& treeName);

}  // namespace mon
