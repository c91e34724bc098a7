#include "libs/rcl/GroupRCLGenerator.h"

#include "libs/rcl/OVRCLUtils.h"
#include "libs/rcl/RCLDatabase.h"
#include "libs/rcl/RCLText.h"

namespace owl {

namespace {
const QString kPlotType = QStringLiteral("MONITOR PLOT");
const QString kMonitorGroup = QStringLiteral("Monitor Group");
const QString kGroupingRuleType = QStringLiteral("GROUPING RULE");
const QString kVariableRule = QStringLiteral("Variable Rule");
const QString kEnd = QStringLiteral("END\n");
const QLatin1String kSuffixes[] = {QLatin1String("(RMS)"), QLatin1String("(MAX)"),
                                   QLatin1String("(Time Transformed)")};

// The group name as a quoted text of the variable-rule language, in which
// '*' and '?' are wildcards unless escaped.
QString ruleText(const QString& text) {
    QString quoted = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"') || c == QLatin1Char('*') ||
            c == QLatin1Char('?'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString joinedRules(const std::vector<QString>& rules) {
    if (rules.size() == 1) return rules.front();
    QString joined;
    for (const QString& rule : rules)
        joined += (joined.isEmpty() ? QString() : QStringLiteral(" or ")) + QLatin1Char('(') +
                  rule + QLatin1Char(')');
    return joined;
}
}  // namespace

GroupRCLGenerator::GroupRCLGenerator(const QString& workspacePath, const QString& workspaceObject,
                                     RCLDatabase* database)
    : workspacePath_(workspacePath), workspaceObject_(workspaceObject), database_(database) {}

GroupRCLGenerator::~GroupRCLGenerator() = default;

QString GroupRCLGenerator::generateRCL(const QString& group,
                                       const std::map<QString, QString>& parameters) {
    if (workspacePlotsGroup(group)) return QString();
    std::map<QString, QString> all = plotParameters(group);
    for (const auto& [name, value] : parameters) all[name] = value;
    QString text = workspaceObject_ + QLatin1Char('\n');
    text += kPlotType + QStringLiteral(": ") + uniqueObjectName(group) + QLatin1Char('\n');
    for (const auto& [name, value] : all)
        text += rclObjectName(name, QStringLiteral("Parameter")) + QStringLiteral(" = ") +
                rclValue(value) + QLatin1Char('\n');
    return text + kEnd + kEnd;
}

std::map<QString, QString> GroupRCLGenerator::plotParameters(const QString& group) const {
    return {{QStringLiteral("Window Label"), group},
            {kMonitorGroup, group},
            {kVariableRule, variableRuleFor(group)},
            {QStringLiteral("Visibility"), QStringLiteral("true")},
            {QStringLiteral("Logarithmic Y"), QStringLiteral("false")},
            {QStringLiteral("Plot Data By"), QStringLiteral("Time Step")}};
}

QString GroupRCLGenerator::removeSuffixesFromGroupName(const QString& group) {
    QString name = group.trimmed();
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const QLatin1String& suffix : kSuffixes) {
            if (name.endsWith(suffix) && name.size() > suffix.size()) {
                name = name.left(name.size() - suffix.size()).trimmed();
                stripped = true;
            }
        }
    }
    return name;
}

bool GroupRCLGenerator::workspacePlotsGroup(const QString& group) const {
    return plottedGroups().count(removeSuffixesFromGroupName(group)) > 0;
}

const std::set<QString>& GroupRCLGenerator::plottedGroups() const {
    if (plottedKnown_ && plottedRevision_ == database_->revision()) return plottedGroups_;
    plottedGroups_.clear();
    for (const QString& type : OVRCLUtils::getKnownPlotMonitorTypes()) {
        for (const QString& name : database_->getObjectsByTypeAndPath(type, workspacePath_)) {
            const ParamMap parameters =
                database_->getObjectParameters(rclChildPath(workspacePath_, type, name), false);
            const auto plotted = parameters.find(kMonitorGroup);
            if (plotted != parameters.end())
                plottedGroups_.insert(removeSuffixesFromGroupName(plotted->second));
        }
    }
    plottedRevision_ = database_->revision();
    plottedKnown_ = true;
    return plottedGroups_;
}

// Derived groups select their variables by their grouping rules, every other
// group by the variables' group attribute.
QString GroupRCLGenerator::variableRuleFor(const QString& group) const {
    const QString rulePath = rclChildPath(workspacePath_, kGroupingRuleType, group);
    if (!group.contains(QLatin1Char('/')) && database_->hasObject(rulePath)) {
        const std::vector<QString> rules =
            OVRCLUtils::getGroupingRuleTexts(database_->getObjectParameters(rulePath, false));
        if (!rules.empty()) return joinedRules(rules);
    }
    return QStringLiteral("GROUP = ") + ruleText(group);
}

// Names may not hold '/' or line breaks, and two groups may clean up to the
// same name: a number keeps their plots apart.
QString GroupRCLGenerator::uniqueObjectName(const QString& group) {
    const QString base = rclObjectName(group, QStringLiteral("Monitor Group"));
    QString name = base;
    for (int n = 2; issuedNames_.count(name) ||
                    database_->hasObject(rclChildPath(workspacePath_, kPlotType, name));
         ++n)
        name = base + QLatin1Char(' ') + QString::number(n);
    issuedNames_.insert(name);
    return name;
}

}  // namespace owl
