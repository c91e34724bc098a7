#include "monplot/MonplotCommand.h"

#include <iostream>

#include "libs/exception/Error.h"
#include "libs/mondata/model/MonDatabase.h"
#include "monplot/PlotWriter.h"
#include "monplot/RunLoader.h"
#include "plotinfo/TemplateLocation.h"
#include "monplot/WatchLoop.h"

void runMonplot(const PlotOptions& options, const std::string& orbDataDir) {
    const bool watching = options.watchSeconds > 0;
    if (watching) installStopHandlers();
    const PlotWriter writer(options, findTemplateDirectory(orbDataDir, runningExecutable()));
    // Each drawing reads what the runs' solvers appended since the last,
    // and draws again only when a run changed. A run that has not started
    // (its files missing, empty or without a record yet) is waited for; once
    // drawn, a run that cannot be read for a moment is the watch loop's
    // warning.
    FollowedRuns runs(options);
    bool drawn = false;
    std::string waitingReported;
    const auto wait = [&](const std::string& reason) {
        writer.writeWaiting(reason);
        if (reason != waitingReported)
            std::cerr << "waiting for the run to start: " << reason << std::endl;
        waitingReported = reason;
    };
    const auto draw = [&] {
        try {
            if (!runs.read() && drawn) return;
        } catch (const owl::data::noRecordsYet& error) {
            if (!watching) throw;
            return wait(error.getErrorText());
        } catch (const owl::Error& error) {
            if (!watching || drawn) throw;
            return wait(error.getErrorText());
        }
        const std::string progress = writer.write(runs.runs());
        if (!watching) return;
        if (progress.empty()) return wait("the run has no records yet");
        std::cerr << "redrawn " << progress << std::endl;
        drawn = true;
        waitingReported.clear();
    };
    draw();
    if (watching) watchAndRedraw(sourcePaths(options), options.watchSeconds, draw);
}
