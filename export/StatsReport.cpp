#include "export/StatsReport.h"

#include <map>
#include <set>

#include "export/ExporterError.h"
#include "export/RunHistoryWriter.h"
#include "export/VariableSelection.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/VariableInfo.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "stats/ParallelFor.h"

namespace exporter {

namespace {

// Record keys are ASCII, the same bytes in every encoding.
bool isKeyField(const MonVariable& variable) {
    return RunHistoryWriter::isKeyField(variable.getName().toStdString());
}

bool attributeIs(const MonVariable& variable, const char* key, const char* value) {
    return variable.getAttribute(QLatin1String(key))
               .compare(QLatin1String(value), Qt::CaseInsensitive) == 0;
}

bool isResidual(const MonVariable& variable) {
    return attributeIs(variable, "category", "RESIDUAL");
}

// A variable that says when, not what: the simulation time or a time-step
// size (CATEGORY TIME, execution and wall-clock times apart).
bool isTimeOrStepSize(const MonVariable& variable) {
    if (variable.getName() == QLatin1String("TIME")) return true;
    return attributeIs(variable, "category", "TIME") &&
           !attributeIs(variable, "subcategory", "EXECUTION") &&
           !attributeIs(variable, "subcategory", "WALL");
}

// A variable the table shows and the criteria judge without its being
// named: neither a record key nor a time.
bool isResult(const MonVariable& variable) {
    return !isKeyField(variable) && !isTimeOrStepSize(variable);
}

// A row to compute: its variable's data (null when the run lacks it), the
// tests of every criterion whose rule it matches.
struct StatsInput {
    const TimestepData* data = nullptr;
    const TimestepData* time = nullptr;  // the run's TIME, when it has one
    bool residual = false;
    bool log10Values = false;
    std::vector<stats::CriterionTest> tests;
};

class ReportBuilder {
  public:
    ReportBuilder(const MonDatabase& database, const StatsSettings& settings, NameBytes bytes)
        : database_(database),
          settings_(settings),
          bytes_(bytes),
          variables_(database.getVariableList()) {
        for (const MonVariable& variable : variables_)
            byName_.emplace(variable.getName(), &variable);
        // The criteria's rules name variables as the names are spelled here.
        for (const stats::Criterion& criterion : settings_.criteria)
            criterionRules_.emplace_back(nameText(criterion.ruleText, bytes_));
    }

    // The rules of the criteria that match no variable the table could
    // judge: the results, and the rows named.
    std::vector<std::string> unmatchedRules(const std::vector<std::string>& rows) const {
        const std::set<std::string> named(rows.begin(), rows.end());
        std::vector<std::string> unmatched;
        for (size_t c = 0; c < criterionRules_.size(); ++c) {
            bool matched = false;
            for (const MonVariable& variable : variables_)
                matched = matched || ((isResult(variable) || named.count(nameOf(variable))) &&
                                      criterionRules_[c].match(variable));
            if (!matched) unmatched.push_back(settings_.criteria[c].ruleText);
        }
        return unmatched;
    }

    // The selection (-varlist, then -varrule), then every result a
    // criterion judges; without a selection, every result (with a verdict:
    // those the criteria or the reference name, and the reference's
    // variables the run lacks). Each once, record keys left out.
    std::vector<std::string> rowNames(const std::vector<std::string>& varList,
                                      const MonVariableRule* rule,
                                      const std::map<std::string, double>& references) const {
        const bool verdict = settings_.hasVerdict();
        const bool selected = !varList.empty() || rule;
        std::vector<std::string> names;
        PreparedData data;
        if (!varList.empty() && verdict) names = varList;
        if (!varList.empty() && !verdict)
            selectVariables(database_, varList, nullptr, {}, data, names, bytes_);
        if (rule) {
            std::vector<std::string> matched;
            selectVariables(database_, {}, rule, {}, data, matched, bytes_);
            names.insert(names.end(), matched.begin(), matched.end());
        }
        for (const MonVariable& variable : variables_) {
            const std::string name = nameOf(variable);
            const bool judged = isResult(variable) && matchesCriterion(variable);
            const bool byDefault =
                !selected && (verdict ? references.count(name) > 0 : isResult(variable));
            if (judged || byDefault) names.push_back(name);
        }
        if (!selected)
            for (const auto& [name, value] : references)
                if (!byName_.count(nameText(name, bytes_))) names.push_back(name);
        std::vector<std::string> rows;
        std::set<std::string> seen;
        for (const std::string& name : names)
            if (!RunHistoryWriter::isKeyField(name) && seen.insert(name).second)
                rows.push_back(name);
        return rows;
    }

