#include "export/TimeRange.h"

#include <QString>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "export/ExporterError.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/model/MonDatabase.h"

namespace exporter {

namespace {
std::optional<double> timeOption(const std::string& text, const char* option) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
        raise("timeRange", std::string("Invalid value '") + owl::printable(text) + "' for option " +
                               option + ": expected a number.");
    return value;
}

double slackOf(double time) {
    return 1e-9 * std::fabs(time);
}

// TIME at the step's last record, FLT_MAX where it has none.
double timeAt(const TimestepData& time, int position) {
    const mon::RowIndex& rows = time.rows();
    const size_t record = static_cast<size_t>(rows.endRecordAt(position) - 1);
    return time.holdsDoubles() ? time.doubleValues()[record] : time.values()[record];
}
}  // namespace

TimeRange timeRange(const std::string& first, const std::string& last) {
    return {timeOption(first, "-firsttime"), timeOption(last, "-lasttime")};
}

void narrowToTimes(const MonDatabase& run, const TimeRange& range, int32_t& firstStep,
                   int32_t& lastStep) {
    if (!range.any()) return;
    const TimestepData* time = run.getVariable(QStringLiteral("TIME"));
    if (!time || time->key() != TimestepData::Key::None)
        raise("narrowToTimes",
              "The run has no TIME variable, so -firsttime and -lasttime cannot select its "
              "records: use -firsttimestep and -lasttimestep.");
    const mon::RowIndex& rows = time->rows();
    std::optional<int32_t> first, last;
    for (int position = 0; position < rows.stepCount(); ++position) {
        const double t = timeAt(*time, position);
        if (t == FLT_MAX || !std::isfinite(t)) continue;
        const int32_t step = rows.stepAt(position);
        const bool afterFirst = !range.first || t >= *range.first - slackOf(*range.first);
        const bool beforeLast = !range.last || t <= *range.last + slackOf(*range.last);
        if (afterFirst && beforeLast) {
            if (!first) first = step;
            last = step;
        }
    }
    if (!first) {  // no step: a range that holds none
        firstStep = std::numeric_limits<int32_t>::max();
        lastStep = std::numeric_limits<int32_t>::max() - 1;
        return;
    }
    if (range.first) firstStep = firstStep > 0 ? std::max(firstStep, *first) : *first;
    if (range.last) lastStep = lastStep > 0 ? std::min(lastStep, *last) : *last;
}

}  // namespace exporter
