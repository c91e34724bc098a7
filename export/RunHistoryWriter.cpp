#include "export/RunHistoryWriter.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/MonDatabase.h"
#include "libs/mondata/MonVariableRule.h"
#include "libs/system/OWLStream.h"
#include "plotinfo/PlotInfoGenerator.h"
#include "varinfo/VarInfoGenerator.h"

namespace {
const char* const kClassName = "RunHistoryWriter";

[[noreturn]] void raise(const std::string& operation, const std::string& message) {
    throw owl::internal::error(kClassName, operation, message, owl::errorFatal);
}

// Whether two paths name the same existing file (hard links included).
bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
}  // namespace

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

int RunHistoryWriter::process() {
    database = std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay());
    if (!resFile.empty())
        database->updateFrom(MonDatabase::ResultsFile, QString::fromLatin1(resFile.c_str()), true);
    else if (!runDir.empty())
        database->updateFrom(MonDatabase::RunDirectory, QString::fromLatin1(runDir.c_str()), true);
    else if (!monFile.empty())
        database->updateFrom(MonDatabase::MonitorFile, QString::fromLatin1(monFile.c_str()), true);
    else
        raise("process", "No valid data source has been specified.");
    database->updateData();

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
        case TimeHistory:
        default:
            outputData();
            break;
    }
    return 0;
}

void RunHistoryWriter::refuseToOverwriteSource() const {
    if (!database) return;
    for (const std::string& source : database->getSourceFiles()) {
        if (sameFile(outFile, source))
            raise("borrowOStream", "Refusing to write the output to '" + outFile +
                                       "': it is the data source '" + source + "'.");
    }
}

std::ostream& RunHistoryWriter::borrowOStream() {
    if (outFile.empty()) return std::cout;
    if (fileStream) raise("borrowOStream", "A file stream is already open.");
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
    if (!std::cout) raise("returnOStream", "Failed to write to standard output.");
}

void RunHistoryWriter::writeVarNames() {
    std::ostream& out = borrowOStream();
    for (const MonVariable& variable : database->getVariableList())
        out << variable.getName().toLatin1().constData() << std::endl;
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
