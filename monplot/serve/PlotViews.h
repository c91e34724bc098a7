#pragma once
// The run page's plots as JSON, for the browser to draw: the same plots as
// monplot's pictures (the template's default plots, or the -varlist/-varrule
// plot), with the same lines, colours and dashes, panels, value titles, log
// axes and notes, then each plot's values on request, reduced to what the
// pixels of the asked range show:
//   - describe(): per plot its titles, scale, panels (lines, value range,
//     title) and lines (name, note, colour, dash, run);
//   - values(): per line its points within [from, to] (and one beyond each
//     end), reduced to the first, lowest, highest and last point of each
//     column px wide (px 0: every point), only steps after `after` when
//     asked (the part a page lacks), nulls where the line breaks, and
//     markers at the first step of each stretch of nan, +inf, -inf (and
//     of values <= 0 on a log axis). With smoothing w in (0, 1), also the
//     exponential moving average s = w s + (1 - w) y over the whole
//     history (of log10 y on a log axis), reduced the same way; and the
//     step of each point when X is a time, else its TIME ("companion"),
//     for the values under the cursor.
// Several runs overlay: each plot line of every run, same colour per line,
// another dash per run, as monplot draws them.

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "monplot/PlotOptions.h"
#include "monplot/serve/LineBlocks.h"
#include "monplot/serve/SharedResults.h"
#include "plot/Figure.h"
#include "plot/LinePlan.h"
#include "plot/PlotData.h"
#include "plot/PlotValues.h"

class MonDatabase;

namespace serve {

class JsonWriter;

struct ViewRun {
    std::string id;
    std::string name;
    std::shared_ptr<MonDatabase> database;
};

struct PlotQuery {
    size_t plot = 0;
    std::string xVariable;  // empty: the plot's own (or -x)
    int32_t lastSteps = 0;  // 0: -last, or all
    int32_t after = 0;      // above 0: only steps after this one
    int scale = -1;         // -1: as the plot says (or -log/-linear); 0 linear; 1 log
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();
    double px = 0;         // X units per column; 0: every point
    double columns = 0;    // with px 0: that many columns across the range drawn
    double smoothing = 0;  // EMA weight, 0: none
};

class PlotViews {
  public:
    PlotViews(const PlotOptions& options, std::string templateDirectory);

    // The plots shown for these runs (those of the first), with their
    // lines; throws owl::Error for a template that cannot be read.
    std::vector<plot::DefaultPlot> plotsOf(MonDatabase& first) const;
    std::string describe(const std::vector<ViewRun>& runs, const PlotQuery& query) const;
    // Throws owl::Error for a plot index beyond the plots or an unknown X
    // variable.
    std::string values(const std::vector<ViewRun>& runs, const PlotQuery& query) const;

    // A plot's figure over the whole history with its lines' statistics,
    // kept while its runs' readings are current: zooms and the other plots
    // of a page then only reduce. Its lines view the readings' values: it is
    // used only while they are held (the cache and each request hold them).
    struct Drawn {
        std::string key;  // names the runs' readings by address
        plot::Figure figure;
        std::vector<plot::LinePlan> plans;  // as monplot draws the lines
        std::vector<std::vector<LineBlock>> blocks;  // per line
    };

  private:
    // The step of each point when X is a time, else the TIME of each point,
    // for the values under the cursor; nothing when the run has no such
    // variable.
    void writeCompanion(JsonWriter& json, const std::vector<ViewRun>& runs, const PlotQuery& query,
                        const plot::DefaultPlot& plot) const;
    std::shared_ptr<const std::vector<plot::DefaultPlot>> cachedPlots(
        const std::vector<ViewRun>& runs) const;
    std::shared_ptr<const Drawn> drawn(const std::vector<ViewRun>& runs, const PlotQuery& query,
                                       const plot::DefaultPlot& plot) const;

    PlotOptions options_;
    std::string templateDirectory_;
    // By the first run's reading.
    mutable SharedResults<std::shared_ptr<const std::vector<plot::DefaultPlot>>> plots_{8};
    mutable SharedResults<std::shared_ptr<const Drawn>> drawn_{16};
    // By the readings drawn: the X values their figures share.
    mutable SharedResults<std::shared_ptr<plot::SharedXValues>> xValues_{8};
    // The companion line reduced, by its figure and range: the same for
    // every plot of a page, which asks for each plot apart.
    mutable SharedResults<std::string> companions_{8};
};

}  // namespace serve
