#pragma once
// Writes the command-language text that gives a monitor group its plot in the
// run workspace: one "MONITOR PLOT" object per group that the workspace does
// not plot yet. Derived groups plot the variables of their grouping rules,
// other groups the variables whose group attribute names them.

#include <QString>
#include <map>
#include <set>

class RCLDatabase;

namespace owl {

class GroupRCLGenerator {
  public:
    // workspacePath looks the workspace up ("/MONITOR WORKSPACE: Run");
    // workspaceObject opens it in the generated text ("MONITOR WORKSPACE : Run").
    GroupRCLGenerator(const QString& workspacePath, const QString& workspaceObject,
                      RCLDatabase* database);
    virtual ~GroupRCLGenerator();

    // The text that defines the plot of the group, with the given parameters
    // added to (or replacing) the generated ones; empty when the workspace
    // already has a plot of the group.
    QString generateRCL(const QString& group, const std::map<QString, QString>& parameters);

    // The group name without the qualifiers that plots of one group add to
    // it: trailing " (RMS)", " (MAX)" and " (Time Transformed)", any number
    // of them, in any order.
    static QString removeSuffixesFromGroupName(const QString& group);

  private:
    bool workspacePlotsGroup(const QString& group) const;
    const std::set<QString>& plottedGroups() const;
    QString variableRuleFor(const QString& group) const;
    QString uniqueObjectName(const QString& group);
    std::map<QString, QString> plotParameters(const QString& group) const;

    QString workspacePath_;
    QString workspaceObject_;
    RCLDatabase* database_;
    std::set<QString> issuedNames_;  // plot names handed out by this generator
    // The groups the workspace's plots show (suffixes removed), as of the
    // database revision plottedRevision_: a run has a plot per group, and
    // each would otherwise look at every plot.
    mutable std::set<QString> plottedGroups_;
    mutable unsigned long plottedRevision_ = 0;
    mutable bool plottedKnown_ = false;
};

}  // namespace owl
