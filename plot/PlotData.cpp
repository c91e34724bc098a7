#include "plot/PlotData.h"

#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/rcl/RCLDatabase.h"
#include "plotinfo/PlotDisplaySettings.h"
#include "plotinfo/PlotInfoGenerator.h"

namespace plot {

namespace {
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
    const owl::PlotDefinitionMap definitions =
        owl::PlotInfoGenerator(&database).gatherPlots(templateDirectory);
    std::vector<DefaultPlot> plots;
    for (const auto& entry : definitions) plots.push_back(describe(entry.second));
    return plots;
}

}  // namespace plot
