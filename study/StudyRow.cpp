#include "study/StudyRow.h"

#include <QString>
#include <memory>
#include <mutex>
#include <sstream>

#include "export/LastValueField.h"
#include "export/StatsReport.h"
#include "export/VariableSelection.h"
#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/model/TimestepData.h"
#include "study/RunKind.h"

namespace study {
namespace {

// Results files are read one at a time: the ADF layer under CGNS files
// keeps global state.
std::mutex resultsFiles;

std::unique_ptr<MonDatabase> openRun(const std::string& run, std::ostream& messages) {
    auto database = std::make_unique<MonDatabase>(QStringLiteral("study"),
                                                  new owl::LineMessageDisplay(messages));
    const MonDatabase::SourceType kind = runKindOf(run);
    std::unique_lock<std::mutex> lock(resultsFiles, std::defer_lock);
    if (kind == MonDatabase::ResultsFile) lock.lock();
    database->updateFrom(kind, QString::fromLatin1(run.c_str()), true);
    database->updateData();
    return database;
}

// The listed names the run has, and (in missing) those it lacks.
std::vector<std::string> presentNames(const MonDatabase& database,
                                      const std::vector<std::string>& listed,
                                      std::vector<std::string>& missing) {
    std::vector<std::string> present;
    for (const std::string& name : listed) {
        if (database.getVariable(QString::fromLatin1(name.c_str())))
            present.push_back(name);
        else if (name != mon::kCoefficientLoop)
            missing.push_back(name);
    }
    return present;
}

std::vector<StudyField> lastValueFields(const TimestepData& values, const std::string& name) {
    static const owl::TableFormat format(kStudyPrecision);
    const bool key = mon::recordKeyOf(name) != mon::RecordKey::None;
    return {StudyField{lastValueField(values, key, format), {}, false}};
}

// A statistic as the -stats table writes it: %.8e of the double, empty
// where it is undefined.
StudyField statistic(double value) {
    return StudyField{owl::TableField{value == value ? value : FLT_MAX, false, {}, 8}, {}, false};
}

void fillStatsRow(const MonDatabase& database, const StudySettings& settings,
                  const std::vector<std::string>& listed, StudyRow& row) {
    int32_t firstStep = 0, lastStep = 0;
    exporter::narrowToTimes(database, settings.times, firstStep, lastStep);
    exporter::StatsSettings stats = settings.stats;
    stats.windowSteps = exporter::statsWindow(settings.times, stats.windowSteps);
    const exporter::StatsReport report =
        exporter::statsReport(database, listed, settings.varRule.get(), stats, firstStep, lastStep);
    for (const exporter::StatsReportRow& variable : report.rows) {
        if (!variable.present) continue;
        const stats::VariableStats& s = variable.stats;
        std::vector<StudyField> fields = {statistic(s.mean),
                                          statistic(s.stdError),
                                          statistic(s.stdDev),
                                          statistic(s.min),
                                          statistic(s.max),
                                          statistic(s.period.value_or(NAN)),
                                          statistic(s.amplitude.value_or(NAN))};
        if (report.hasVerdict)
            fields.push_back(StudyField{{}, variable.verdict.met ? "yes" : "no", true});
        row.failedTest = row.failedTest || !variable.verdict.met;
        row.variables.emplace_back(variable.name, std::move(fields));
    }
}

void fillRow(const MonDatabase& database, const StudySettings& settings, StudyRow& row) {
    const std::vector<std::string> listed = presentNames(database, settings.varList, row.missing);
    if (const TimestepData* steps =
            database.getVariable(QString::fromLatin1(mon::kAccumulatedTimestep.c_str()));
        steps && steps->getLastTimestep() >= 0)
        row.steps = steps->getLastTimestep();
    // A list none of whose names the run has selects nothing, not everything.
    if (!settings.varList.empty() && listed.empty() && !settings.varRule) return;
    if (settings.mode == StudyMode::Stats) return fillStatsRow(database, settings, listed, row);
    PreparedData data;
    std::vector<std::string> columns;
    exporter::selectVariables(database, listed, settings.varRule.get(), {}, data, columns);
    for (const std::string& name : columns)
        row.variables.emplace_back(name, lastValueFields(*data.at(name), name));
}

}  // namespace

StudyRow readRow(const std::string& run, const StudySettings& settings) {
    StudyRow row;
    row.run = run;
    std::ostringstream messages;
    try {
        const std::unique_ptr<MonDatabase> database = openRun(run, messages);
        fillRow(*database, settings, row);
    } catch (const owl::Error& error) {
        row = StudyRow{run, {}, {}, {}, error.getErrorText(), false, {}};
    } catch (const std::exception& error) {
        row = StudyRow{run, {}, {}, {}, error.what(), false, {}};
    }
    row.warnings = messages.str();
    return row;
}

}  // namespace study
