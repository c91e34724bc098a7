#include "export/RunHistoryWriter.h"

#include <iostream>

#include "export/ExporterError.h"
#include "export/VariableSelection.h"
#include "libs/exception/MessageText.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/formats/openfoam/FoamLogPattern.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "libs/system/FileIdentity.h"
#include "libs/system/OWLStream.h"
#include "plotinfo/PlotInfoGenerator.h"
#include "varinfo/VarInfoGenerator.h"

RunHistoryWriter::RunHistoryWriter() = default;

RunHistoryWriter::~RunHistoryWriter() {
    database.reset();
    varRule.reset();
    fileStream.reset();
}

RunHistoryWriter& RunHistoryWriter::setResFile(const std::string& path) {
    resFile = path;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setRunDir(const std::string& path) {
    runDir = path;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setOutFile(const std::string& path) {
    outFile = path;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setMonFile(const std::string& path) {
    monFile = path;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setMode(ExportMode newMode) {
    mode = newMode;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setCoeffLoops(bool value) {
    coeffLoops = value;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setHeader(bool value) {
    header = value;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setFirstTimestep(int32_t step) {
    firstTimestep = step;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setLastTimestep(int32_t step) {
    lastTimestep = step;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setTimeRange(const exporter::TimeRange& range) {
    timeRange = range;
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setLogPatterns(const std::vector<std::string>& patterns,
                                                   const std::string& patternsFile) {
    logPatterns = patterns;
    if (!patternsFile.empty()) {
        const std::vector<std::string> more = mon::readFoamLogPatternFile(patternsFile);
        logPatterns.insert(logPatterns.end(), more.begin(), more.end());
    }
    mon::compileFoamLogPatterns(logPatterns);
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setStatsSettings(exporter::StatsSettings settings) {
    statsSettings = std::move(settings);
    return *this;
}

int RunHistoryWriter::process() {
    if (mode != Stats && statsSettings.hasVerdict())
        exporter::raise("process", "Options -converged and -reference need -stats.");
    database = std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
    database->setReadOptions({logPatterns});
    if (!resFile.empty())
        database->updateFrom(MonDatabase::ResultsFile, QString::fromLatin1(resFile.c_str()), true);
    else if (!runDir.empty())
        database->updateFrom(MonDatabase::RunDirectory, QString::fromLatin1(runDir.c_str()), true);
    else if (!monFile.empty())
        database->updateFrom(MonDatabase::MonitorFile, QString::fromLatin1(monFile.c_str()), true);
    else
        exporter::raise("process", "No valid data source has been specified.");
    database->updateData();
    if (varRule) setVarRule(varRuleText);  // in the run's encoding
    if (mode == TimeHistory || mode == Stats) {
        exporter::narrowToTimes(*database, timeRange, firstTimestep, lastTimestep);
        statsSettings.windowSteps = exporter::statsWindow(timeRange, statsSettings.windowSteps);
    }

    switch (mode) {
        case ShowVars:
            writeVarNames();
            break;
        case LastValues:
            outputLastVarValues();
            break;
        case PlotInfo:
            writePlotInfo();
            break;
        case VarInfo:
            writeVarInfo();
            break;
        case Stats:
            return writeStats();
        case TimeHistory:
        default:
            outputData();
            break;
    }
    return 0;
}

void RunHistoryWriter::refuseToOverwriteSource() const {
    if (!database) return;
    // Sources are regular files: an output that is none (not yet there,
    // /dev/null, a pipe) cannot be one of them.
    const owl::FileIdentity output(outFile);
    if (!output.isRegularFile()) return;
    for (const std::string& source : database->getSourceFiles()) {
        if (output.isFileAt(source))
            exporter::raise("borrowOStream",
                            "Refusing to write the output to '" + owl::printable(outFile) +
                                "': it is the data source '" + owl::printable(source) + "'.");
    }
}

std::ostream& RunHistoryWriter::borrowOStream() {
    if (outFile.empty()) return std::cout;
    if (fileStream) exporter::raise("borrowOStream", "A file stream is already open.");
    refuseToOverwriteSource();
    auto stream = std::make_unique<owl::OWLStream>(outFile, owl::OWLStream::Out, false);
    std::ostream* out = stream->getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc);
    fileStream = std::move(stream);
    return *out;
}

void RunHistoryWriter::returnOStream() {
    if (fileStream) {
        fileStream->close();  // throws when the output did not reach the file
        fileStream.reset();
        return;
    }
    std::cout.flush();
    if (!std::cout) exporter::raise("returnOStream", "Failed to write to standard output.");
}

void RunHistoryWriter::writeVarNames() {
    std::ostream& out = borrowOStream();
    for (const MonVariable& variable : database->getVariableList())
        out << exporter::nameBytes(variable.getName(), database->nameEncoding()) << std::endl;
    returnOStream();
}

void RunHistoryWriter::writePlotInfo() {
    owl::PlotInfoGenerator generator(database.get());
    std::ostream& out = borrowOStream();
    generator.outputPlotData(out);
    returnOStream();
}

void RunHistoryWriter::writeVarInfo() {
    owl::VarInfoGenerator generator(database.get());
    std::ostream& out = borrowOStream();
    generator.outputVarData(out);
    returnOStream();
}
