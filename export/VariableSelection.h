#pragma once
// The variables a table holds: the -varlist names and the -varrule matches,
// resolved against a run's database. Shared by the command's tables and by
// other front ends that must select exactly as the command does.

#include <QString>
#include <string>
#include <vector>

#include "export/RunHistoryWriter.h"
#include "libs/mondata/model/NameEncoding.h"

namespace exporter {

// How names cross between bytes and the library's text: the command's
// tables spell them as the run's source does (MonDatabase::nameEncoding),
// scripting front ends in UTF-8.
using NameBytes = mon::NameEncoding;

QString nameText(const std::string& name, NameBytes bytes);
std::string nameBytes(const QString& name, NameBytes bytes);

// The names of a -varlist text: split at ';', blanks and quote pairs stripped.
std::vector<std::string> parseVarList(const std::string& listText);

// Fills data and columns: keyFields first, then the listed names in order,
// then, with a rule or without a list, the database's variables (those the
// rule matches) that are not columns yet. Throws owl::data::notFound naming
// every listed name the database lacks. Returns how many variables the rule
// matches (every variable without one), columns already or not.
size_t selectVariables(const MonDatabase& database, const std::vector<std::string>& varList,
                       const MonVariableRule* rule, const std::vector<std::string>& keyFields,
                       PreparedData& data, std::vector<std::string>& columns,
                       NameBytes bytes = NameBytes::Latin1);

// The error text for listed names a run (or study) lacks: lead, each
// missing name on a line of its own, then, for each that has near names
// among known, "Names <whose> near 'Cd':" and those names, one a line.
std::string missingVariablesMessage(const std::string& lead,
                                    const std::vector<std::string>& missing,
                                    const std::vector<std::string>& known,
                                    const std::string& whose);

// The warning for a rule that matches no variable: the rule and the
// categories the run has, so that the user can see what to match.
std::string noMatchWarning(const MonDatabase& database, const std::string& ruleText);

}  // namespace exporter
