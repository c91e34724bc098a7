#include "plotinfo/PlotInfoXML.h"

#include <utility>
#include <vector>

#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/MonVariable.h"
#include "libs/utilities/XMLDocument.h"
#include "plotinfo/PlotDisplaySettings.h"

namespace owl {

namespace {
const std::string kPlots = "Plots";
const std::string kPlot = "Plot";
const std::string kXAxis = "XAxis";
const std::string kYAxis = "YAxis";
const std::string kPlotLine = "PlotLine";
const std::string kXVar = "XVar";
const std::string kYVar = "YVar";
const std::string kName = "Name";
const std::string kDisplayName = "DisplayName";
const std::string kVisibilityAttribute = "Visibility";
const std::string kLogarithmicScale = "LogarithmicScale";
const std::string kTrue = "true";
const std::string kFalse = "false";

using Path = std::vector<XMLElement>;

Path pathOf(std::initializer_list<const std::string*> names) {
    Path path;
    for (const std::string* name : names) path.emplace_back(*name);
    return path;
}

const std::string& trueOrFalse(bool value) {
    return value ? kTrue : kFalse;
}

std::string preferredLabel(const QString& name) {
    return MakeStdString(MonVariable(name, nullptr).getPreferredLabel());
}
}  // namespace

PlotInfoXML::PlotInfoXML(RCLDatabase* db) : database(db) {}
PlotInfoXML::~PlotInfoXML() = default;

std::string PlotInfoXML::generateXML(const PlotDefinitionMap& plots) const {
    XMLDocument document;
    document.startDocument(kPlots);
    document.createDuplicateElements(true);
    for (const auto& entry : plots) addPlot(document, entry.second);
    return document.writeDocumentString();
}

void PlotInfoXML::addPlot(XMLDocument& document, const PlotDefinition& plot) const {
    const PlotDisplaySettings settings = readDisplaySettings(*database, plot);
    const Path plotPath = pathOf({&kPlots, &kPlot});
    document.addElement(plotPath, "");
    document.addAttribute(plotPath, {kName, settings.name});
    document.addAttribute(plotPath, {kDisplayName, settings.windowLabel});
    document.addAttribute(plotPath, {kVisibilityAttribute, trueOrFalse(settings.visible)});
    const Path xAxis = pathOf({&kPlots, &kPlot, &kXAxis});
    document.addElement(xAxis, "");
    document.addAttribute(xAxis, {kDisplayName, MakeStdString(plot.xAxisLabel)});
    document.addAttribute(xAxis, {kLogarithmicScale, kFalse});
    const Path yAxis = pathOf({&kPlots, &kPlot, &kYAxis});
    document.addElement(yAxis, "");
    document.addAttribute(yAxis, {kDisplayName, MakeStdString(plot.yAxisLabel)});
    document.addAttribute(yAxis, {kLogarithmicScale, trueOrFalse(settings.logarithmicY)});
    for (const auto& [xVariable, yVariable] : plot.lines) addLine(document, xVariable, yVariable);
}

void PlotInfoXML::addLine(XMLDocument& document, const QString& xVariable,
                          const QString& yVariable) const {
    document.addElement(pathOf({&kPlots, &kPlot, &kPlotLine}), "");
    const Path xVar = pathOf({&kPlots, &kPlot, &kPlotLine, &kXVar});
    document.addElement(xVar, "");
    document.addAttribute(xVar, {kName, MakeStdString(xVariable)});
    document.addAttribute(xVar, {kDisplayName, preferredLabel(xVariable)});
    const Path yVar = pathOf({&kPlots, &kPlot, &kPlotLine, &kYVar});
    document.addElement(yVar, "");
    document.addAttribute(yVar, {kName, MakeStdString(yVariable)});
    document.addAttribute(yVar, {kDisplayName, preferredLabel(yVariable)});
}

}  // namespace owl
