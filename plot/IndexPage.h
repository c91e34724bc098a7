#pragma once
// index.html: every drawn plot in plot order, each under its title, as the
// SVG picture. While monplot watches a run, the page reloads itself at the
// watch interval so that a browser left open on it follows the run.

#include <string>
#include <vector>

namespace plot {

struct IndexEntry {
    std::string title;
    std::string svgFile;  // relative to the page
};

// reloadSeconds 0 writes a page that does not reload.
std::string indexPage(const std::string& runName, const std::vector<IndexEntry>& entries,
                      double reloadSeconds);

// The text with &, <, > and " written as character references.
std::string escapedHtml(const std::string& text);

}  // namespace plot
