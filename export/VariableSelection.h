#pragma once
// The variables a table holds: the -varlist names and the -varrule matches,
// resolved against a run's database. Shared by the command's tables and by
// other front ends that must select exactly as the command does.

#include <string>
#include <vector>

#include "export/RunHistoryWriter.h"

namespace exporter {

// The names of a -varlist text: split at ';', blanks and quote pairs stripped.
std::vector<std::string> parseVarList(const std::string& listText);

// Fills data and columns: keyFields first, then the listed names in order,
// then, with a rule or without a list, the database's variables (those the
// rule matches) that are not columns yet. Throws owl::data::notFound naming
// every listed name the database lacks.
void selectVariables(const MonDatabase& database, const std::vector<std::string>& varList,
                     const MonVariableRule* rule, const std::vector<std::string>& keyFields,
                     PreparedData& data, std::vector<std::string>& columns);

}  // namespace exporter
