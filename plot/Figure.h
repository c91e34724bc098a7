#pragma once
// What one plot shows, independent of how it is drawn: titles, the scale of
// the Y axis and the lines with their values. NaN marks a record without a
// value; it breaks the line.

#include <string>
#include <vector>

namespace plot {

struct FigureLine {
    std::string name;  // shown in the legend
    // Floats, as the run stores them: a long history costs half the memory.
    std::vector<float> x;
    std::vector<float> y;  // as long as x
};

struct Figure {
    std::string title;
    std::string xTitle;
    std::string yTitle;
    bool logarithmicY = false;
    std::vector<FigureLine> lines;
};

}  // namespace plot
