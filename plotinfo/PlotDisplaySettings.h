#pragma once
// How a gathered plot is shown: its object's name, its "Window Label", and
// whether its "Visibility" and "Logarithmic Y" read as true. Read from the
// plot's object in the command-language database, for the plot information
// document and for monplot alike.

#include <string>

#include "plotinfo/PlotDefinition.h"

class RCLDatabase;

namespace owl {

struct PlotDisplaySettings {
    std::string name;
    std::string windowLabel;  // empty when the object sets none
    bool visible = false;
    bool logarithmicY = false;
};

PlotDisplaySettings readDisplaySettings(const RCLDatabase& database, const PlotDefinition& plot);

}  // namespace owl
