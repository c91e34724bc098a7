#include "plot/PlotValues.h"

#include <cfloat>
#include <cmath>

#include "libs/mondata/model/MonDatabase.h"

namespace plot {

namespace {
// The value of a step's last loop, NaN where there is none. Variables that
// share the run's records are read straight from their arrays; the keys
// are computed from the records.
float lastValueAt(const TimestepData& data, const mon::RowIndex& rows, int position) {
    const int64_t record = rows.endRecordAt(position) - 1;
    float value;
    if (&data.rows() != &rows)
        value = data.getValue(rows.stepAt(position), -1);
    else if (data.key() == TimestepData::Key::Step)
        value = static_cast<float>(rows.stepAt(position));
    else if (data.key() == TimestepData::Key::Loop)
        value = static_cast<float>(rows.loopOfRecord(record));
    else
        value = data.values()[static_cast<size_t>(record)];
    return value == FLT_MAX ? std::nanf("") : value;
}

FigureLine lineOf(const PlotLineSource& source, const MonDatabase& database, StepRange steps) {
    FigureLine line;
    line.name = source.label;
    const TimestepData* x = database.getVariable(source.xVariable);
    const TimestepData* y = database.getVariable(source.yVariable);
    if (!x || !y) return line;
    const mon::RowIndex& rows = y->rows();
    line.x.reserve(static_cast<size_t>(rows.stepCount()));
    line.y.reserve(static_cast<size_t>(rows.stepCount()));
    for (int position = 0; position < rows.stepCount(); ++position) {
        const int step = rows.stepAt(position);
        if (steps.first > 0 && step < steps.first) continue;
        if (steps.last > 0 && step > steps.last) break;
        line.x.push_back(lastValueAt(*x, rows, position));
        line.y.push_back(lastValueAt(*y, rows, position));
    }
    return line;
}
}  // namespace

Figure figureOf(const DefaultPlot& plot, const MonDatabase& database, StepRange steps) {
    Figure figure;
    figure.title = plot.title;
    figure.xTitle = plot.xTitle;
    figure.yTitle = plot.yTitle;
    figure.logarithmicY = plot.logarithmicY;
    for (const PlotLineSource& source : plot.lines)
        figure.lines.push_back(lineOf(source, database, steps));
    return figure;
}

}  // namespace plot
