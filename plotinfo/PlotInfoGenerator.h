#pragma once
// Gathers the run's default monitor plots (for the -plotinfo document and for
// monplot's pictures): loads the workspace template, completes it with a plot per
// monitor group of the run, and collects every plot whose rules match
// variables, ordered by group priority and name.

#include <QString>
#include <QStringList>
#include <map>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "libs/rcl/ParamMap.h"
#include "plotinfo/PlotDefinition.h"

class MonDatabase;
class MonVariable;
class MonVariableRule;
class RCLDatabase;

namespace owl {

class VariablesByGroup;

class PlotInfoGenerator {
  public:
    // The database is the exporter's; it must not be null and is not owned.
    explicit PlotInfoGenerator(MonDatabase* database);
    virtual ~PlotInfoGenerator();

    // Writes the plot information document and one line end to out.
    void outputPlotData(std::ostream& out);

    // Loads the template workspace-basic.mst from the directory into the
    // command-language database, completes it with a plot per monitor group
    // of the run and gathers every plot that shows variables. The plots'
    // objects stay in RCLDatabase::instance() for their display settings.
    PlotDefinitionMap gatherPlots(const QString& templateDirectory);

  private:
    std::set<QString> collectGroupNames(RCLDatabase* rcl,
                                        const std::vector<MonVariable>& variables) const;
    void gatherPlot(RCLDatabase* rcl, const QString& type, const QString& name,
                    const VariablesByGroup& variables,
                    const std::multimap<int, QString>& priorities, PlotDefinitionMap& plots) const;
    std::vector<std::pair<QString, QString>> plotLines(const ParamMap& parameters,
                                                       const QString& xVariable,
                                                       const QStringList& matched) const;
    std::vector<std::pair<QString, QString>> timeTransformedLines(const ParamMap& parameters,
                                                                  const QString& xVariable,
                                                                  const QStringList& matched) const;

    MonDatabase* database;
};

}  // namespace owl
