#pragma once
// index.html: every drawn plot in plot order, each under its title, as the
// SVG picture; a plot whose lines diverged or went NaN is flagged under its
// title and in a list at the top, so that a page scanned among many shows at
// once that its run broke. Under the title, the page says when it was drawn
// and how far the run had got, so that a page left behind by a watcher that
// died cannot pass for a live one. While monplot watches a run, the page
// reloads itself at the watch interval so that a browser left open on it
// follows the run.

#include <string>
#include <vector>

namespace plot {

struct IndexEntry {
    std::string title;
    std::string svgFile;  // relative to the page
    std::string problem;  // lines that diverged or went NaN; empty when none did
};

// reloadSeconds 0 writes a page that does not reload; status is the line
// under the title (drawnStatus). A page without entries says emptyNote;
// axisNote (what the x axis is), when given, stands under the status.
std::string indexPage(const std::string& runName, const std::vector<IndexEntry>& entries,
                      double reloadSeconds, const std::string& status,
                      const std::string& emptyNote = "The run has no plot to show.",
                      const std::string& axisNote = "");

// "Drawn 2026-05-17 14:03:07 +0200, at step 262 (t = 0.131).": the local
// time now and what was drawn ("at step 262 (t = 0.131)", "waiting for the
// run to start").
std::string drawnStatus(const std::string& progress);

// The text with &, <, > and " written as character references.
std::string escapedHtml(const std::string& text);

}  // namespace plot
