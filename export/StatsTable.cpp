// The statistics table (-stats): the header and one line per row of the
// statistics report, in the conventions of the other tables: quoted header,
// %.8e values, an empty field where a value is undefined (docs/stats.md).

#include <cstdio>

#include "export/RunHistoryWriter.h"
#include "export/StatsReport.h"
#include "libs/mondata/model/MonDatabase.h"

namespace {

const std::vector<std::string> kStatsColumns = {
    "VARIABLE", "COUNT",  "FIRST STEP", "LAST STEP", "MEAN",  "STD",
    "MIN",      "MAX",    "STDERR",     "NEFF",      "DRIFT", "ORDERS",
    "CAUCHY",   "PERIOD", "FREQUENCY",  "AMPLITUDE", "NOTE"};

// Free text: quoted, a quote inside doubled.
std::string quoted(const std::string& text) {
    std::string field = "\"";
    for (char c : text) field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + '"';
}

// %.8e; empty for an undefined (NaN) value.
std::string number(double value) {
    if (value != value) return {};
    char text[40];
    std::snprintf(text, sizeof text, "%.8e", value);
    return text;
}

std::string number(const std::optional<double>& value) {
    return value ? number(*value) : std::string();
}

void appendFields(std::string& line, const exporter::StatsReportRow& row,
                  const exporter::StatsReport& report) {
    const stats::VariableStats& s = row.stats;
    const bool any = s.count > 0;
    std::vector<std::string> fields = {quoted(row.name),
                                       std::to_string(s.count),
                                       any ? std::to_string(s.firstStep) : "",
                                       any ? std::to_string(s.lastStep) : "",
                                       number(s.mean),
                                       number(s.stdDev),
                                       number(s.min),
                                       number(s.max),
                                       number(s.stdError),
                                       number(s.neff),
                                       number(s.drift),
                                       number(s.orders),
                                       number(s.cauchy),
                                       number(s.period),
                                       number(s.frequency),
                                       number(s.amplitude),
                                       s.note()};
    if (report.hasReference) {
        fields.push_back(number(row.reference));
        fields.push_back(row.comparison ? number(row.comparison->difference) : "");
    }
    if (report.hasVerdict) {
        fields.push_back(row.verdict.met ? "yes" : "no");
        fields.push_back(row.verdict.reason.empty() ? "" : quoted(row.verdict.reason));
    }
    for (size_t f = 0; f < fields.size(); ++f) {
        if (f > 0) line += ',';
        line += fields[f];
    }
    line += '\n';
}

}  // namespace

int RunHistoryWriter::writeStats() {
    const exporter::StatsReport report = exporter::statsReport(
        *database, varList, varRule.get(), statsSettings, firstTimestep, lastTimestep,
        database->nameEncoding());
    exporter::requireMatchedCriteria(report);
    std::vector<std::string> columns = kStatsColumns;
    if (report.hasReference) columns.insert(columns.end(), {"REFERENCE", "DIFFERENCE"});
    if (report.hasVerdict) columns.insert(columns.end(), {"VERDICT", "REASON"});
    std::ostream& out = borrowOStream();
    if (header) writeHeader(out, columns);
    std::string text;
    for (const exporter::StatsReportRow& row : report.rows) appendFields(text, row, report);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    returnOStream();
    return report.allMet() ? 0 : 1;
}
