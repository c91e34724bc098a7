#pragma once
// The run's default plots as monplot draws them, gathered by the same code
// that writes the -plotinfo document (PlotInfoGenerator): same template,
// groups, order, axis titles, logarithmic scales, lines and visibility;
// but each quantity is drawn once: in a case with a solver log, the
// residuals and iteration counts of a residuals or solverInfo function
// object (the same numbers) are left out, and plots left without lines go.
// Tables keep both.

#include <QString>
#include <string>
#include <vector>

class MonDatabase;

namespace plot {

struct PlotLineSource {
    QString xVariable;
    QString yVariable;
    std::string label;  // the Y variable's display name
};

struct DefaultPlot {
    std::string name;   // the plot object's name
    std::string title;  // its window label, or its name when it has none
    bool visible = true;
    bool logarithmicY = false;
    std::string xTitle;
    std::string yTitle;
    std::vector<PlotLineSource> lines;
};

// The plots in plot order. The template is workspace-basic.mst in the
// directory; a template that cannot be read throws owl::Error naming it.
std::vector<DefaultPlot> gatherDefaultPlots(MonDatabase& database,
                                            const QString& templateDirectory);

}  // namespace plot
