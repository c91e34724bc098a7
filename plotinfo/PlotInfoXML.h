#pragma once
// Writes the gathered plots as the plot information document (root "Plots";
// elements in docs/plotinfo.md), with each plot's display settings read
// from its object in the command-language database (PlotDisplaySettings).

#include <ostream>

#include "plotinfo/PlotDefinition.h"

class RCLDatabase;

namespace owl {

class XMLStreamWriter;

class PlotInfoXML {
  public:
    // The database is only read and is not owned.
    explicit PlotInfoXML(RCLDatabase* database);
    virtual ~PlotInfoXML();

    // Streams the whole document to out, in the map's order, without a final
    // line end.
    void writeXML(std::ostream& out, const PlotDefinitionMap& plots) const;

  private:
    void addPlot(XMLStreamWriter& writer, const PlotDefinition& plot) const;
    void addLine(XMLStreamWriter& writer, const QString& xVariable, const QString& yVariable) const;

    RCLDatabase* database;
};

}  // namespace owl
