#include "plotinfo/PlotInfoXML.h"

#include "libs/mondata/model/VariableLabels.h"
#include "libs/utilities/XMLStreamWriter.h"
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

const std::string& trueOrFalse(bool value) {
    return value ? kTrue : kFalse;
}

// The label of a variable named in a plot, as the plot shows it.
QString preferredLabel(const QString& name) {
    return mon::labelFromName(name);
}

void addAxis(XMLStreamWriter& writer, const std::string& element, const QString& label,
             bool logarithmic) {
    writer.startElement(element);
    writer.addAttribute(kDisplayName, label);
    writer.addAttribute(kLogarithmicScale, trueOrFalse(logarithmic));
    writer.endElement();
}

void addVariable(XMLStreamWriter& writer, const std::string& element, const QString& name) {
    writer.startElement(element);
    writer.addAttribute(kName, name);
    writer.addAttribute(kDisplayName, preferredLabel(name));
    writer.endElement();
}
}  // namespace

PlotInfoXML::PlotInfoXML(RCLDatabase* db) : database(db) {}
PlotInfoXML::~PlotInfoXML() = default;

void PlotInfoXML::writeXML(std::ostream& out, const PlotDefinitionMap& plots) const {
    XMLStreamWriter writer(out, kPlots);
    for (const auto& entry : plots) addPlot(writer, entry.second);
    writer.finish();
}

void PlotInfoXML::addPlot(XMLStreamWriter& writer, const PlotDefinition& plot) const {
    const PlotDisplaySettings settings = readDisplaySettings(*database, plot);
    writer.startElement(kPlot);
    writer.addAttribute(kName, settings.name);
    writer.addAttribute(kDisplayName, settings.windowLabel);
    writer.addAttribute(kVisibilityAttribute, trueOrFalse(settings.visible));
    addAxis(writer, kXAxis, plot.xAxisLabel, false);
    addAxis(writer, kYAxis, plot.yAxisLabel, settings.logarithmicY);
    for (const auto& [xVariable, yVariable] : plot.lines) addLine(writer, xVariable, yVariable);
    writer.endElement();
}

void PlotInfoXML::addLine(XMLStreamWriter& writer, const QString& xVariable,
                          const QString& yVariable) const {
    writer.startElement(kPlotLine);
    addVariable(writer, kXVar, xVariable);
    addVariable(writer, kYVar, yVariable);
    writer.endElement();
}

}  // namespace owl
