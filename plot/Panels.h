#pragma once
// How a plot's lines share value axes. Lines that cannot be read on one
// linear axis are drawn in stacked panels sharing the X axis:
//   - lines of different declared units go to different panels (lines
//     without units form a panel of their own);
//   - within one unit, lines whose settled magnitudes (the largest absolute
//     value of the last 80% of their records) differ by more than a factor
//     of 30 go to different panels, smallest magnitudes first;
//   - at most four panels: beyond that, the split by magnitude is dropped,
//     and beyond that again, all lines share one axis.
// A logarithmic axis spans magnitudes by itself: it always has one panel.
// Each panel's value range is the range of its lines' values, or of their
// settled part when the whole range is more than four times as wide (a
// start-up transient would flatten the rest), a line has at least 20
// values, and the whole range was not asked for.

#include <string>
#include <vector>

#include "plot/Figure.h"
#include "plot/LineStats.h"

namespace plot {

struct Panel {
    std::vector<size_t> lines;  // indices into Figure::lines, ascending
    Range values;               // the value range the axis must show
    std::string yTitle;
};

std::vector<Panel> panelsOf(const Figure& figure, const std::vector<LineStats>& stats);

// The title of a value axis: "log10 residual" for residuals drawn as their
// logarithms (negative values on a linear axis), the plot's title with the
// units in brackets when every line declares the same, else the plot's.
std::string valueTitle(const Figure& figure, const std::vector<size_t>& lines, const Range& values);

}  // namespace plot
