#include "plotinfo/PlotInfoGenerator.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "libs/guiutils/QStringUtils.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "libs/rcl/GroupRCLGenerator.h"
#include "libs/rcl/OVRCLUtils.h"
#include "libs/rcl/RCLDatabase.h"
#include "plotinfo/PlotInfoXML.h"
#include "plotinfo/TemplateLocation.h"
#include "plotinfo/VariablesByGroup.h"

namespace owl {

namespace {
// Read once when the program starts: later changes to the environment do
// not count.
const std::string kOrbDataDir = [] {
    const char* value = std::getenv("ORB_DATA_DIR");
    return value ? std::string(value) : std::string();
}();
const std::map<QString, QString> kNoParameters;

const QString kTemplateName = QStringLiteral("workspace-basic.mst");
const QString kWorkspacePath = QStringLiteral("/MONITOR WORKSPACE: Run");
const QString kWorkspaceObject = QStringLiteral("MONITOR WORKSPACE : Run");
const QString kResidualType = QStringLiteral("RESIDUAL MONITOR");
const QString kMax = QStringLiteral("MAX");
const QString kMaxRule = QStringLiteral("SUBCATEGORY = MAX");
const QString kRmsRule = QStringLiteral("SUBCATEGORY = RMS");
const QString kTimestep = QStringLiteral("ACCUMULATED TIMESTEP");
const QString kTime = QStringLiteral("TIME");
const QString kByTimeStep = QStringLiteral("Time Step");
const QString kBySimulationTime = QStringLiteral("Simulation Time");
const QString kBySpecifiedVariable = QStringLiteral("Specified Variable");
const QString kTimestepLabel = QStringLiteral("Accumulated Time Step");
const QString kTimeLabel = QStringLiteral("Simulation Time");
const QString kSpecifiedLabel = QStringLiteral("Specified Variable ");
const QString kYAxisLabel = QStringLiteral("Variable Value");

const QString kPlotDataBy = QStringLiteral("Plot Data By");
const QString kXAxisVariable = QStringLiteral("X Axis Variable");
const QString kVariableRule = QStringLiteral("Variable Rule");
const QString kResidualMode = QStringLiteral("Residual Mode");
const QString kTimeTransformed = QStringLiteral("Time Transformed");
const QString kTimeTransformedRule = QStringLiteral("Time Transformed Variable Rule");
const QString kMonitorGroup = QStringLiteral("Monitor Group");

// The value of a parameter, or null when the object does not set it.
const QString* find(const ParamMap& parameters, const QString& name) {
    const auto it = parameters.find(name);
    return it == parameters.end() ? nullptr : &it->second;
}

QString valueOr(const ParamMap& parameters, const QString& name) {
    const QString* value = find(parameters, name);
    return value ? *value : QString();
}

// The X variable and the X-axis label of a plot.
std::pair<QString, QString> getXAxisInfo(const ParamMap& parameters) {
    QString xVariable = kTimestep;
    if (const QString* by = find(parameters, kPlotDataBy)) {
        if (*by == kByTimeStep) {
            xVariable = kTimestep;
        } else if (*by == kBySimulationTime) {
            xVariable = kTime;
        } else if (*by == kBySpecifiedVariable) {
            if (const QString* specified = find(parameters, kXAxisVariable)) xVariable = *specified;
        }
    }
    if (xVariable == kTimestep) return {xVariable, kTimestepLabel};
    if (xVariable == kTime) return {xVariable, kTimeLabel};
    return {xVariable, kSpecifiedLabel + MonVariable(xVariable, nullptr).getPreferredLabel()};
}

std::vector<MonVariableRule> plotRules(const QString& type, const ParamMap& parameters) {
    std::vector<MonVariableRule> rules{MonVariableRule(valueOr(parameters, kVariableRule))};
    if (type == kResidualType) {
        const QString* mode = find(parameters, kResidualMode);
        rules.emplace_back(mode && *mode == kMax ? kMaxRule : kRmsRule);
    }
    return rules;
}

void sendGroupText(RCLDatabase* rcl, GroupRCLGenerator& generator,
                   const std::set<QString>& groups) {
    QString text;
    for (const QString& group : groups) text += generator.generateRCL(group, kNoParameters);
    if (!text.isEmpty()) rcl->sendRCL(text, true);
}
}  // namespace

PlotInfoGenerator::PlotInfoGenerator(MonDatabase* db) : database(db) {}
PlotInfoGenerator::~PlotInfoGenerator() = default;

void PlotInfoGenerator::outputPlotData(std::ostream& out) {
    const QString directory =
        QString::fromLatin1(findTemplateDirectory(kOrbDataDir, runningExecutable()).c_str());
    const PlotDefinitionMap plots = gatherPlots(directory);
    PlotInfoXML(RCLDatabase::instance()).writeXML(out, plots);
    out << std::endl;
}

PlotDefinitionMap PlotInfoGenerator::gatherPlots(const QString& templateDirectory) {
    RCLDatabase* rcl = RCLDatabase::instance();
    rcl->loadRCLFile(templateDirectory + QLatin1Char('/') + kTemplateName, true);
    const std::vector<MonVariable> variables = database->getVariableList();
    GroupRCLGenerator groupGenerator(kWorkspacePath, kWorkspaceObject, rcl);
    const std::set<QString> groups = collectGroupNames(rcl, variables);
    const std::multimap<int, QString> priorities = OVRCLUtils::getGroupPriorityMap(rcl);
    sendGroupText(rcl, groupGenerator, groups);

    const VariablesByGroup byGroup(variables);
    PlotDefinitionMap plots;
    for (const QString& type : OVRCLUtils::getKnownPlotMonitorTypes())
        for (const QString& name : rcl->getObjectsByTypeAndPath(type, kWorkspacePath))
            gatherPlot(rcl, type, name, byGroup, priorities, plots);
    return plots;
}

std::set<QString> PlotInfoGenerator::collectGroupNames(
    RCLDatabase* rcl, const std::vector<MonVariable>& variables) const {
    const auto rules = OVRCLUtils::getOverseerGroupRules(rcl);
    std::set<QString> groups;
    for (const QString& group : database->getGroupList()) groups.insert(group);
    for (const QString& group : OVRCLUtils::generateOverseerGroups(variables, rules))
        groups.insert(group);
    return groups;
}

void PlotInfoGenerator::gatherPlot(RCLDatabase* rcl, const QString& type, const QString& name,
                                   const VariablesByGroup& variables,
                                   const std::multimap<int, QString>& priorities,
                                   PlotDefinitionMap& plots) const {
    const QString path = kWorkspacePath + QLatin1Char('/') + type + QLatin1Char(':') + name;
    const ParamMap parameters = rcl->getObjectParameters(path, false);
    const auto [xVariable, xLabel] = getXAxisInfo(parameters);
    const QStringList matched = variables.matching(plotRules(type, parameters));
    auto lines = plotLines(parameters, xVariable, matched);
    if (lines.empty()) return;
    const QString group =
        GroupRCLGenerator::removeSuffixesFromGroupName(valueOr(parameters, kMonitorGroup));
    const int priority = OVRCLUtils::getGroupPriorityFromGroupName(group, priorities);
    plots.emplace(std::make_pair(priority, name),
                  PlotDefinition{path, xLabel, kYAxisLabel, std::move(lines)});
}

std::vector<std::pair<QString, QString>> PlotInfoGenerator::plotLines(
    const ParamMap& parameters, const QString& xVariable, const QStringList& matched) const {
    const QString* transformed = find(parameters, kTimeTransformed);
    if (transformed && QStringUtils::isTrue(*transformed))
        return timeTransformedLines(parameters, xVariable, matched);
    std::vector<std::pair<QString, QString>> lines;
    lines.reserve(static_cast<size_t>(matched.size()));
    for (const QString& name : matched) lines.emplace_back(xVariable, name);
    return lines;
}

// The lines of a time-transformed plot come from the variables associated
// with the matched ones; against "TIME" each is drawn over its own time
// variable.
std::vector<std::pair<QString, QString>> PlotInfoGenerator::timeTransformedLines(
    const ParamMap& parameters, const QString& xVariable, const QStringList& matched) const {
    std::vector<std::pair<QString, QString>> lines;
    lines.reserve(static_cast<size_t>(matched.size()));
    QStringList associated = database->getAssociatedVariablesForTimeTransformedVariables(matched);
    const QString* filter = find(parameters, kTimeTransformedRule);
    if (filter && !filter->isEmpty()) {
        const MonVariableRule rule(*filter);
        associated.erase(std::remove_if(associated.begin(), associated.end(),
                                        [&rule](const QString& name) {
                                            return !rule.match(MonVariable(name, nullptr));
                                        }),
                         associated.end());
    }
    for (const QString& name : associated)
        lines.emplace_back(
            xVariable == kTime ? database->getAssociatedTimeTransformedVariable(name) : xVariable,
            name);
    return lines;
}

}  // namespace owl
