#pragma once
// Answers about a run that come from its variables' declared attributes:
// monitor groups ("group") and time-transformed associations
// ("transformed-from", "time-variable"); see docs/variables.md.

#include <QString>
#include <QStringList>
#include <vector>

#include "libs/mondata/model/VariableInfo.h"

namespace mon {

// The monitor group names, each once, in order of first appearance;
// variables without a group (or with an empty one) add none.
QStringList groupsOf(const std::vector<VariableInfo>& variables);

// The variables that declare one of the given time-transformed variables in
// "transformed-from", each once, in the run's order. Empty when none does.
QStringList associatedVariables(const std::vector<VariableInfo>& variables,
                                const QStringList& timeTransformed);

// The "time-variable" that the named associated variable declares; "TIME"
// when it declares none (or only blanks) or the name is unknown, so that a
// plot line always has an X variable.
QString associatedTimeVariable(const std::vector<VariableInfo>& variables, const QString& name);

// The same answer for a variable already looked up (info may be null).
QString timeVariableOf(const VariableInfo* info);

}  // namespace mon
