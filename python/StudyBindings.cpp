#include "python/StudyBindings.h"

#include <pybind11/stl.h>

#include <QString>
#include <cmath>
#include <limits>

#include "export/StatsSettings.h"
#include "export/VariableSelection.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "study/PathParameters.h"
#include "study/RunMatrix.h"
#include "study/StudyColumns.h"
#include "study/StudyGathering.h"
#include "study/StudyPatterns.h"

namespace py = pybind11;

namespace {

py::object fieldValue(const study::StudyField& field) {
    if (field.isText) return py::str(field.text);
    if (field.number.key) return py::int_(*field.number.key);
    if (field.number.value == FLT_MAX) return py::float_(std::numeric_limits<double>::quiet_NaN());
    return py::float_(field.number.value);
}

py::tuple rowTuple(const study::StudyRow& row) {
    py::list variables;
    for (const auto& [name, fields] : row.variables) {
        py::list values;
        for (const study::StudyField& field : fields) values.append(fieldValue(field));
        variables.append(py::make_tuple(name, values));
    }
    py::object steps = row.steps ? py::object(py::int_(*row.steps)) : py::object(py::none());
    return py::make_tuple(row.run, variables, row.missing, steps, row.error, row.warnings,
                          row.failedTest);
}

study::StudySettings settingsOf(const std::vector<std::string>& names, const std::string& rule,
                                const std::string& mode, const std::string& window,
                                const std::string& converged) {
    study::StudySettings settings;
    settings.varList = names;
    if (!rule.empty())
        settings.varRule = std::make_shared<MonVariableRule>(QString::fromUtf8(rule.c_str()));
    settings.stats = exporter::statsSettings(window, "", converged, "", "");
    if (mode == "stats")
        settings.mode = study::StudyMode::Stats;
    else if (mode != "last")
        throw py::value_error("mode must be \"last\" or \"stats\", not \"" + mode + "\"");
    return settings;
}

}  // namespace

void addStudyBindings(py::module_& m) {
    m.def("_parse_var_list", &exporter::parseVarList);
    m.def("_study_runs", [](const std::vector<std::string>& patterns) {
        const study::Expansion expansion = study::expandPatterns(patterns);
        return py::make_tuple(expansion.runs, expansion.unmatched);
    });
    m.def("_study_parameters", [](std::vector<std::string> runs, const std::string& matrix) {
        study::RunParameters parameters =
            matrix.empty() ? study::pathParameters(runs) : study::matrixParameters(matrix, runs);
        study::sortByParameters(runs, parameters);
        return py::make_tuple(runs, parameters.names, parameters.values);
    });
    m.def("_study_rows",
          [](const std::vector<std::string>& runs, const std::vector<std::string>& names,
             const std::string& rule, const std::string& mode, unsigned workers,
             const std::string& window, const std::string& converged,
             std::optional<double> firstTime, std::optional<double> lastTime) {
              study::StudySettings settings = settingsOf(names, rule, mode, window, converged);
              settings.times = {firstTime, lastTime};
              std::vector<study::StudyRow> rows;
              {
                  py::gil_scoped_release released;
                  rows = study::gatherRows(runs, settings, workers);
              }
              py::list tuples;
              for (const study::StudyRow& row : rows) tuples.append(rowTuple(row));
              return tuples;
          });
    m.def("_study_variables", [](const std::vector<std::vector<std::string>>& perRun, bool anyRead,
                                 const std::vector<std::string>& listed) {
        return study::studyVariables(perRun, anyRead, listed);
    });
    m.def("_study_suffixes", [](const std::string& mode, bool verdicts) {
        return study::fieldSuffixes(
            mode == "stats" ? study::StudyMode::Stats : study::StudyMode::LastValues, verdicts);
    });
}
