#pragma once

#include <ostream>

class MonDatabase;

namespace owl {

// Gathers the run's default monitor plots for the -plotinfo document.
class PlotInfoGenerator {
public:
    explicit PlotInfoGenerator(MonDatabase* database);
    virtual ~PlotInfoGenerator();
    void outputPlotData(std::ostream& out);

private:
    MonDatabase* database;
};

}  // namespace owl
