// monexport: writes a solver run's monitor data as a table, a variable list
// or an XML description. See docs/monexport.1.

#include <iostream>

#include "app/CommandLine.h"
#include "app/Usage.h"
#include "export/RunHistoryWriter.h"
#include "libs/exception/Error.h"
#include "libs/system/HeapPages.h"
#include "libs/translation/TranslationManager.h"
#include "study/StudyCommand.h"

namespace {

// The study's options; a run's source or a mode other than a table of
// values cannot go with -study.
study::StudyOptions studyOptionsOf(const ExportSettings& s) {
    if (!s.resFile.empty() || !s.runDir.empty() || !s.monFile.empty())
        throw owl::internal::error("monexport", "main",
                                   "-study reads the runs its patterns match: -res, -dir and "
                                   "-mon cannot be given with it.",
                                   owl::errorFatal);
    if (s.mode != TimeHistory && s.mode != LastValues && s.mode != Stats)
        throw owl::internal::error("monexport", "main",
                                   "-study makes a table of last values (-lastvaluesonly, the "
                                   "default) or of statistics (-stats); -showvars, -plotinfo and "
                                   "-varinfo cannot be given with it.",
                                   owl::errorFatal);
    study::StudyOptions options;
    options.patterns = s.studyPatterns;
    options.matrixFile = s.matrixFile;
    options.outFile = s.outFile;
    options.varList = s.varList;
    options.varRule = s.varRule;
    options.header = s.header;
    if (s.mode == Stats) options.mode = study::StudyMode::Stats;
    options.stats =
        exporter::statsSettings(s.window, s.cauchy, s.converged, s.reference, s.tolerance);
    options.times = exporter::timeRange(s.firstTime, s.lastTime);
    return options;
}

}  // namespace

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
        if (!s.studyPatterns.empty()) return study::runStudy(studyOptionsOf(s));
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
            .setLastTimestep(s.lastTimestep)
            .setTimeRange(exporter::timeRange(s.firstTime, s.lastTime))
            .setLogPatterns(s.patterns, s.patternsFile)
            .setStatsSettings(
                exporter::statsSettings(s.window, s.cauchy, s.converged, s.reference, s.tolerance));
        status = writer.process();
    } catch (const owl::Error& error) {
        std::cerr << "Exporter error:" << std::endl;
        std::cerr << error.getErrorText() << std::endl;
        status = -1;
    }
    return status;
}
