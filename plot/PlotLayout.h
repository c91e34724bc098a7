#pragma once
// Lays out and draws one plot: title, frame, axes with nice ticks and their
// labels, grid, the lines (clipped to the frame, reduced to pixel columns)
// and the legend panel on the right. Both back ends draw through this code,
// so the SVG, PNG and PDF pictures are the same.

#include "plot/Canvas.h"
#include "plot/Figure.h"

namespace plot {

struct DrawingOptions {
    double width = 1200;
    double height = 800;
    // Off only to compare against the unreduced picture.
    bool reduceLines = true;
};

void drawFigure(Canvas& canvas, const Figure& figure, const DrawingOptions& options = {});

}  // namespace plot
