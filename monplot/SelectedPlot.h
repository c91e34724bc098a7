#pragma once
// The plot of -varlist and -varrule: one plot, "Selected Variables", of the
// variables chosen exactly as monexport chooses a table's columns (the
// listed names in order, then the rule's matches in run order), each
// against the accumulated time step. It is drawn instead of the default
// plots.

#include "monplot/PlotOptions.h"
#include "plot/Figure.h"
#include "plot/PlotData.h"

class MonDatabase;

// Throws owl::Error naming every listed variable the run lacks.
plot::DefaultPlot selectedPlot(const MonDatabase& database, const PlotOptions& options);

// Its value axis, unless forced: logarithmic when every line is a residual
// whose values are all positive, linear otherwise.
bool selectionIsLogarithmic(const plot::Figure& figure);
