#pragma once
// What the dashboard answers once a request passed the guard: the page's
// files, and the JSON API the page reads:
//   /api/runs                      every run: name, parameters, kind, state
//                                  ("reading" before its first reading), last
//                                  step and time, age, last values, verdict
//   /api/plots?runs=r1,r2          the plots of those runs (PlotViews::describe)
//   /api/data?runs=..&plot=K&...   one plot's values (PlotViews::values):
//                                  px, from, to, after, x, last, scale, ema
//   /api/study?var=NAME            per run its statistics of that variable
//   /api/events                    server-sent events: "run" when a run
//                                  changed (its id, last step, state), "runs"
//                                  when runs were added
// Runs are named by their ids; anything else is 404.

#include <cstdint>
#include <memory>
#include <string>

#include "monplot/serve/HttpMessage.h"
#include "monplot/serve/PlotViews.h"
#include "monplot/serve/RunCatalog.h"
#include "monplot/serve/SharedResults.h"
#include "monplot/serve/WebFiles.h"
#include "stats/VariableStats.h"

namespace serve {

struct RequestTarget;

class DashboardApi {
  public:
    DashboardApi(const RunCatalog& catalog, const PlotViews& views, const WebFiles& files);

    // now: seconds since 1970, for the runs' ages and states.
    HttpResponse answer(const HttpRequest& request, int64_t now) const;

  private:
    HttpResponse runs(int64_t now) const;
    HttpResponse plots(const RequestTarget& target, bool values) const;
    HttpResponse studyStats(const RequestTarget& target) const;
    // A variable's statistics in one reading of a run, computed once: the
    // study page asks for every run at each change of any.
    stats::VariableStats variableStats(const std::shared_ptr<MonDatabase>& run,
                                       const std::string& name) const;

    const RunCatalog& catalog_;
    const PlotViews& views_;
    const WebFiles& files_;
    // By reading and name: a study of hundreds of runs with a few variables
    // each is kept whole.
    mutable SharedResults<stats::VariableStats> statsOf_{4096};
};

// The state of a run from its latest snapshot, at the time `now`.
RunState stateOf(const RunSnapshot& snapshot, int64_t now);

// The first events of a stream ("retry" and a hello), and one event.
std::string eventStreamStart();
std::string event(const std::string& name, const std::string& json);

}  // namespace serve
