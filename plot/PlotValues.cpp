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

// The positions of the steps drawn, [first, end): steps ascend.
struct Positions {
    int first = 0;
    int end = 0;
    size_t count() const { return static_cast<size_t>(end - first); }
};

Positions positionsOf(const mon::RowIndex& rows, const StepRange& steps) {
    Positions at{0, rows.stepCount()};
    if (steps.first > 0) at.first = rows.positionAfterStep(int64_t{steps.first} - 1);
    if (steps.last > 0) at.end = std::max(at.first, rows.positionAfterStep(steps.last));
    return at;
}

// Whether the variable's values are its values at each step, as stored: one
// record per step, so a figure may view them instead of copying them.
bool oneValuePerStep(const TimestepData& data, const mon::RowIndex& rows) {
    return data.key() == TimestepData::Key::None && &data.rows() == &rows &&
           rows.rowCount() == rows.stepCount() &&
           data.values().size() == static_cast<size_t>(rows.rowCount());
}

LineValues yValuesAt(const TimestepData& data, const mon::RowIndex& rows, Positions at) {
    if (oneValuePerStep(data, rows)) return LineValues(data.values().data() + at.first, at.count());
    mon::FloatColumn values;
    values.reserve(at.count());
    for (int position = at.first; position < at.end; ++position)
        values.push_back(lastValueAt(data, rows, position));
    return LineValues(std::move(values));
}

void setXValues(FigureLine& line, const TimestepData& x, const mon::RowIndex& rows, Positions at) {
    if (!x.holdsDoubles() && oneValuePerStep(x, rows)) {
        line.x = LineValues(x.values().data() + at.first, at.count());
    } else if (x.key() == TimestepData::Key::Step && &x.rows() == &rows) {
        mon::FloatColumn steps(at.count());  // the common X, in a loop of its own
        for (size_t i = 0; i < steps.size(); ++i)
            steps[i] = static_cast<float>(rows.stepAt(at.first + static_cast<int>(i)));
        line.x = LineValues(std::move(steps));
    } else {
        mon::FloatColumn values;
        values.reserve(at.count());
        bool originSet = !x.holdsDoubles();  // float X values need no origin
        for (int position = at.first; position < at.end; ++position)
            values.push_back(storedX(line, lastDoubleAt(x, rows, position), originSet));
        line.x = LineValues(std::move(values));
    }
}

FigureLine lineOf(const PlotLineSource& source, const NamedRun& run, const LineRequest& request,
                  SharedXValues& sharedX) {
    FigureLine line;
    line.name = source.label;
    const MonDatabase& database = *run.database;
    const TimestepData* x =
        database.getVariable(request.xVariable.isEmpty() ? source.xVariable : request.xVariable);
    const TimestepData* y = database.getVariable(source.yVariable);
    describe(line, database, source.yVariable);
    if (!x || !y) return line;
    const mon::RowIndex& rows = y->rows();
    const Positions at = positionsOf(rows, stepsOf(request, run.steps, rows));
    line.y = yValuesAt(*y, rows, at);
    for (size_t i = 0; i < line.y.size(); ++i)
        noteEvents(line.events, line.y[i], rows.stepAt(at.first + static_cast<int>(i)));
    sharedX.set(line, *x, rows, at.first, at.end);
    return line;
}
}  // namespace

void SharedXValues::set(FigureLine& line, const TimestepData& x, const mon::RowIndex& rows,
                        int first, int end) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Known& known : known_)
        if (known.variable == &x && known.rows == &rows && known.first == first &&
            known.end == end) {
            line.x = known.values, line.xOrigin = known.origin;
            return;
        }
    setXValues(line, x, rows, {first, end});
    known_.push_back({&x, &rows, first, end, line.x, line.xOrigin});
}

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
    figure.lines.reserve(runs.size() * plot.lines.size());
    SharedXValues ownX;
    SharedXValues& sharedX = request.sharedX ? *request.sharedX : ownX;
    for (size_t r = 0; r < runs.size(); ++r) {
        for (size_t i = 0; i < plot.lines.size(); ++i) {
            FigureLine line = lineOf(plot.lines[i], runs[r], request, sharedX);
            if (runs.size() > 1) line.name += " (" + runs[r].name + ")";
            line.quantity = i;
            line.style = r * stylesPerRun + i;
            figure.lines.push_back(std::move(line));
        }
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
