#include "monplot/MonplotCommand.h"

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
    // Each drawing reads the runs afresh and lets them go: watching holds no
    // data. A run that has just started, with no records yet, is waited for.
    const auto draw = [&writer, &options, watching] {
        try {
            writer.write(loadRuns(options));
        } catch (const owl::data::noRecordsYet&) {
            if (!watching) throw;
            writer.writeWaiting();
        }
    };
    draw();
    if (watching) watchAndRedraw(sourcePaths(options), options.watchSeconds, draw);
}
