#include "monplot/SelectedPlot.h"

#include <algorithm>
#include <memory>

#include "export/VariableSelection.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/rules/MonVariableRule.h"

plot::DefaultPlot selectedPlot(const MonDatabase& database, const PlotOptions& options) {
    // Names are given and matched as the run spells them.
    const exporter::NameBytes names = database.nameEncoding();
    std::unique_ptr<MonVariableRule> rule;
    if (!options.varRule.empty())
        rule = std::make_unique<MonVariableRule>(exporter::nameText(options.varRule, names));
    PreparedData data;
    std::vector<std::string> columns;
    exporter::selectVariables(database, exporter::parseVarList(options.varList), rule.get(), {},
                              data, columns, names);
    plot::DefaultPlot plot;
    plot.name = plot.title = "Selected Variables";
    plot.xTitle = "Accumulated Time Step";
    plot.yTitle = "Variable Value";
    const QString step = QString::fromLatin1(mon::kAccumulatedTimestep.c_str());
    for (const std::string& column : columns) {
        const QString name = exporter::nameText(column, names);
        if (column == mon::kAccumulatedTimestep || column == mon::kCoefficientLoop) continue;
        plot.lines.push_back(
            {step, name, owl::MakeStdString(MonVariable(name, &database).getPreferredLabel())});
    }
    return plot;
}

bool selectionIsLogarithmic(const plot::Figure& figure) {
    return !figure.lines.empty() &&
           std::all_of(figure.lines.begin(), figure.lines.end(), [](const plot::FigureLine& line) {
               return line.residual && line.events.firstNonPositive == 0 &&
                      line.events.firstMinusInf == 0;
           });
}
