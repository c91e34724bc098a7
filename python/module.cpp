// The monexport Python module: thin bindings over RunTable. Values leave as
// NumPy arrays that own the vectors they were computed into, so no value
// becomes a Python object of its own.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstring>
#include <utility>

#include "export/VariableSelection.h"
#include "libs/exception/Error.h"
#include "python/RunTable.h"
#include "python/StudyBindings.h"
#include "stats/ReferenceComparison.h"

namespace py = pybind11;

namespace {

// A NumPy array over the vector's own memory; the array keeps it alive.
template <typename T>
py::array_t<T> toArray(std::vector<T>&& values) {
    auto* owned = new std::vector<T>(std::move(values));
    py::capsule release(owned, [](void* p) { delete static_cast<std::vector<T>*>(p); });
    return py::array_t<T>(static_cast<py::ssize_t>(owned->size()), owned->data(), release);
}

RunTable::Source sourceNamed(const py::object& source) {
    if (source.is_none()) return RunTable::Source::Guess;
    const std::string name = py::str(source);
    if (name == "res") return RunTable::Source::Results;
    if (name == "dir") return RunTable::Source::Directory;
    if (name == "mon") return RunTable::Source::Monitor;
    throw py::value_error("source must be \"res\", \"dir\", \"mon\" or None, not \"" + name + "\"");
}

// monexport.MonexportWarning: what the library has to say that is no error.
// Made once with the module and kept for the process's life.
PyObject* warningClass = nullptr;

void emitWarnings(const RunTable& run) {
    for (const std::string& text : run.takeWarnings())
        if (PyErr_WarnEx(warningClass, text.c_str(), 1) < 0) throw py::error_already_set();
}

// A call on a run that passes on the warnings it gave rise to.
template <typename Result, typename... Args>
auto warning(Result (*call)(const RunTable&, Args...)) {
    return [call](const RunTable& run, Args... args) {
        Result result = call(run, std::forward<Args>(args)...);
        emitWarnings(run);
        return result;
    };
}

// The library's texts name the command's options; Python has arguments.
std::string inPythonTerms(std::string text) {
    static const std::pair<const char*, const char*> kTerms[] = {
        {"use -dir to", "use source=\"dir\" to"},
        {"use -res to", "use source=\"res\" to"},
        {"use -mon to", "use source=\"mon\" to"},
        {"with -mon.", "with source=\"mon\"."},
        {"for option -window:", "for window=:"},
        {"for option -cauchy:", "for cauchy=:"},
        {"(-study @FILE)", "(the study pattern '@FILE')"},
        {"the -study patterns", "the study patterns"},
    };
    for (const auto& [command, python] : kTerms)
        for (size_t at = text.find(command); at != std::string::npos;
             at = text.find(command, at + std::strlen(python)))
            text.replace(at, std::strlen(command), python);
    return text;
}

// A list of names, or one text in the command's -varlist form.
std::vector<std::string> namesOf(const py::object& names) {
    if (names.is_none()) return {};
    if (py::isinstance<py::str>(names)) return exporter::parseVarList(py::str(names));
    return names.cast<std::vector<std::string>>();
}

std::string ruleOf(const py::object& rule) {
    return rule.is_none() ? std::string() : std::string(py::str(rule));
}

int32_t stepOf(const py::object& step) {
    return step.is_none() ? 0 : step.cast<int32_t>();
}

// The steps first..last (None: open end) within the TIME range
// first_time..last_time (None: open end).
struct Bounds {
    int32_t first, last;
    exporter::TimeRange times;
};
Bounds boundsOf(const RunTable& run, const py::object& first, const py::object& last,
                const py::object& firstTime, const py::object& lastTime) {
    Bounds bounds{stepOf(first), stepOf(last), {}};
    if (!firstTime.is_none()) bounds.times.first = firstTime.cast<double>();
    if (!lastTime.is_none()) bounds.times.last = lastTime.cast<double>();
    run.narrowToTimes(bounds.times, bounds.first, bounds.last);
    return bounds;
}

// The statistics over the bounds: a first time fixes the window's start.
exporter::StatsReport boundedStats(const RunTable& run, const py::object& names,
                                   const py::object& rule, exporter::StatsSettings settings,
                                   const Bounds& bounds) {
    settings.windowSteps = exporter::statsWindow(bounds.times, settings.windowSteps);
    return run.stats(namesOf(names), ruleOf(rule), settings, bounds.first, bounds.last);
}

py::module_ importPandas() {
    try {
        return py::module_::import("pandas");
    } catch (py::error_already_set&) {
        PyErr_SetString(PyExc_ImportError,
                        "monexport: Run.table needs pandas; install it (Debian: python3-pandas)"
                        " or use Run.keys and Run.values, which need NumPy only");
        throw py::error_already_set();
    }
}

py::tuple keys(const RunTable& run, bool loops) {
    const bool shown = run.showsLoops(loops);
    RunTable::Rows rows = run.rows(shown, 0, 0);
    return py::make_tuple(toArray(std::move(rows.steps)), toArray(std::move(rows.loops)));
}

// float32, or float64 for a variable held in double precision (a time).
py::array columnValues(const RunTable& run, const std::string& name, const RunTable::Rows& rows,
                       bool shown) {
    if (run.holdsDoubles(name)) return toArray(run.doubleValues(name, rows, shown));
    return toArray(run.values(name, rows, shown));
}

py::array values(const RunTable& run, const std::string& name, bool loops) {
    const bool shown = run.showsLoops(loops);
    return columnValues(run, name, run.rows(shown, 0, 0), shown);
}

py::object table(const RunTable& run, const py::object& names, const py::object& rule, bool loops,
                 const py::object& first, const py::object& last, const py::object& firstTime,
                 const py::object& lastTime) {
    py::module_ pandas = importPandas();
    const std::vector<std::string> columns = run.select(namesOf(names), ruleOf(rule), true, loops);
    const bool shown = run.showsLoops(loops);
    const Bounds bounds = boundsOf(run, first, last, firstTime, lastTime);
    const RunTable::Rows rows = run.rows(shown, bounds.first, bounds.last);
    py::dict data;
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::string& name = columns[i];
        if (run.isKey(name))
            data[py::int_(i)] = toArray(run.keyValues(name, rows));
        else
            data[py::int_(i)] = columnValues(run, name, rows, shown);
    }
    py::object frame = pandas.attr("DataFrame")(data);
    frame.attr("columns") = py::cast(columns);
    return frame;
}

