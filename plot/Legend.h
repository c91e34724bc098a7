#pragma once
// The legend panel beside the plot: one entry per line (a stroke sample and
// the line's name), in columns when one column would not fit the height.
// Many lines shrink the font and shorten long names, so that fifty entries
// still fit and stay readable.

#include <string>
#include <vector>

#include "plot/Canvas.h"

namespace plot {

struct LegendLayout {
    double fontSize = 12;
    double rowHeight = 17;
    double columnWidth = 0;
    int rows = 0;
    size_t maxCharacters = 0;  // names longer than this are shortened
    int columns(size_t entries) const;
    // The panel's width for that many entries, padding included.
    double panelWidth(size_t entries) const;
};

// Fits the names into a panel at most maxWidth wide and height high.
LegendLayout layoutLegend(const std::vector<std::string>& names, double maxWidth, double height);

// Draws the entries with their strokes (LineStyles, by style index) from
// (left, top).
void drawLegend(Canvas& canvas, const LegendLayout& layout, const std::vector<std::string>& names,
                const std::vector<size_t>& styles, double left, double top);

// About how wide a text is in the plot font: DejaVu Sans averages 0.6 em.
double estimatedTextWidth(const std::string& utf8, double fontSize);
// The text cut to at most maxCharacters characters, ending in "…" when cut.
std::string shortened(const std::string& utf8, size_t maxCharacters);

}  // namespace plot
