#pragma once
// Answers about a run that come from its variables' declared attributes:
// monitor groups and time-transformed associations.

#include <QString>
#include <QStringList>
#include <vector>

#include "libs/mondata/VariableInfo.h"

namespace mon {

// The monitor group names, each once, in order of first appearance.
QStringList groupsOf(const std::vector<VariableInfo>& variables);

// The variables associated with the given time-transformed variables.
QStringList associatedVariables(const std::vector<VariableInfo>& variables,
                                const QStringList& timeTransformed);

// The time variable that belongs to an associated variable.
QString associatedTimeVariable(const std::vector<VariableInfo>& variables, const QString& name);

}  // namespace mon
