#include "monplot/MonplotCommand.h"

#include "libs/mondata/model/MonDatabase.h"
#include "monplot/PlotWriter.h"
#include "monplot/RunLoader.h"
#include "monplot/TemplateLocation.h"
#include "monplot/WatchLoop.h"

void runMonplot(const PlotOptions& options, const std::string& orbDataDir) {
    if (options.watchSeconds > 0) installStopHandlers();
    const PlotWriter writer(options, findTemplateDirectory(orbDataDir, runningExecutable()));
    // Each drawing reads the run afresh and lets it go: watching holds no data.
    const auto draw = [&writer, &options] { writer.write(*loadRun(options)); };
    std::unique_ptr<MonDatabase> first = loadRun(options);
    writer.write(*first);
    first.reset();
    if (options.watchSeconds > 0) watchAndRedraw(sourcePath(options), options.watchSeconds, draw);
}
