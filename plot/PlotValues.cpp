#include "plot/PlotValues.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "libs/guiapp/MakeStdString.h"
#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/MonVariable.h"
#include "libs/mondata/model/RecordKey.h"

namespace plot {

namespace {
// The number of styles one run's lines take, so that the same line of
// another run keeps its colour and changes its dash pattern.
constexpr size_t kColourCount = 10;

// The value of a step's last loop, kMissing where there is none. Variables
// that share the run's records are read straight from their arrays; the
// keys are computed from the records.
float lastValueAt(const TimestepData& data, const mon::RowIndex& rows, int position) {
    const int64_t record = rows.endRecordAt(position) - 1;
    if (&data.rows() != &rows) return data.getValue(rows.stepAt(position), -1);
    if (data.key() == TimestepData::Key::Step) return static_cast<float>(rows.stepAt(position));
    if (data.key() == TimestepData::Key::Loop) return static_cast<float>(rows.loopOfRecord(record));
    return data.values()[static_cast<size_t>(record)];
}

// The same in the precision the variable is held in; FLT_MAX where none.
double lastDoubleAt(const TimestepData& data, const mon::RowIndex& rows, int position) {
    if (!data.holdsDoubles()) return lastValueAt(data, rows, position);
    if (&data.rows() != &rows) return data.getDoubleValue(rows.stepAt(position), -1);
    return data.doubleValues()[static_cast<size_t>(rows.endRecordAt(position) - 1)];
}

// An X value as stored: less the line's origin, which its first value sets.
float storedX(FigureLine& line, double x, bool& originSet) {
    if (x == static_cast<double>(kMissing)) return kMissing;
    if (!originSet && std::isfinite(x)) line.xOrigin = x, originSet = true;
    return static_cast<float>(x - line.xOrigin);
}

void note(int32_t& first, int32_t step) {
    if (first == 0) first = step;
}

void noteEvents(LineEvents& events, float y, int32_t step) {
    if (y > 0 && y < kMissing) return;  // the common case, and missing
    if (std::isnan(y))
        note(events.firstNan, step);
    else if (std::isinf(y))
        note(y > 0 ? events.firstPlusInf : events.firstMinusInf, step);
    else if (y <= 0)
        note(events.firstNonPositive, step);
    if (y < 0) note(events.firstNegative, step);
}

StepRange stepsOf(const LineRequest& request, const StepRange& run, const mon::RowIndex& rows) {
    StepRange steps = request.steps;
    if (run.first > 0) steps.first = std::max(steps.first, run.first);
    if (run.last > 0) steps.last = steps.last > 0 ? std::min(steps.last, run.last) : run.last;
    if (request.lastSteps > 0 && rows.stepCount() > 0) {
        const int64_t first = int64_t{rows.stepAt(rows.stepCount() - 1)} - request.lastSteps + 1;
        if (first > steps.first) steps.first = static_cast<int32_t>(first);
    }
    return steps;
}

// " [s]" for a variable that declares units, else nothing.
std::string unitsSuffix(const MonDatabase& database, const QString& variable) {
    const mon::VariableInfo* info = database.variableInfo(variable);
    const QString units = info ? info->attribute(QStringLiteral("units")) : QString();
    return units.isEmpty() ? "" : " [" + owl::MakeStdString(units) + "]";
}

void describe(FigureLine& line, const MonDatabase& database, const QString& yVariable) {
    if (const mon::VariableInfo* info = database.variableInfo(yVariable)) {
        line.units = owl::MakeStdString(info->attribute(QStringLiteral("units")));
        line.residual = info->attribute(QStringLiteral("category")) == QLatin1String("RESIDUAL");
        line.iterations =
            info->attribute(QStringLiteral("subcategory")) == QLatin1String("ITERATIONS");
    }
}

FigureLine lineOf(const PlotLineSource& source, const NamedRun& run, const LineRequest& request) {
    FigureLine line;
    line.name = source.label;
    const MonDatabase& database = *run.database;
    const TimestepData* x =
        database.getVariable(request.xVariable.isEmpty() ? source.xVariable : request.xVariable);
    const TimestepData* y = database.getVariable(source.yVariable);
    describe(line, database, source.yVariable);
    if (!x || !y) return line;
    const mon::RowIndex& rows = y->rows();
    const StepRange steps = stepsOf(request, run.steps, rows);
    line.x.reserve(static_cast<size_t>(rows.stepCount()));
    line.y.reserve(static_cast<size_t>(rows.stepCount()));
    bool originSet = !x->holdsDoubles();  // float X values need no origin
    for (int position = 0; position < rows.stepCount(); ++position) {
        const int step = rows.stepAt(position);
        if (steps.first > 0 && step < steps.first) continue;
        if (steps.last > 0 && step > steps.last) break;
        const float value = lastValueAt(*y, rows, position);
        noteEvents(line.events, value, step);
        line.x.push_back(storedX(line, lastDoubleAt(*x, rows, position), originSet));
        line.y.push_back(value);
    }
    return line;
}
}  // namespace

Figure figureOf(const DefaultPlot& plot, const std::vector<NamedRun>& runs,
                const LineRequest& request) {
    Figure figure;
    figure.title = plot.title;
    figure.xTitle = plot.xTitle;
    figure.yTitle = plot.yTitle;
    figure.logarithmicY = plot.logarithmicY;
    if (!request.xVariable.isEmpty() && !runs.empty())
        figure.xTitle = owl::MakeStdString(
            MonVariable(request.xVariable, runs.front().database).getPreferredLabel());
    if (!runs.empty() && !plot.lines.empty())
        figure.xTitle += unitsSuffix(*runs.front().database, request.xVariable.isEmpty()
                                                                 ? plot.lines.front().xVariable
                                                                 : request.xVariable);
    const size_t stylesPerRun =
        (plot.lines.size() + kColourCount - 1) / kColourCount * kColourCount;
    // Reserved: a line's arrays hold a value per step, and growing the
    // vector would copy every line made so far.
    figure.lines.reserve(runs.size() * plot.lines.size());
    for (size_t r = 0; r < runs.size(); ++r)
        for (size_t i = 0; i < plot.lines.size(); ++i) {
            FigureLine line = lineOf(plot.lines[i], runs[r], request);
            if (runs.size() > 1) line.name += " (" + runs[r].name + ")";
            line.quantity = i;
            line.style = r * stylesPerRun + i;
            figure.lines.push_back(std::move(line));
        }
    return figure;
}

std::string progressOf(const MonDatabase& database) {
    const TimestepData* steps =
        database.getVariable(QString::fromLatin1(mon::kAccumulatedTimestep.c_str()));
    if (!steps || steps->rows().stepCount() == 0) return "no records";
    const int last = steps->getLastTimestep();
    std::string text = "step " + std::to_string(last);
    const TimestepData* time = database.getVariable(QStringLiteral("TIME"));
    const double t = time ? time->getDoubleValue(last, -1) : static_cast<double>(kMissing);
    if (t != static_cast<double>(kMissing) && std::isfinite(t)) {
        char value[32];
        std::snprintf(value, sizeof value, "%.8g", t);
        text += std::string(" (t = ") + value + ")";
    }
    return text;
}

}  // namespace plot
