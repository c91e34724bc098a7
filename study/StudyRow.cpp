#include "study/StudyRow.h"

#include <QString>
#include <algorithm>
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
#include "libs/utilities/NearestNames.h"
#include "study/RunKind.h"

namespace study {
namespace {

// A study's table holds the names of runs of any source, and their paths:
// it is UTF-8 throughout, so that no name loses a character.
constexpr exporter::NameBytes kStudyNames = exporter::NameBytes::Utf8;

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
        if (database.getVariable(exporter::nameText(name, kStudyNames)))
            present.push_back(name);
        else if (name != mon::kCoefficientLoop)
            missing.push_back(name);
    }
    return present;
}

// The names the run has near the listed ones it lacks, for the error that
// names those no run has.
std::vector<std::string> namesNear(const MonDatabase& database,
                                   const std::vector<std::string>& missing) {
    std::vector<std::string> names, near;
    if (missing.empty()) return near;
    for (const MonVariable& variable : database.getVariableList())
        names.push_back(exporter::nameBytes(variable.getName(), exporter::NameBytes::Latin1));
    for (const std::string& name : missing)
        for (size_t i : owl::nearestNames(name, names)) near.push_back(names[i]);
    return near;
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

StudyField text(std::string value) {
    return StudyField{{}, std::move(value), true};
}

// The fields in the order of fieldSuffixes(StudyMode::Stats, ...).
std::vector<StudyField> statsFields(const exporter::StatsReportRow& variable, bool verdicts) {
    const stats::VariableStats& s = variable.stats;
    owl::TableField count;
    count.key = static_cast<int32_t>(s.count);
    std::vector<StudyField> fields = {statistic(s.mean),
                                      statistic(s.stdError),
                                      statistic(s.stdDev),
                                      statistic(s.min),
                                      statistic(s.max),
                                      text(s.note()),
                                      statistic(s.neff),
                                      StudyField{count, {}, false},
                                      statistic(s.period.value_or(NAN)),
                                      statistic(s.amplitude.value_or(NAN))};
    if (verdicts) {
        fields.push_back(text(variable.verdict.met ? "yes" : "no"));
        fields.push_back(text(variable.verdict.reason));
    }
    return fields;
}

void fillStatsRow(const MonDatabase& database, const StudySettings& settings,
                  const std::vector<std::string>& listed, StudyRow& row) {
    int32_t firstStep = 0, lastStep = 0;
    exporter::narrowToTimes(database, settings.times, firstStep, lastStep);
    exporter::StatsSettings stats = settings.stats;
    stats.windowSteps = exporter::statsWindow(settings.times, stats.windowSteps);
    const exporter::StatsReport report =
        exporter::statsReport(database, listed, settings.varRule.get(), stats, firstStep, lastStep,
                              kStudyNames);
    row.unmatchedRules = report.unmatchedRules;
    row.failedTest = !report.allMet();
    for (const exporter::StatsReportRow& variable : report.rows) {
        if (variable.present)
            row.variables.emplace_back(variable.name, statsFields(variable, report.hasVerdict));
        else if (std::find(row.missing.begin(), row.missing.end(), variable.name) ==
                 row.missing.end())
            row.missing.push_back(variable.name);  // a variable of the reference
    }
}

void fillRow(const MonDatabase& database, const StudySettings& settings, StudyRow& row) {
    const std::vector<std::string> listed = presentNames(database, settings.varList, row.missing);
    row.nearMissing = namesNear(database, row.missing);
    if (const TimestepData* steps =
            database.getVariable(QString::fromLatin1(mon::kAccumulatedTimestep.c_str()));
        steps && steps->getLastTimestep() >= 0)
        row.steps = steps->getLastTimestep();
    // A list none of whose names the run has selects nothing, not everything;
    // with a verdict, the listed names the run lacks are rows that fail it.
    const bool verdict = settings.mode == StudyMode::Stats && settings.stats.hasVerdict();
    if (!settings.varList.empty() && listed.empty() && !settings.varRule && !verdict) return;
    if (settings.mode == StudyMode::Stats)
        return fillStatsRow(database, settings, verdict ? settings.varList : listed, row);
    PreparedData data;
    std::vector<std::string> columns;
    exporter::selectVariables(database, listed, settings.varRule.get(), {}, data, columns,
                              kStudyNames);
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
        row = StudyRow{run, {}, {}, {}, error.getErrorText(), false, {}, {}, {}};
    } catch (const std::exception& error) {
        row = StudyRow{run, {}, {}, {}, error.what(), false, {}, {}, {}};
    }
    row.warnings = messages.str();
    return row;
}

std::string errorText(const StudyRow& row) {
    if (!row.error.empty()) return row.error;
    std::string text;
    for (const std::string& rule : row.unmatchedRules) {
        if (!text.empty()) text += ' ';
        text += "No variable matches the convergence criterion rule \"" + rule + "\".";
    }
    return text;
}

}  // namespace study
