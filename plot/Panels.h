#pragma once
// How a plot's lines share value axes, stacked in panels sharing the X
// axis:
//   - the lines on a logarithmic scale (LinePlan) share one panel on top: a
//     logarithmic axis spans magnitudes by itself;
//   - the linear lines are split by quantity, the plot line each draws, so
//     that several runs drawn over each other get the panels one run gets:
//     quantities of different declared units go to different panels
//     (quantities without units form a panel of their own), and within one
//     unit, quantities whose settled magnitudes (the largest absolute value
//     of the last 80% of their records, over every run) differ by more than
//     a factor of 30 go to different panels, smallest magnitudes first;
//   - lines at zero (round-off ones included) join the smallest panel of
//     their units whose range would at most double to take in zero, or
//     form one of their own;
//   - at most four panels: beyond that, the split by magnitude is dropped,
//     and beyond that again, all linear lines share one axis.
// Each panel's value range is the range of its lines' values, or of their
// settled part when the whole range is more than four times as wide (a
// start-up transient would flatten the rest), a line has at least 20
// values, and the whole range was not asked for. Iteration counts are read
// from zero, on whole steps, start-up included. A range flat to round-off
// (narrower than 1e-5 of its magnitude) is that of a constant; one narrower
// than 1e-4 of its magnitude is widened to that, so that no tick label
// needs more than six significant digits. Lines with values beyond their
// panel's axis are marked clipped.

#include <string>
#include <vector>

#include "plot/AxisTicks.h"
#include "plot/Figure.h"
#include "plot/LinePlan.h"

namespace plot {

struct Panel {
    std::vector<size_t> lines;  // indices into Figure::lines, ascending
    bool logarithmic = false;
    Range values;  // the value range the axis must show
    Axis axis;     // the value axis, with room around the values
    std::string yTitle;
};

// Sets LinePlan::clipped of the lines.
std::vector<Panel> panelsOf(const Figure& figure, std::vector<LinePlan>& lines);

// The title of a value axis: "log10 residual" for residuals drawn as their
// logarithms (negative values on a linear axis); the quantity of the units
// with the units in brackets when every line declares the same ("Force
// [N]", "Time [s]", "Value [m/s^2]"); "Residual" for residuals on a
// logarithmic axis; "Iterations" for iteration counts; else the plot's.
std::string valueTitle(const Figure& figure, const std::vector<size_t>& lines, const Range& values,
                       bool logarithmic);

}  // namespace plot
