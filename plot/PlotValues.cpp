#include "plot/PlotValues.h"

#include <cfloat>
#include <cmath>

#include "libs/mondata/MonDatabase.h"

namespace plot {

namespace {
float valueAt(const TimestepData& data, int row) {
    const float value = data.values()[static_cast<size_t>(row)];
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
        const int row = rows.firstRowAt(position) + rows.loopCountAt(position) - 1;
        line.x.push_back(valueAt(*x, row));
        line.y.push_back(valueAt(*y, row));
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
