#pragma once
// The run's variables indexed by their declared group, so that a plot whose
// rule pins the group ("GROUP = Name", alone or in an "and") looks only at
// that group's variables. A run has a plot per group: without the index,
// gathering them costs plots x variables rule matches.

#include <QHash>
#include <QString>
#include <vector>

#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/rules/MonVariableRule.h"

namespace owl {

class VariablesByGroup {
  public:
    // The variables must outlive the index.
    explicit VariablesByGroup(const std::vector<MonVariable>& variables);

    // The names of the variables that every rule matches, in database order.
    QStringList matching(const std::vector<MonVariableRule>& rules) const;

  private:
    const std::vector<size_t>* candidates(const std::vector<MonVariableRule>& rules) const;

    const std::vector<MonVariable>& variables_;
    QHash<QString, std::vector<size_t>> byGroup_;  // positions, ascending
};

}  // namespace owl