    StatsInput input(const std::string& name) const {
        StatsInput input;
        const QString qname = nameText(name, bytes_);
        input.data = database_.getVariable(qname);
        input.time = database_.getVariable(QStringLiteral("TIME"));
        auto found = byName_.find(qname);
        const MonVariable variable =
            found != byName_.end() ? *found->second : MonVariable(qname, nullptr);
        input.residual = isResidual(variable);
        input.log10Values = variable.declaredInfo() && variable.declaredInfo()->holdsLog10();
        for (size_t c = 0; c < criterionRules_.size(); ++c)
            if (criterionRules_[c].match(variable))
                input.tests.insert(input.tests.end(), settings_.criteria[c].tests.begin(),
                                   settings_.criteria[c].tests.end());
        return input;
    }

  private:
    bool matchesCriterion(const MonVariable& variable) const {
        for (const MonVariableRule& rule : criterionRules_)
            if (rule.match(variable)) return true;
        return false;
    }

    std::string nameOf(const MonVariable& variable) const {
        return nameBytes(variable.getName(), bytes_);
    }

    const MonDatabase& database_;
    const StatsSettings& settings_;
    const NameBytes bytes_;
    std::vector<MonVariableRule> criterionRules_;
    const std::vector<MonVariable> variables_;
    std::map<QString, const MonVariable*> byName_;
};

void computeRow(const StatsInput& input, const StatsSettings& settings, int32_t firstStep,
                int32_t lastStep, StatsReportRow& row) {
    if (!input.data) {
        row.present = false;
        row.verdict = stats::missingVerdict();
        return;
    }
    thread_local stats::StepSeries series;  // its memory serves the thread's next rows
    stats::fillStepSeries(series, *input.data, firstStep, lastStep, input.time);
    stats::StatsOptions options;
    options.windowSteps = settings.windowSteps;
    options.cauchySteps = settings.cauchySteps;
    options.residual = input.residual;
    options.log10Values = input.log10Values;
    row.stats = stats::summarize(series, options);
    if (!settings.criteria.empty()) row.verdict = stats::evaluate(input.tests, series, row.stats);
    if (!settings.references) return;
    if (!row.reference) {
        if (row.verdict.met) row.verdict = {false, "no reference value"};
        return;
    }
    row.comparison =
        stats::compare(row.stats.mean, row.stats.stdError, *row.reference, settings.tolerance);
    if (!row.verdict.met) return;
    const std::string doubt = stats::windowDoubt(row.stats);
    row.verdict = doubt.empty() ? row.comparison->verdict : stats::Verdict{false, doubt};
}

}  // namespace

bool StatsReport::allMet() const {
    for (const StatsReportRow& row : rows)
        if (!row.verdict.met) return false;
    return unmatchedRules.empty();
}

void requireMatchedCriteria(const StatsReport& report) {
    if (!report.unmatchedRules.empty())
        raise("statsReport", "The convergence criterion rule \"" +
                                 owl::printable(report.unmatchedRules.front()) +
                                 "\" matches no variable.");
}

StatsReport statsReport(const MonDatabase& database, const std::vector<std::string>& varList,
                        const MonVariableRule* rule, const StatsSettings& settings,
                        int32_t firstStep, int32_t lastStep, NameBytes bytes) {
    const ReportBuilder builder(database, settings, bytes);
    static const std::map<std::string, double> kNone;
    const std::map<std::string, double>& references =
        settings.references ? *settings.references : kNone;

    StatsReport report;
    report.hasReference = settings.references.has_value();
    report.hasVerdict = settings.hasVerdict();
    const std::vector<std::string> names = builder.rowNames(varList, rule, references);
    report.unmatchedRules = builder.unmatchedRules(names);
    std::vector<StatsInput> inputs;
    for (const std::string& name : names) {
        inputs.push_back(builder.input(name));
        StatsReportRow row;
        row.name = name;
        if (auto found = references.find(name); found != references.end())
            row.reference = found->second;
        report.rows.push_back(std::move(row));
    }
    stats::parallelFor(inputs.size(), stats::statsWorkers(), [&](size_t i) {
        computeRow(inputs[i], settings, firstStep, lastStep, report.rows[i]);
    });
    return report;
}

}  // namespace exporter
