#pragma once
// What one plot shows, independent of how it is drawn: titles, the scale of
// the Y axis and the lines with their values. kMissing marks a record
// without a value of that line; NaN and ±inf are values the solver wrote,
// and the picture shows them.

#include <cfloat>
#include <cstdint>
#include <string>
#include <vector>

#include "plot/LineValues.h"

namespace plot {

// The run's own mark for "no value here" (a record of another variable).
constexpr float kMissing = FLT_MAX;

// Where a line first holds a value a plain axis cannot show, as step
// numbers; 0 where it holds none.
struct LineEvents {
    int32_t firstNan = 0;
    int32_t firstPlusInf = 0;
    int32_t firstMinusInf = 0;
    int32_t firstNonPositive = 0;  // matters on a logarithmic axis only
    int32_t firstNegative = 0;     // a residual written as its logarithm (SU2)
    bool diverged() const { return firstNan || firstPlusInf || firstMinusInf; }
};

struct FigureLine {
    std::string name;         // shown in the legend
    std::string units;        // declared units, empty when unknown
    bool residual = false;    // a solver residual (category RESIDUAL)
    bool iterations = false;  // a count of linear-solver iterations
    // The plot line it draws: the same for that line of every run drawn
    // over each other, so that they share a panel.
    size_t quantity = 0;
    size_t style = 0;  // colour and dash pattern (LineStyles)
    // Floats, as the run stores them: a long history costs half the memory.
    // X values are stored less xOrigin, so that a time held in double
    // precision (steps of 1e-6 at t = 20 s) keeps its resolution.
    double xOrigin = 0;
    LineValues x;
    LineValues y;  // as long as x
    LineEvents events;
};

struct Figure {
    std::string title;
    std::string xTitle;
    std::string yTitle;
    // The template's scale. Unless the scale is fixed (-log, -linear),
    // residuals with positive values are drawn on a logarithmic axis and
    // iteration counts on a linear one, whatever the template says.
    bool logarithmicY = false;
    bool fixedScale = false;
    // The Y range of every value; else, on a linear axis, the range of the
    // settled part of the history when a start-up transient would squash it.
    bool wholeRange = false;
    std::vector<FigureLine> lines;
};

}  // namespace plot