std::vector<std::string> selectNames(const RunTable& run, const py::object& names,
                                     const py::object& rule) {
    return run.select(namesOf(names), ruleOf(rule), false, true);
}

// <monexport.Run 'case' (run directory): 12 variables, 3000 records>
std::string describe(const RunTable& run) {
    static const char* const kKinds[] = {"", "results file", "run directory", "monitor file"};
    return "<monexport.Run " + std::string(py::repr(py::str(run.path()))) + " (" +
           kKinds[static_cast<int>(run.source())] + "): " + std::to_string(run.variables().size()) +
           " variables, " + std::to_string(run.recordCount()) + " records>";
}

// Solver-log line patterns: a list, or one pattern alone.
std::vector<std::string> patternsOf(const py::object& patterns) {
    if (patterns.is_none()) return {};
    if (py::isinstance<py::str>(patterns)) return {py::str(patterns)};
    return patterns.cast<std::vector<std::string>>();
}

py::dict lastValues(const RunTable& run, const py::object& names, const py::object& rule) {
    py::dict values;
    for (const RunTable::LastValue& field : run.lastValues(namesOf(names), ruleOf(rule))) {
        if (field.integer && field.value == field.value)
            values[py::str(field.name)] = py::int_(static_cast<int64_t>(field.value));
        else
            values[py::str(field.name)] = py::float_(field.value);
    }
    return values;
}

