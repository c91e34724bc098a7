#pragma once
// How display labels and tree paths are formed from what a run declares
// (described for users in docs/variables.md).

#include <QString>
#include <vector>

#include "libs/mondata/model/VariableInfo.h"

namespace mon {

// The label of a variable that declares none (or only blanks): the record
// keys and TIME get readable names, every other name is its own label,
// unchanged, so that a label always leads back to its variable.
QString labelFromName(const QString& name);

// The label a variable shows: its declared "label" when that holds more than
// blanks, else labelFromName. info may be null (a key or free-standing
// variable).
QString preferredLabelOf(const VariableInfo* info, const QString& name);

// The steps of a variable's place in the variable tree, ending with its tree
// name: the declared "path" split at '/' (steps trimmed, empty steps
// dropped); when no path with a step is declared, its category and
// subcategory, those that are not blank.
std::vector<QString> treePathOf(const VariableInfo* info, const QString& treeName);

}  // namespace mon
