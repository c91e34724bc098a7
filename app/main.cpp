// monexport: writes a solver run's monitor data as a table, a variable list
// or an XML description. See docs/monexport.1.

#include <iostream>

#include "app/CommandLine.h"
#include "app/Usage.h"
#include "export/RunHistoryWriter.h"
#include "libs/exception/Error.h"
#include "libs/system/HeapPages.h"
#include "libs/translation/TranslationManager.h"

int main(int argc, char** argv) {
    owl::preferLargeHeapPages();
    for (const char* package :
         {"MonitorData", "GuiUtilities", "System", "Error", "Exception", "Utilities"})
        owl::TranslationManager::requirePackageDictionary(package);
    owl::TranslationManager::initialize();

    int status = 0;
    try {
        const ExportSettings s = scanArguments(argc, argv);
        if (s.help || s.version) {
            std::cout << (s.help ? kUsageText : kVersionText) << std::flush;
            return std::cout ? 0 : -1;
        }
        RunHistoryWriter writer;
        writer.setResFile(s.resFile)
            .setRunDir(s.runDir)
            .setOutFile(s.outFile)
            .setMonFile(s.monFile)
            .setMode(s.mode)
            .setVarList(s.varList)
            .setVarRule(s.varRule)
            .setCoeffLoops(s.coeffLoops)
            .setHeader(s.header)
            .setFirstTimestep(s.firstTimestep)
            .setLastTimestep(s.lastTimestep);
        status = writer.process();
    } catch (const owl::Error& error) {
        std::cerr << "Exporter error:" << std::endl;
        std::cerr << error.getErrorText() << std::endl;
        status = -1;
    }
    return status;
}
