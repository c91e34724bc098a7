#pragma once
// Lays out and draws one plot: title, one or more stacked panels sharing the
// X axis (Panels), each with its value axis, nice ticks, labels and grid,
// the lines with their markers (LineDrawing) and the legend panel on the
// right, whose names carry each line's notes (LineNotes). Both back ends
// draw through this code, so the SVG, PNG and PDF pictures are the same.

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
