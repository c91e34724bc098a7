#pragma once
// The values a default plot draws: for every line, one point per time step
// of the run (the step's last coefficient loop), from the line's own X and Y
// variables. A record without a value becomes NaN, which breaks the line.

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

Figure figureOf(const DefaultPlot& plot, const MonDatabase& database, StepRange steps);

}  // namespace plot
