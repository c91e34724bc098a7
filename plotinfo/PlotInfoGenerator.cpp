#include "plotinfo/PlotInfoGenerator.h"

#include "libs/exception/Error.h"

namespace owl {

PlotInfoGenerator::PlotInfoGenerator(MonDatabase* db) : database(db) {}
PlotInfoGenerator::~PlotInfoGenerator() = default;

void PlotInfoGenerator::outputPlotData(std::ostream&) {
    throw internal::error("RunHistoryWriter", "outputPlotData",
                          "The plot information document is not available yet.", errorFatal);
}

}  // namespace owl
