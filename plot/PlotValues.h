#pragma once
// The values a plot draws: for every line, one point per time step of the
// run (the step's last coefficient loop), from the line's own X and Y
// variables. A record without a value becomes kMissing; NaN and ±inf stay
// what they are, and the first step of each is noted for the legend. With
// several runs, each plot line is read from every run, named after it.

#include <QString>
#include <cstdint>

#include "plot/Figure.h"
#include "plot/PlotData.h"

class MonDatabase;

namespace plot {

// The steps drawn, both ends included; 0 leaves an end open.
struct StepRange {
    int32_t first = 0;
    int32_t last = 0;
};

struct LineRequest {
    StepRange steps;
    int32_t lastSteps = 0;  // above 0: only the last that many steps of each run
    QString xVariable;      // not empty: every line against this variable
};

struct NamedRun {
    const MonDatabase* database;
    std::string name;  // added to the legend names when there are several runs
    StepRange steps;   // this run's own steps (a range of its TIME), within the request's
};

Figure figureOf(const DefaultPlot& plot, const std::vector<NamedRun>& runs,
                const LineRequest& request);

// How far a run has got: its last step and the simulation time there, as
// "step 262 (t = 0.131)", or "step 262" without a time; "no records" before
// its first step.
std::string progressOf(const MonDatabase& database);

}  // namespace plot
