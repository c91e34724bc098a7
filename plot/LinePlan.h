#pragma once
// How each line of a plot is drawn, decided before the panels are:
//   - its scale: residuals whose values are all positive (final residuals
//     of a solverInfo function object too) on a logarithmic axis, iteration
//     counts on a linear one, the rest as the template says; -log and
//     -linear fix the scale of every line;
//   - whether it is round-off: on a linear axis, a line whose every value
//     is below 1e-12 of the largest magnitude among the plot's linear lines
//     of the same units (a probe's U_z of 2.7e-28 beside U_x of 10) is drawn
//     as zero, and the legend says so;
//   - its statistics on that scale (those of zero for a round-off line).
// The panels (Panels) then place the lines and mark the clipped ones.

#include <vector>

#include "plot/Figure.h"
#include "plot/LineStats.h"

namespace plot {

struct LinePlan {
    LineStats stats;
    bool logarithmic = false;
    double roundOff = 0;   // above 0: drawn as zero; its largest absolute value
    bool clipped = false;  // values beyond its panel's range (a start-up transient)
};

std::vector<LinePlan> linePlans(const Figure& figure);

// Whether the line goes on a logarithmic axis.
bool drawnLogarithmic(const Figure& figure, const FigureLine& line);

}  // namespace plot
