#pragma once
// What the monitoring application keeps in the command-language database
// about monitor groups: the plot types it knows, the priority that orders
// each group's plots, and the grouping rules that derive groups from a run's
// variables. All of it lives under the run workspace "/MONITOR WORKSPACE: Run".

#include <QString>
#include <map>
#include <set>
#include <vector>

#include "libs/rcl/ParamMap.h"

class MonVariable;
class RCLDatabase;

namespace owl {
namespace OVRCLUtils {

// "/MONITOR WORKSPACE: Run": the object that holds plots, groups and rules.
const QString& workspacePath();

// Grouping rules: derived group name to its rule texts, from the
// "GROUPING RULE" objects of the workspace (every parameter whose name starts
// with "Variable Rule").
std::map<QString, std::vector<QString>> getOverseerGroupRules(RCLDatabase* database);

// The derived groups that have at least one variable matching one of their
// rules.
std::set<QString> generateOverseerGroups(const std::vector<MonVariable>& variables,
                                         const std::map<QString, std::vector<QString>>& rules);

// Priority to group name, from the "Priority" parameter of the workspace's
// "MONITOR GROUP" objects. A priority that is not a whole number raises
// owl::data::error naming the group.
std::multimap<int, QString> getGroupPriorityMap(RCLDatabase* database);

// The rule texts of one grouping rule's parameters: the non-empty values of
// the parameters whose name starts with "Variable Rule", in name order.
std::vector<QString> getGroupingRuleTexts(const ParamMap& parameters);

// The smallest priority listed for the group; a group not listed comes after
// every listed one: one more than the largest priority (0 when none is
// listed).
int getGroupPriorityFromGroupName(const QString& name,
                                  const std::multimap<int, QString>& priorities);

// The object types that define monitor plots.
const std::set<QString>& getKnownPlotMonitorTypes();

}  // namespace OVRCLUtils
}  // namespace owl