py::dict info(const RunTable& run, const std::string& name) {
    const RunTable::Description description = run.info(name);
    py::dict fields, attributes;
    for (const auto& [key, value] : description.attributes) attributes[py::str(key)] = value;
    fields["label"] = description.label;
    fields["tree_name"] = description.treeName;
    fields["tree_path"] = description.treePath;
    fields["group"] = description.group;
    fields["attributes"] = attributes;
    return fields;
}

// -window's value: "auto" (or None), or a number of steps.
size_t windowOf(const py::object& window) {
    if (window.is_none()) return 0;
    if (py::isinstance<py::str>(window)) {
        const std::string text = py::str(window);
        if (text == "auto") return 0;
        throw py::value_error("window must be \"auto\" or a number of steps, not \"" + text + "\"");
    }
    const long long steps = window.cast<long long>();
    if (steps < 1) throw py::value_error("window must be a number of steps from 1");
    return static_cast<size_t>(steps);
}

py::object undefinedAsNone(double value) {
    return value == value ? py::object(py::float_(value)) : py::object(py::none());
}

py::object optionalNumber(const std::optional<double>& value) {
    return value ? undefinedAsNone(*value) : py::object(py::none());
}

// The report as a DataFrame indexed by variable, the table's columns in
// lower case; undefined values NaN, NOTE and REASON strings.
py::object statsFrame(const exporter::StatsReport& report) {
    py::module_ pandas = importPandas();
    std::vector<std::string> names;
    py::dict columns;
    const char* numeric[] = {"mean",  "std",    "min",    "max",    "stderr",    "neff",
                             "drift", "orders", "cauchy", "period", "frequency", "amplitude"};
    py::list count, first, last, note, reference, difference, verdict, reason;
    std::vector<py::list> values(std::size(numeric));
    for (const exporter::StatsReportRow& row : report.rows) {
        const stats::VariableStats& s = row.stats;
        names.push_back(row.name);
        count.append(s.count);
        first.append(s.count ? py::object(py::int_(s.firstStep)) : py::object(py::none()));
        last.append(s.count ? py::object(py::int_(s.lastStep)) : py::object(py::none()));
        const double fields[] = {s.mean, s.stdDev, s.min, s.max, s.stdError, s.neff, s.drift};
        for (size_t i = 0; i < std::size(fields); ++i) values[i].append(undefinedAsNone(fields[i]));
        values[7].append(optionalNumber(s.orders));
        values[8].append(optionalNumber(s.cauchy));
        values[9].append(optionalNumber(s.period));
        values[10].append(optionalNumber(s.frequency));
        values[11].append(optionalNumber(s.amplitude));
        note.append(s.note());
        reference.append(optionalNumber(row.reference));
        difference.append(row.comparison ? undefinedAsNone(row.comparison->difference)
                                         : py::object(py::none()));
        verdict.append(row.verdict.met);
        reason.append(row.verdict.reason);
    }
    columns["count"] = count;
    columns["first step"] = first;
    columns["last step"] = last;
    for (size_t i = 0; i < std::size(numeric); ++i) columns[numeric[i]] = values[i];
    columns["note"] = note;
    if (report.hasReference) {
        columns["reference"] = reference;
        columns["difference"] = difference;
    }
    if (report.hasVerdict) {
        columns["verdict"] = verdict;
        columns["reason"] = reason;
    }
    py::object frame = pandas.attr("DataFrame")(columns, py::arg("index") = py::cast(names),
                                                py::arg("dtype") = py::none());
    for (const char* name : numeric) frame[name] = frame[name].attr("astype")("float64");
    frame.attr("index").attr("name") = "variable";
    return frame;
}

exporter::StatsSettings settingsOf(const py::object& window, size_t cauchy) {
    exporter::StatsSettings settings;
    settings.windowSteps = windowOf(window);
    if (cauchy < 1) throw py::value_error("cauchy must be a number of steps from 1");
    settings.cauchySteps = cauchy;
    return settings;
}

