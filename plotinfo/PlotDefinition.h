#pragma once
// One gathered default plot and the ordered collection of them that the plot
// information document is written from.

#include <QString>
#include <map>
#include <utility>
#include <vector>

namespace owl {

struct PlotDefinition {
    QString path;  // command-language path of the plot object
    QString xAxisLabel;
    QString yAxisLabel;                              // always "Variable Value"
    std::vector<std::pair<QString, QString>> lines;  // (X variable, Y variable)
};

// Keyed by (group priority, plot object name): plots come in ascending
// priority, then name. The first plot filed under a key is the one kept.
using PlotDefinitionMap = std::map<std::pair<int, QString>, PlotDefinition>;

}  // namespace owl
