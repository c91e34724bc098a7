#include "monplot/serve/RunStatus.h"

#include <cmath>
#include <fstream>

#include "export/StatsReport.h"
#include "libs/exception/Error.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"

namespace serve {

namespace {
const char* const kFatalMarks[] = {
    "FOAM FATAL ERROR",   "FOAM FATAL IO ERROR", "Floating point exception",
    "Segmentation fault", "Error in \"",         "FOAM aborting"};

bool isKey(const QString& name) {
    return mon::recordKeyOf(owl::MakeStdString(name)) != mon::RecordKey::None;
}

double lastValueOf(const TimestepData& variable) {
    if (variable.getLastTimestep() < variable.getFirstTimestep()) return NAN;
    const double value = variable.getDoubleValue(variable.getLastTimestep(), -1);
    return value == static_cast<double>(FLT_MAX) ? NAN : value;
}

std::string divergenceOf(const MonDatabase& run) {
    for (const MonVariable& variable : run.getVariableList()) {
        if (isKey(variable.getName())) continue;
        const TimestepData* data = run.getVariable(variable.getName());
        if (!data || data->getLastTimestep() < data->getFirstTimestep()) continue;
        const float last = data->getValue(data->getLastTimestep(), -1);
        if (std::isnan(last) || std::isinf(last))
            return owl::MakeStdString(variable.getPreferredLabel()) + ": " +
                   (std::isnan(last) ? "nan"
                    : last > 0       ? "+inf"
                                     : "-inf") +
                   " at step " + std::to_string(data->getLastTimestep());
    }
    return {};
}

void judge(RunStatus& status, const MonDatabase& run, const StatusSettings& settings) {
    if (settings.criteria.empty()) return;
    status.judged = true;
    exporter::StatsSettings stats;
    stats.criteria = settings.criteria;
    try {
        const exporter::StatsReport report = exporter::statsReport(run, {}, nullptr, stats, 0, 0,
                                                                    mon::NameEncoding::Utf8);
        status.met = report.allMet();
        for (const exporter::StatsReportRow& row : report.rows)
            if (!row.verdict.met) {
                status.reason = row.name + ": " + row.verdict.reason;
                break;
            }
    } catch (const owl::Error& error) {
        status.met = false;  // in doubt: not converged
        status.reason = error.getErrorText();
    }
}
}  // namespace

RunStatus statusOf(const MonDatabase& run, const StatusSettings& settings) {
    RunStatus status;
    const TimestepData* steps =
        run.getVariable(QString::fromLatin1(mon::kAccumulatedTimestep.c_str()));
    if (steps && steps->rows().stepCount() > 0)
        status.lastStep = steps->rows().stepAt(steps->rows().stepCount() - 1);
    if (const TimestepData* time = run.getVariable(QStringLiteral("TIME"))) {
        const double value = lastValueOf(*time);
        if (std::isfinite(value)) status.lastTime = value;
    }
    status.divergence = divergenceOf(run);
    for (const std::string& file : run.getSourceFiles())
        if (status.failure.empty()) status.failure = fatalErrorAtEnd(file);
    for (const std::string& name : settings.variables) {
        const TimestepData* data = run.getVariable(QString::fromUtf8(name.c_str()));
        status.lastValues.emplace_back(name, data ? lastValueOf(*data) : NAN);
    }
    judge(status, run, settings);
    return status;
}

std::string fatalErrorAtEnd(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in.seekg(0, std::ios::end)) return {};
    const std::streamoff size = in.tellg();
    const std::streamoff tail = std::min<std::streamoff>(size, 16384);
    std::string text(static_cast<size_t>(tail), '\0');
    if (!in.seekg(size - tail) || !in.read(&text[0], tail)) return {};
    for (const char* mark : kFatalMarks) {
        const size_t at = text.rfind(mark);
        if (at == std::string::npos) continue;
        // The mark's line and the next line that says something.
        size_t end = text.find('\n', at);
        std::string said = text.substr(at, end - at);
        while (end != std::string::npos && end + 1 < text.size()) {
            const size_t next = text.find('\n', end + 1);
            const std::string line = text.substr(end + 1, next - end - 1);
            end = next;
            if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
            said += ": " + line.substr(line.find_first_not_of(" \t"));
            break;
        }
        while (!said.empty() && (said.back() == '\r' || said.back() == ' ')) said.pop_back();
        return said.size() > 300 ? said.substr(0, 300) + "..." : said;
    }
    return {};
}

const char* stateName(RunState state) {
    switch (state) {
        case RunState::Running:
            return "running";
        case RunState::Idle:
            return "idle";
        case RunState::Diverged:
            return "diverged";
        case RunState::Failed:
            return "failed";
        default:
            return "unreadable";
    }
}

}  // namespace serve