py::object statsTable(const RunTable& run, const py::object& names, const py::object& rule,
                      const py::object& window, const py::object& first, const py::object& last,
                      size_t cauchy, const py::object& firstTime, const py::object& lastTime) {
    return statsFrame(boundedStats(run, names, rule, settingsOf(window, cauchy),
                                   boundsOf(run, first, last, firstTime, lastTime)));
}

py::tuple converged(const RunTable& run, const std::string& criteria, const py::object& names,
                    const py::object& rule, const py::object& window, const py::object& first,
                    const py::object& last, size_t cauchy, const py::object& firstTime,
                    const py::object& lastTime) {
    exporter::StatsSettings settings = settingsOf(window, cauchy);
    settings.criteria = stats::parseCriteria(criteria);
    const exporter::StatsReport report =
        boundedStats(run, names, rule, settings, boundsOf(run, first, last, firstTime, lastTime));
    return py::make_tuple(report.allMet(), statsFrame(report));
}

// A reference: a file's path, or a mapping of variable names to values.
std::map<std::string, double> referencesOf(const py::object& reference) {
    if (py::isinstance<py::str>(reference)) return stats::readReference(py::str(reference));
    std::map<std::string, double> values;
    for (const auto& [name, value] : reference.cast<py::dict>())
        values[py::str(name)] = value.cast<double>();
    return values;
}

