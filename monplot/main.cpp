// monplot: draws a solver run's default monitor plots as SVG (and PNG, PDF)
// files with an index page; with -watch it follows a running job, with
// -serve it shows the runs live in a browser. See docs/monplot.1.

#include <cstdlib>
#include <iostream>

#include "libs/exception/Error.h"
#include "libs/translation/TranslationManager.h"
#include "monplot/MonplotCommand.h"
#include "monplot/serve/Dashboard.h"

int main(int argc, char** argv) {
    for (const char* package :
         {"MonitorData", "GuiUtilities", "System", "Error", "Exception", "Utilities"})
        owl::TranslationManager::requirePackageDictionary(package);
    owl::TranslationManager::initialize();

    const char* orbDataDir = std::getenv("ORB_DATA_DIR");
    try {
        const PlotOptions options = scanPlotOptions(argc, argv);
        if (options.help || options.version) {
            std::cout << (options.help ? kPlotUsage : "monplot " MONEXPORT_VERSION "\n")
                      << std::flush;
            return std::cout ? 0 : 255;
        }
        if (options.serveAddress.empty())
            runMonplot(options, orbDataDir ? orbDataDir : "");
        else
            serve::runDashboard(options, orbDataDir ? orbDataDir : "");
    } catch (const owl::Error& error) {
        std::cerr << "Plot error:" << std::endl;
        std::cerr << error.getErrorText() << std::endl;
        return 255;
    }
    return 0;
}
