#include "plot/PlotData.h"

#include <algorithm>
#include <mutex>

#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/model/VariableInfo.h"
#include "libs/rcl/RCLDatabase.h"
#include "plotinfo/PlotDisplaySettings.h"
#include "plotinfo/PlotInfoGenerator.h"

namespace plot {

namespace {
QString attribute(const MonDatabase& database, const QString& variable, const char* key) {
    const mon::VariableInfo* info = database.variableInfo(variable);
    return info ? info->attribute(QLatin1String(key)) : QString();
}

bool isResidualOrIterations(const MonDatabase& database, const QString& variable) {
    const QString category = attribute(database, variable, "category");
    return category == QLatin1String("RESIDUAL") || category == QLatin1String("SOLVER");
}

// Residuals and iteration counts of a residuals or solverInfo function
// object: the numbers the solver log of the same case holds.
bool fromFunctionObject(const MonDatabase& database, const QString& variable) {
    return isResidualOrIterations(database, variable) &&
           !attribute(database, variable, "function-object").isEmpty();
}

// Whether the run has residuals of its own (a solver log), beside any a
// function object wrote.
bool hasSolverResiduals(const MonDatabase& database) {
    for (const MonVariable& variable : database.getVariableList())
        if (isResidualOrIterations(database, variable.getName()) &&
            !fromFunctionObject(database, variable.getName()))
            return true;
    return false;
}

// Each quantity drawn once: where the case has a solver log, its residuals
// and iteration counts, not those of a function object too. Plots left
// without lines go.
void dropFunctionObjectResiduals(const MonDatabase& database, std::vector<DefaultPlot>& plots) {
    if (!hasSolverResiduals(database)) return;
    for (DefaultPlot& plot : plots)
        plot.lines.erase(std::remove_if(plot.lines.begin(), plot.lines.end(),
                                        [&database](const PlotLineSource& line) {
                                            return fromFunctionObject(database, line.yVariable);
                                        }),
                         plot.lines.end());
    plots.erase(std::remove_if(plots.begin(), plots.end(),
                               [](const DefaultPlot& plot) { return plot.lines.empty(); }),
                plots.end());
}

DefaultPlot describe(const owl::PlotDefinition& definition) {
    const owl::PlotDisplaySettings settings =
        owl::readDisplaySettings(*RCLDatabase::instance(), definition);
    DefaultPlot plot;
    plot.name = settings.name;
    plot.title = settings.windowLabel.empty() ? settings.name : settings.windowLabel;
    plot.visible = settings.visible;
    plot.logarithmicY = settings.logarithmicY;
    plot.xTitle = owl::MakeStdString(definition.xAxisLabel);
    plot.yTitle = owl::MakeStdString(definition.yAxisLabel);
    for (const auto& [xVariable, yVariable] : definition.lines)
        plot.lines.push_back(
            {xVariable, yVariable,
             owl::MakeStdString(MonVariable(yVariable, nullptr).getPreferredLabel())});
    return plot;
}
}  // namespace

std::vector<DefaultPlot> gatherDefaultPlots(MonDatabase& database,
                                            const QString& templateDirectory) {
    // The template is read into the process's one RCL database: one run's
    // plots at a time (the dashboard gathers them on several threads).
    static std::mutex templateInUse;
    std::lock_guard<std::mutex> lock(templateInUse);
    const owl::PlotDefinitionMap definitions =
        owl::PlotInfoGenerator(&database).gatherPlots(templateDirectory);
    std::vector<DefaultPlot> plots;
    for (const auto& entry : definitions) plots.push_back(describe(entry.second));
    dropFunctionObjectResiduals(database, plots);
    return plots;
}

}  // namespace plot
