#include "libs/rcl/OVRCLUtils.h"

#include <climits>

#include "libs/exception/Error.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "libs/rcl/RCLDatabase.h"
#include "libs/rcl/RCLText.h"

namespace owl {
namespace OVRCLUtils {

namespace {
const QString kWorkspacePath = QStringLiteral("/MONITOR WORKSPACE: Run");
const QString kGroupType = QStringLiteral("MONITOR GROUP");
const QString kPriority = QStringLiteral("Priority");
const QString kGroupingRuleType = QStringLiteral("GROUPING RULE");
const QString kVariableRule = QStringLiteral("Variable Rule");

bool anyMatches(const std::vector<MonVariable>& variables, const std::vector<QString>& texts) {
    std::vector<MonVariableRule> rules(texts.begin(), texts.end());
    for (const MonVariable& variable : variables)
        for (const MonVariableRule& rule : rules)
            if (rule.match(variable)) return true;
    return false;
}

int priorityOf(const QString& group, const QString& text) {
    bool ok = false;
    const int priority = text.trimmed().toInt(&ok);
    if (!ok)
        throw data::error("RCLDatabase", "getGroupPriorityMap",
                          "Monitor group '" + MakeStdString(group) + "' has the priority '" +
                              MakeStdString(text) + "', which is not a whole number.",
                          errorFatal);
    return priority;
}
}  // namespace

const QString& workspacePath() {
    return kWorkspacePath;
}

std::vector<QString> getGroupingRuleTexts(const ParamMap& parameters) {
    std::vector<QString> texts;
    for (const auto& [name, value] : parameters)
        if (name.startsWith(kVariableRule) && !value.trimmed().isEmpty()) texts.push_back(value);
    return texts;
}

std::map<QString, std::vector<QString>> getOverseerGroupRules(RCLDatabase* database) {
    std::map<QString, std::vector<QString>> rules;
    for (const QString& name :
         database->getObjectsByTypeAndPath(kGroupingRuleType, kWorkspacePath)) {
        std::vector<QString> texts = getGroupingRuleTexts(database->getObjectParameters(
            rclChildPath(kWorkspacePath, kGroupingRuleType, name), false));
        if (!texts.empty()) rules[name] = std::move(texts);
    }
    return rules;
}

std::set<QString> generateOverseerGroups(const std::vector<MonVariable>& variables,
                                         const std::map<QString, std::vector<QString>>& rules) {
    std::set<QString> groups;
    for (const auto& [group, texts] : rules)
        if (anyMatches(variables, texts)) groups.insert(group);
    return groups;
}

std::multimap<int, QString> getGroupPriorityMap(RCLDatabase* database) {
    std::multimap<int, QString> priorities;
    for (const QString& name : database->getObjectsByTypeAndPath(kGroupType, kWorkspacePath)) {
        const ParamMap parameters =
            database->getObjectParameters(rclChildPath(kWorkspacePath, kGroupType, name), false);
        const auto priority = parameters.find(kPriority);
        if (priority != parameters.end())
            priorities.emplace(priorityOf(name, priority->second), name);
    }
    return priorities;
}

int getGroupPriorityFromGroupName(const QString& name,
                                  const std::multimap<int, QString>& priorities) {
    for (const auto& [priority, group] : priorities)
        if (group == name) return priority;
    if (priorities.empty()) return 0;
    const int largest = priorities.rbegin()->first;
    return largest == INT_MAX ? INT_MAX : largest + 1;
}

const std::set<QString>& getKnownPlotMonitorTypes() {
    static const std::set<QString> types{QStringLiteral("IMBALANCE MONITOR"),
                                         QStringLiteral("MONITOR PLOT"),
                                         QStringLiteral("RESIDUAL MONITOR")};
    return types;
}

}  // namespace OVRCLUtils
}  // namespace owl
