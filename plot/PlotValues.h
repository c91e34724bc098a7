#pragma once
// The values a plot draws: for every line, one point per time step of the
// run (the step's last coefficient loop), from the line's own X and Y
// variables. A record without a value becomes kMissing; NaN and ±inf stay
// what they are, and the first step of each is noted for the legend. With
// several runs, each plot line is read from every run, named after it.

#include <QString>
#include <cstdint>
#include <mutex>
#include <vector>

#include "plot/Figure.h"
#include "plot/PlotData.h"

class MonDatabase;
class TimestepData;
namespace mon {
class RowIndex;
}

namespace plot {

// The steps drawn, both ends included; 0 leaves an end open.
struct StepRange {
    int32_t first = 0;
    int32_t last = 0;
};

// The X values of lines that have the same X variable and steps, which are
// the same values: made once and shared by the lines of a figure, or of all
// the figures of a reading when the caller gives one to each. Safe to use
// from several threads at once; not to outlive the runs.
class SharedXValues {
  public:
    // Sets the line's X (and origin) to those of x at the positions [first, end).
    void set(FigureLine& line, const TimestepData& x, const mon::RowIndex& rows, int first,
             int end);

  private:
    struct Known {
        const TimestepData* variable;
        const mon::RowIndex* rows;
        int first, end;
        LineValues values;
        double origin;
    };
    std::mutex mutex_;
    std::vector<Known> known_;
};

struct LineRequest {
    StepRange steps;
    int32_t lastSteps = 0;             // above 0: only the last that many steps of each run
    QString xVariable;                 // not empty: every line against this variable
    SharedXValues* sharedX = nullptr;  // none: the figure's lines share theirs
};

struct NamedRun {
    const MonDatabase* database;
    std::string name;  // added to the legend names when there are several runs
    StepRange steps;   // this run's own steps (a range of its TIME), within the request's
};

Figure figureOf(const DefaultPlot& plot, const std::vector<NamedRun>& runs,
                const LineRequest& request);

// How far a run has got: its last step and the simulation time there, as
// "step 262 (t = 0.131)", or "step 262" without a time; "no records" before
// its first step.
std::string progressOf(const MonDatabase& database);

}  // namespace plot