py::tuple compare(const RunTable& run, const py::object& reference, double atol, double rtol,
                  double k, const py::object& names, const py::object& rule,
                  const py::object& window, const py::object& first, const py::object& last,
                  const py::object& firstTime, const py::object& lastTime) {
    exporter::StatsSettings settings = settingsOf(window, stats::kDefaultCauchySteps);
    settings.references = referencesOf(reference);
    settings.tolerance = {atol, rtol, k};
    const exporter::StatsReport report =
        boundedStats(run, names, rule, settings, boundsOf(run, first, last, firstTime, lastTime));
    return py::make_tuple(report.allMet(), statsFrame(report));
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() = "Monitor data of solver runs as NumPy arrays and pandas tables.";
    static py::exception<owl::Error> error(m, "Error");
    // Every failure of the library is a monexport.Error; Python's own
    // exceptions (a wrong argument, a missing module) and MemoryError pass.
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const owl::Error& e) {
            error(inPythonTerms(e.getErrorText()).c_str());
        } catch (const py::builtin_exception&) {
            throw;
        } catch (const py::error_already_set&) {
            throw;
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            error(inPythonTerms(e.what()).c_str());
        }
    });
    warningClass = PyErr_NewException("monexport.MonexportWarning", PyExc_UserWarning, nullptr);
    m.attr("MonexportWarning") = py::handle(warningClass);
    m.attr("__version__") = MONEXPORT_VERSION;

    py::class_<RunTable>(m, "Run", "One run's monitor data, opened with monexport.open.")
        .def_property_readonly("variables", &RunTable::variables,
                               "Every name, record keys first, in the database's order.")
        .def_property_readonly("groups", &RunTable::groups, "The variable groups of the run.")
        .def("info", &info, py::arg("name"),
             "What the run declares about a variable: a dict with label, tree_name, tree_path,\n"
             "group and attributes (every declared attribute, keys in lower case).")
        .def("__repr__", &describe)
        .def("select", warning(&selectNames), py::arg("names") = py::none(),
             py::arg("rule") = py::none(),
             "The names a table holds, as the command's -varlist/-varrule select them: the\n"
             "listed names in order, then the rule's matches in database order; without\n"
             "either, every variable. An unknown listed name raises monexport.Error.")
        .def(
            "update",
            [](RunTable& run) {
                const size_t records = run.update();
                emitWarnings(run);
                return records;
            },
            "Reads what the run's solver wrote since the run was opened or last updated\n"
            "(only the appended part of its files) and returns the number of new\n"
            "records; table() and the other methods then hold them.")
        .def("keys", &keys, py::arg("loops") = true,
             "(steps, loops): int64 arrays, one entry per row of the time-history table;\n"
             "with loops, every coefficient loop of each step, else one row per step.")
        .def("values", &values, py::arg("name"), py::arg("loops") = true,
             "The variable's values along the rows of keys(loops) as a float32 array\n"
             "(float64 for a time held in double precision), NaN where there is no\n"
             "value. A results file reads only this variable.")
        .def("table", warning(&table), py::arg("names") = py::none(), py::arg("rule") = py::none(),
             py::arg("loops") = true, py::arg("first") = py::none(), py::arg("last") = py::none(),
             py::arg("first_time") = py::none(), py::arg("last_time") = py::none(),
             "The time-history table as a pandas DataFrame: the command's rows, columns and\n"
             "column order, integer key columns, NaN for empty fields. first/last bound the\n"
             "time steps as -firsttimestep/-lasttimestep (None or 0 or below: open end),\n"
             "first_time/last_time the run's TIME as -firsttime/-lasttime (None: open end).")
        .def("last_values", warning(&lastValues), py::arg("names") = py::none(),
             py::arg("rule") = py::none(),
             "Each selected variable's last value, as the last-values table: a dict.")
        .def("stats", warning(&statsTable), py::arg("names") = py::none(),
             py::arg("rule") = py::none(), py::arg("window") = "auto",
             py::arg("first") = py::none(), py::arg("last") = py::none(),
             py::arg("cauchy") = stats::kDefaultCauchySteps, py::arg("first_time") = py::none(),
             py::arg("last_time") = py::none(),
             "The statistics table (-stats) as a DataFrame indexed by variable: count,\n"
             "first step, last step, mean, std, min, max, stderr, neff, drift, orders,\n"
             "cauchy, period, frequency, amplitude (NaN where undefined) and note (a\n"
             "string). window: \"auto\" (the settled part, MSER-5) or the last N steps;\n"
             "first_time fixes the window's start as -firsttime. See docs/stats.md.")
        .def("converged", warning(&converged), py::arg("criteria"), py::arg("names") = py::none(),
             py::arg("rule") = py::none(), py::arg("window") = "auto",
             py::arg("first") = py::none(), py::arg("last") = py::none(),
             py::arg("cauchy") = stats::kDefaultCauchySteps, py::arg("first_time") = py::none(),
             py::arg("last_time") = py::none(),
             "(met, table): the -converged verdict of the criteria 'RULE : TEST [and TEST]\n"
             "; ...' and the statistics table with verdict (bool) and reason columns.\n"
             "Without names or rule, the rows are the variables the criteria match.")
        .def("compare", warning(&compare), py::arg("reference"), py::arg("atol") = 0.0,
             py::arg("rtol") = 1e-6, py::arg("k") = 3.0, py::arg("names") = py::none(),
             py::arg("rule") = py::none(), py::arg("window") = "auto",
             py::arg("first") = py::none(), py::arg("last") = py::none(),
             py::arg("first_time") = py::none(), py::arg("last_time") = py::none(),
             "(met, table): each mean against a reference (a -stats table's path, a CSV\n"
             "with VARIABLE and MEAN or VALUE columns, or a dict of values), met when\n"
             "|mean - ref| <= atol + rtol |ref| + k stderr. Adds reference, difference,\n"
             "verdict and reason columns.");

    m.def(
        "open",
        [](const std::string& path, const py::object& source, const py::object& patterns) {
            auto run = std::make_unique<RunTable>(path, sourceNamed(source), patternsOf(patterns));
            emitWarnings(*run);
            return run;
        },
        py::arg("path"), py::arg("source") = py::none(), py::arg("patterns") = py::none(),
        "Opens a run: a results file, a run directory or a monitor file, decided from\n"
        "the path (a folder is a run directory; a file starting like an HDF5 or ADF\n"
        "file a results file; any other file a monitor file). source=\"res\", \"dir\"\n"
        "or \"mon\" forces one. patterns: solver-log line patterns, a list or one text\n"
        "('Phase-1 volume fraction = {alpha}'). What the reading skipped comes as a\n"
        "monexport.MonexportWarning; failures raise monexport.Error.");

    addStudyBindings(m);
}
