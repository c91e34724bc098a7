#pragma once
// A loaded run as text, for tests to compare with a known answer: the
// declarations, then a line per step, "STEP/LOOPS:" and per record "LOOP
// VALUES;" ("STEP: VALUES;" in a run without coefficient loops), "-" for a
// missing value. Nine significant digits tell every float apart.

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "libs/mondata/model/RunData.h"

namespace testing_run {

inline std::string valueText(float value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    if (value == FLT_MAX) return "-";
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.9g", static_cast<double>(value));
    return shown;
}

inline std::string describe(const mon::RunData& run) {
    std::string text = run.hasCoefficientLoops ? "loops\n" : "steady\n";
    for (const mon::VariableInfo& info : run.variables) {
        text += "var " + info.name.toStdString();
        for (const auto& [key, value] : info.attributes)
            text += " " + key.toStdString() + "=" + value.toStdString();
        text += "\n";
    }
    const mon::RowIndex& rows = *run.rows;
    for (int position = 0; position < rows.stepCount(); ++position) {
        text += std::to_string(rows.stepAt(position));
        if (run.hasCoefficientLoops) text += "/" + std::to_string(rows.loopCountAt(position));
        text += ":";
        for (int64_t r = rows.firstRecordAt(position); r < rows.endRecordAt(position); ++r) {
            if (run.hasCoefficientLoops) text += " " + std::to_string(rows.loopOfRecord(r));
            for (const mon::FloatColumn& values : run.columns)
                text += " " + valueText(values.at(static_cast<size_t>(r)));
            text += ";";
        }
        text += "\n";
    }
    return text;
}

}  // namespace testing_run
