#include "monplot/MonplotCommand.h"

#include "libs/exception/Error.h"
#include "libs/mondata/model/MonDatabase.h"
#include "monplot/PlotWriter.h"
#include "monplot/RunLoader.h"
#include "monplot/TemplateLocation.h"
#include "monplot/WatchLoop.h"

void runMonplot(const PlotOptions& options, const std::string& orbDataDir) {
    const bool watching = options.watchSeconds > 0;
    if (watching) installStopHandlers();
    const PlotWriter writer(options, findTemplateDirectory(orbDataDir, runningExecutable()));
    // Each drawing reads what the runs' solvers appended since the last, and
    // draws again only when a run changed. A run that has just started, with
    // no records yet, is waited for.
    FollowedRuns runs(options);
    bool drawn = false;
    const auto draw = [&writer, &runs, &drawn, watching] {
        try {
            if (runs.read() || !drawn) writer.write(runs.runs());
            drawn = true;
        } catch (const owl::data::noRecordsYet&) {
            if (!watching) throw;
            writer.writeWaiting();
        }
    };
    draw();
    if (watching) watchAndRedraw(sourcePaths(options), options.watchSeconds, draw);
}
