#pragma once
// index.html: every drawn plot in plot order, each under its title, as the
// SVG picture; a plot whose lines diverged or went NaN is flagged under its
// title and in a list at the top, so that a page scanned among many shows at
// once that its run broke. While monplot watches a run, the page reloads itself at the
// watch interval so that a browser left open on it follows the run.

#include <string>
#include <vector>

namespace plot {

struct IndexEntry {
    std::string title;
    std::string svgFile;  // relative to the page
    std::string problem;  // lines that diverged or went NaN; empty when none did
};

// reloadSeconds 0 writes a page that does not reload. A page without
// entries says emptyNote; axisNote (what the x axis is), when given, stands
// under the title.
std::string indexPage(const std::string& runName, const std::vector<IndexEntry>& entries,
                      double reloadSeconds,
                      const std::string& emptyNote = "The run has no plot to show.",
                      const std::string& axisNote = "");

// The text with &, <, > and " written as character references.
std::string escapedHtml(const std::string& text);

}  // namespace plot
