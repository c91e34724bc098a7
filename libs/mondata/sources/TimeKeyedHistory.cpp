#include "libs/mondata/sources/TimeKeyedHistory.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mon {

namespace {
bool sameTime(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}
}  // namespace

bool isStepNumberTime(double time) {
    return time >= 0 && time <= std::numeric_limits<int>::max() && time == std::floor(time);
}

void TimeKeyedHistory::addSegment(size_t source, FoamTable table, std::vector<int> builderColumns) {
    if (sources_.size() <= source) sources_.resize(source + 1);
    std::vector<Segment>& segments = sources_[source];
    if (!table.rows.empty()) {
        const double start = table.rows.front().time;
        for (Segment& earlier : segments) {
            const auto& rows = earlier.table.rows;
            auto kept = std::find_if(
                rows.begin(), rows.begin() + earlier.rowEnd,
                [&](const FoamRow& row) { return row.time >= start || sameTime(row.time, start); });
            earlier.rowEnd = static_cast<size_t>(kept - rows.begin());
        }
    }
    const size_t rowCount = table.rows.size();
    segments.push_back({std::move(table), std::move(builderColumns), rowCount});
}

// A row without a value (every field N/A) is no record.
bool TimeKeyedHistory::hasValues(const Segment& segment, size_t row) {
    return segment.table.rows[row].firstCell < segment.table.cellEnd(row);
}

void TimeKeyedHistory::stepTimes(std::vector<double>& first, std::vector<double>& upper) const {
    std::vector<double> times;
    for (const auto& segments : sources_)
        for (const Segment& segment : segments)
            for (size_t row = 0; row < segment.rowEnd; ++row)
                if (hasValues(segment, row)) times.push_back(segment.table.rows[row].time);
    std::sort(times.begin(), times.end());
    for (double time : times) {
        if (!upper.empty() && sameTime(upper.back(), time)) {
            upper.back() = time;
            continue;
        }
        first.push_back(time);
        upper.push_back(time);
    }
}

std::vector<std::vector<TimeKeyedHistory::RowRef>> TimeKeyedHistory::sourceRows(
    const std::vector<double>& upper) const {
    std::vector<std::vector<RowRef>> rows(sources_.size());
    for (size_t source = 0; source < sources_.size(); ++source) {
        for (const Segment& segment : sources_[source]) {
            for (uint32_t row = 0; row < segment.rowEnd; ++row) {
                if (!hasValues(segment, row)) continue;
                const double time = segment.table.rows[row].time;
                const auto step =
                    std::lower_bound(upper.begin(), upper.end(), time) - upper.begin();
                rows[source].push_back({&segment, row, static_cast<uint32_t>(step)});
            }
        }
    }
    return rows;
}

void TimeKeyedHistory::setValues(RunDataBuilder& builder, const RowRef& ref) const {
    const FoamTable& table = ref.segment->table;
    const size_t end = table.cellEnd(ref.row);
    for (size_t cell = table.rows[ref.row].firstCell; cell < end; ++cell)
        builder.setDoubleValue(ref.segment->builderColumns[table.cells[cell].column],
                               table.cells[cell].value);
}

// Where every time is a whole number (a steady run's iterations),
// the step is the time, whichever source and write interval gave it.
bool TimeKeyedHistory::wholeTimes(const std::vector<double>& times) {
    return std::all_of(times.begin(), times.end(), isStepNumberTime);
}

void TimeKeyedHistory::deliver(RunDataBuilder& builder, int timeColumn) {
    std::vector<double> first, upper;
    stepTimes(first, upper);
    const bool stepIsTime = wholeTimes(first);
    if (!stepIsTime) builder.setStepsNumberedByReader();
    const std::vector<std::vector<RowRef>> rows = sourceRows(upper);
    // A record per time at least (more with loops): columns seldom move.
    builder.reserveRecords(builder.recordCount() + static_cast<int64_t>(first.size()));
    std::vector<size_t> next(rows.size(), 0), count(rows.size(), 0);
    for (uint32_t step = 0; step < first.size(); ++step) {
        size_t loops = 0;
        for (size_t source = 0; source < rows.size(); ++source) {
            size_t end = next[source];
            while (end < rows[source].size() && rows[source][end].step == step) ++end;
            count[source] = end - next[source];
            loops = std::max(loops, count[source]);
        }
        if (loops > 1) builder.setCoefficientLoops(true);
        loops = std::min<size_t>(loops, RunDataBuilder::kMaxLoop);
        for (size_t loop = 0; loop < loops; ++loop) {
            builder.beginRecord(
                stepIsTime ? static_cast<int>(first[step]) : static_cast<int>(step) + 1,
                static_cast<int>(loop) + 1);
            builder.setDoubleValue(timeColumn, first[step]);
            for (size_t source = 0; source < rows.size(); ++source)
                if (loop < count[source]) setValues(builder, rows[source][next[source] + loop]);
        }
        for (size_t source = 0; source < rows.size(); ++source) next[source] += count[source];
    }
}

}  // namespace mon
