// Variable selection: the -varlist and -varrule settings and prepareData.

#include "export/VariableSelection.h"

#include <QByteArray>
#include <QStringList>
#include <iostream>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "libs/utilities/NearestNames.h"
#include "libs/utilities/StringUtilities.h"

namespace {

// Whether the piece is wrapped in a matching pair of quotes or apostrophes.
bool isQuoted(const std::string& piece) {
    if (piece.size() < 2) return false;
    const char first = piece.front();
    return (first == '"' || first == '\'') && piece.back() == first;
}

// Strips blanks and matching quote pairs, as often as they nest.
std::string unquote(std::string piece) {
    for (;;) {
        piece = owl::StringUtilities::removeWhitespace(piece);
        if (!isQuoted(piece)) return piece;
        piece = piece.substr(1, piece.size() - 2);
    }
}

// Key names are ASCII; they cross up to their first NUL.
QString toQString(const std::string& name) {
    return QString::fromLatin1(name.c_str());
}

void addListedVariables(const MonDatabase& database, const std::vector<std::string>& varList,
                        PreparedData& data, std::vector<std::string>& columns,
                        exporter::NameBytes bytes) {
    std::vector<std::string> missing;
    for (const std::string& name : varList) {
        if (const TimestepData* values = database.getVariable(exporter::nameText(name, bytes))) {
            columns.push_back(name);
            data.emplace(name, values);
        } else if (name != mon::kCoefficientLoop) {
            missing.push_back(name);
        }
    }
    if (missing.empty()) return;
    std::vector<std::string> known;
    for (const MonVariable& variable : database.getVariableList())
        known.push_back(exporter::nameBytes(variable.getName(), bytes));
    throw owl::data::notFound("RunHistoryWriter", "outputData",
                              exporter::missingVariablesMessage("Requested variable(s) not found: ",
                                                                missing, known, "the run has"),
                              owl::errorFatal);
}

// Appends, in database order, every variable the rule matches (every
// variable without a rule) that is not a column yet. The data is fetched by
// the variable's own name, so a name that Latin-1 cannot spell (written with
// '?' in its place) still finds its values.
size_t addDatabaseVariables(const MonDatabase& database, const MonVariableRule* rule,
                            PreparedData& data, std::vector<std::string>& columns,
                            exporter::NameBytes bytes) {
    size_t matches = 0;
    for (const MonVariable& variable : database.getVariableList()) {
        if (rule && !rule->match(variable)) continue;
        ++matches;
        std::string name = exporter::nameBytes(variable.getName(), bytes);
        if (data.count(name) != 0) continue;
        if (const TimestepData* values = database.getVariable(variable.getName())) {
            columns.push_back(name);
            data.emplace(name, values);
        }
    }
    return matches;
}

}  // namespace

namespace exporter {

// Names cross up to their first NUL, as every name the command is given.
QString nameText(const std::string& name, NameBytes bytes) {
    return bytes == NameBytes::Utf8 ? QString::fromUtf8(name.c_str())
                                    : QString::fromLatin1(name.c_str());
}

std::string nameBytes(const QString& name, NameBytes bytes) {
    return std::string((bytes == NameBytes::Utf8 ? name.toUtf8() : name.toLatin1()).constData());
}

std::string noMatchWarning(const MonDatabase& database, const std::string& ruleText) {
    QStringList categories;
    for (const MonVariable& variable : database.getVariableList()) {
        const QString category = variable.getAttribute(QStringLiteral("category"));
        if (!category.isEmpty() && !categories.contains(category)) categories << category;
    }
    const std::string listed = categories.isEmpty()
                                   ? "none"
                                   : categories.join(QStringLiteral(", ")).toUtf8().toStdString();
    return "The rule '" + owl::printable(ruleText) +
           "' matches no variable; the categories of the run are: " + listed + ".";
}

std::string missingVariablesMessage(const std::string& lead,
                                    const std::vector<std::string>& missing,
                                    const std::vector<std::string>& known,
                                    const std::string& whose) {
    std::string message = lead;
    for (const std::string& name : missing) message += "\n    " + owl::printable(name);
    for (const std::string& name : missing) {
        const std::vector<size_t> near = owl::nearestNames(name, known);
        if (near.empty()) continue;
        message += "\nNames " + whose + " near '" + owl::printable(name) + "':";
        for (size_t i : near) message += "\n    " + owl::printable(known[i]);
    }
    return message;
}

std::vector<std::string> parseVarList(const std::string& listText) {
    std::vector<std::string> names = owl::StringUtilities::splitValue(listText, ';');
    for (std::string& name : names) name = unquote(name);
    return names;
}

size_t selectVariables(const MonDatabase& database, const std::vector<std::string>& varList,
                       const MonVariableRule* rule, const std::vector<std::string>& keyFields,
                       PreparedData& data, std::vector<std::string>& columns,
                       exporter::NameBytes bytes) {
    data.clear();
    for (const std::string& key : keyFields)
        if (const TimestepData* values = database.getVariable(toQString(key)))
            data.emplace(key, values);
    columns = keyFields;
    if (!varList.empty()) addListedVariables(database, varList, data, columns, bytes);
    if (rule || varList.empty()) return addDatabaseVariables(database, rule, data, columns, bytes);
    return 0;
}

}  // namespace exporter

RunHistoryWriter& RunHistoryWriter::setVarList(const std::string& listText) {
    varList = exporter::parseVarList(listText);
    return *this;
}

// Before the run is read the rule is read as Latin-1, so that a malformed
// one is reported first; process() reads it again in the run's encoding.
RunHistoryWriter& RunHistoryWriter::setVarRule(const std::string& ruleText) {
    if (ruleText.empty()) return *this;
    varRuleText = ruleText;
    varRule.reset();
    const exporter::NameBytes bytes =
        database ? database->nameEncoding() : exporter::NameBytes::Latin1;
    varRule = std::make_unique<MonVariableRule>(exporter::nameText(ruleText, bytes));
    return *this;
}

void RunHistoryWriter::prepareData(PreparedData& data, std::vector<std::string>& columns,
                                   const std::vector<std::string>& keyFields) const {
    const size_t matches = exporter::selectVariables(*database, varList, varRule.get(), keyFields,
                                                     data, columns, database->nameEncoding());
    if (varRule && matches == 0)
        std::cerr << "Exporter warning: " << exporter::noMatchWarning(*database, varRuleText)
                  << std::endl;
}
