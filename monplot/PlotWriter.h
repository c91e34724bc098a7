#pragma once
// One drawing pass of monplot: gathers the run's default plots, picks those
// asked for (-plot names, else the visible ones, or all with -all) and writes
// FOLDER/<plot>.svg, the PNGs and the PDF when asked, and FOLDER/index.html.

#include <string>
#include <vector>

#include "monplot/PlotOptions.h"
#include "plot/PlotData.h"

class MonDatabase;

class PlotWriter {
  public:
    PlotWriter(const PlotOptions& options, std::string templateDirectory);

    // Throws owl::Error for a -plot name the run does not have (listing the
    // names it has), before anything is written, and for a folder or files
    // that cannot be written.
    void write(MonDatabase& database) const;

  private:
    // Creates the output folder if needed.
    void prepareFolder() const;
    std::vector<size_t> selectPlots(const std::vector<plot::DefaultPlot>& plots) const;
    std::string file(const std::string& name) const;

    PlotOptions options_;
    std::string templateDirectory_;
};
