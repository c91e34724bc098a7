// The time-history table (the default mode) and the header row it shares
// with the last-values table.

#include <algorithm>

#include "export/ExporterError.h"
#include "export/RunHistoryWriter.h"
#include "export/TableFormat.h"
#include "export/TimeHistoryLines.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"

bool RunHistoryWriter::isKeyField(const std::string& name) {
    return mon::recordKeyOf(name) != mon::RecordKey::None;
}

// Every name quoted; a quote inside doubled, a line feed written as two
// quotes so that the header stays one line.
void RunHistoryWriter::writeHeader(std::ostream& out, const std::vector<std::string>& columns) {
    std::string line;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) line += ',';
        line += '"';
        for (char c : columns[i]) {
            if (c == '"' || c == '\n')
                line += "\"\"";
            else
                line += c;
        }
        line += '"';
    }
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out << std::endl;
}

void RunHistoryWriter::outputData() {
    const QString loopName = QString::fromLatin1(mon::kCoefficientLoop.c_str());
    const bool loops = coeffLoops && database->getVariable(loopName) != nullptr;
    std::vector<std::string> keyFields{mon::kAccumulatedTimestep};
    if (loops) keyFields.push_back(mon::kCoefficientLoop);
    PreparedData data;
    std::vector<std::string> columns;
    prepareData(data, columns, keyFields);
    if (!loops)
        columns.erase(std::remove(columns.begin(), columns.end(), mon::kCoefficientLoop),
                      columns.end());
    std::ostream& out = borrowOStream();
    writeTimeHistory(out, data, columns, loops);
    returnOStream();
}

void RunHistoryWriter::writeTimeHistory(std::ostream& out, const PreparedData& data,
                                        const std::vector<std::string>& columns, bool loops) const {
    if (header) writeHeader(out, columns);
    auto key = data.find(mon::kAccumulatedTimestep);
    if (key == data.end() || !key->second)
        exporter::raise("outputData", "Failed to locate Accumulated Timestep key field.");
    const TimestepData& steps = *key->second;
    int32_t first = steps.getFirstTimestep(), last = steps.getLastTimestep();
    if (firstTimestep > 0) first = std::max(first, firstTimestep);
    if (lastTimestep > 0) last = std::min(last, lastTimestep);
    const owl::TimeHistoryLines lines(steps, first, last, loops);
    const owl::TableFormat format(precision);
    std::vector<owl::TimeHistoryColumn> resolved;
    for (const std::string& name : columns) {
        auto found = data.find(name);
        if (found != data.end() && found->second) {
            const bool integer = isKeyField(name);
            resolved.push_back(
                {found->second, integer, integer ? 0 : format.digitsOf(*found->second)});
        } else {
            // Raised where the first line would be written: with no line, no error.
            if (lines.lineCount() == 0) return;
            exporter::raise("outputData", "Failed to locate variable in prepared data: " + name);
        }
    }
    lines.write(out, resolved, format, owl::TimeHistoryLines::defaultWorkers());
}
