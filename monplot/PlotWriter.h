#pragma once
// One drawing pass of monplot: gathers the default plots of the first run
// (or the plot of -varlist/-varrule instead), picks those asked for (-plot
// names, else the visible ones, or all with -all), reads each plot's lines
// from every run and writes FOLDER/<plot>.svg, the PNGs and the PDF when
// asked, and FOLDER/index.html.

#include <memory>
#include <string>
#include <vector>

#include "monplot/PlotOptions.h"
#include "plot/Figure.h"
#include "plot/PlotData.h"
#include "plot/PlotValues.h"

class MonDatabase;

class PlotWriter {
  public:
    PlotWriter(const PlotOptions& options, std::string templateDirectory);

    // Throws owl::Error for a -plot name the run does not have (listing the
    // names it has) or an -x variable it lacks, before anything is written,
    // and for a folder or files that cannot be written. Returns how far the
    // runs had got ("at step 262 (t = 0.131)"; with several runs, each
    // followed by "of" and its name), which the index page shows too; runs
    // without any record yet get the page of writeWaiting, and "".
    std::string write(const std::vector<std::unique_ptr<MonDatabase>>& runs) const;
    // An index page saying that the run has not started, and why.
    void writeWaiting(const std::string& reason) const;

  private:
    // Creates the output folder if needed.
    void prepareFolder() const;
    std::vector<plot::DefaultPlot> plotsOf(MonDatabase& run) const;
    std::vector<size_t> selectPlots(const std::vector<plot::DefaultPlot>& plots) const;
    // The runs as the plots name them, each with its steps of -firsttime
    // and -lasttime (throws for a run without TIME).
    std::vector<plot::NamedRun> namedRuns(
        const std::vector<std::unique_ptr<MonDatabase>>& runs) const;
    plot::Figure figureOf(const plot::DefaultPlot& plot, const std::vector<plot::NamedRun>& named,
                          const std::string& xVariable) const;
    std::string file(const std::string& name) const;
    // The variable every line is drawn against (empty: each plot's own).
    std::string xVariableFor(const std::vector<std::unique_ptr<MonDatabase>>& runs) const;
    // What the index page says of the x axis.
    std::string axisNote(const std::string& xVariable, const MonDatabase& run) const;

    PlotOptions options_;
    std::string templateDirectory_;
    std::vector<std::string> runNames_;
};
