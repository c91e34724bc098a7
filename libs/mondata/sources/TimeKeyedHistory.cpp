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
    auto owned = std::make_unique<FoamTable>(std::move(table));
    const FoamTable* view = owned.get();
    if (sources_.size() <= source) sources_.resize(source + 1);
    sources_[source].push_back({std::move(owned), view, std::move(builderColumns), 0});
}

void TimeKeyedHistory::addGrowingSegment(size_t source, const FoamTable& table,
                                         std::vector<int> builderColumns) {
    if (sources_.size() <= source) sources_.resize(source + 1);
    sources_[source].push_back({nullptr, &table, std::move(builderColumns), 0});
}

void TimeKeyedHistory::setBuilderColumns(size_t source, size_t segment,
                                         std::vector<int> builderColumns) {
    sources_[source][segment].builderColumns = std::move(builderColumns);
}

// The first row at or after time (the same time within float noise
// included): rows ascend.
size_t TimeKeyedHistory::firstRowFrom(const Segment& segment, double time) {
    const auto& rows = segment.table->rows;
    return static_cast<size_t>(std::partition_point(rows.begin(), rows.end(),
                                                    [time](const FoamRow& row) {
                                                        return row.time < time &&
                                                               !sameTime(row.time, time);
                                                    }) -
                               rows.begin());
}

// A segment with rows wins from its first time on: each segment keeps its
// rows before the earliest first time of the segments after it.
void TimeKeyedHistory::cutSegments() {
    for (auto& segments : sources_) {
        bool later = false;
        double start = 0;
        for (size_t k = segments.size(); k-- > 0;) {
            Segment& segment = segments[k];
            const auto& rows = segment.table->rows;
            segment.rowEnd = later ? firstRowFrom(segment, start) : rows.size();
            if (rows.empty()) continue;
            start = later ? std::min(start, rows.front().time) : rows.front().time;
            later = true;
        }
    }
}

// A row without a value (every field N/A) is no record.
bool TimeKeyedHistory::hasValues(const Segment& segment, size_t row) {
    return segment.table->rows[row].firstCell < segment.table->cellEnd(row);
}

void TimeKeyedHistory::addStepTimes(double fromTime) {
    std::vector<double> times;
    for (const auto& segments : sources_)
        for (const Segment& segment : segments)
            for (size_t row = firstRowFrom(segment, fromTime); row < segment.rowEnd; ++row)
                if (hasValues(segment, row)) times.push_back(segment.table->rows[row].time);
    std::sort(times.begin(), times.end());
    for (double time : times) {
        if (!upper_.empty() && sameTime(upper_.back(), time)) {
            upper_.back() = time;
            continue;
        }
        first_.push_back(time);
        upper_.push_back(time);
        if (!isStepNumberTime(time)) stepsNotWhole_.push_back(first_.size() - 1);
    }
}

std::vector<std::vector<TimeKeyedHistory::RowRef>> TimeKeyedHistory::sourceRows(
    double fromTime) const {
    std::vector<std::vector<RowRef>> rows(sources_.size());
    for (size_t source = 0; source < sources_.size(); ++source) {
        for (const Segment& segment : sources_[source]) {
            for (size_t row = firstRowFrom(segment, fromTime); row < segment.rowEnd; ++row) {
                if (!hasValues(segment, row)) continue;
                const double time = segment.table->rows[row].time;
                const auto step =
                    std::lower_bound(upper_.begin(), upper_.end(), time) - upper_.begin();
                rows[source].push_back(
                    {&segment, static_cast<uint32_t>(row), static_cast<uint32_t>(step)});
            }
        }
    }
    return rows;
}

void TimeKeyedHistory::setValues(RunDataBuilder& builder, const RowRef& ref) const {
    const FoamTable& table = *ref.segment->table;
    const size_t end = table.cellEnd(ref.row);
    for (size_t cell = table.rows[ref.row].firstCell; cell < end; ++cell)
        builder.setDoubleValue(ref.segment->builderColumns[table.cells[cell].column],
                               table.cells[cell].value);
}

// Where every time is a whole number (a steady run's iterations), the step
// is the time, whichever source and write interval gave it; otherwise the
// position of the time.
int TimeKeyedHistory::stepNumber(size_t position) const {
    return stepIsTime_ ? static_cast<int>(first_[position]) : static_cast<int>(position) + 1;
}

void TimeKeyedHistory::deliver(RunDataBuilder& builder, int timeColumn) {
    deliverFrom(builder, timeColumn, kFromStart);
    if (hasLoops()) builder.setCoefficientLoops(true);
}

// The first delivered step whose last time is at or after changedFrom: the
// steps before it cannot change.
size_t TimeKeyedHistory::firstStepReached(double changedFrom) const {
    return static_cast<size_t>(std::partition_point(upper_.begin(), upper_.end(),
                                                    [changedFrom](double upper) {
                                                        return upper < changedFrom &&
                                                               !sameTime(upper, changedFrom);
                                                    }) -
                               upper_.begin());
}

void TimeKeyedHistory::forgetStepsFrom(size_t position) {
    first_.resize(position);
    upper_.resize(position);
    for (auto* steps : {&stepsWithLoops_, &stepsNotWhole_})
        steps->erase(std::lower_bound(steps->begin(), steps->end(), position), steps->end());
}

void TimeKeyedHistory::deliverFrom(RunDataBuilder& builder, int timeColumn, double changedFrom) {
    cutSegments();
    size_t from = firstStepReached(changedFrom);
    if (from < first_.size()) builder.dropRecordsFrom(stepNumber(from));
    double fromTime = from == 0              ? kFromStart
                      : from < first_.size() ? std::min(first_[from], changedFrom)
                                             : changedFrom;
    forgetStepsFrom(from);
    const double lastUpper = from > 0 ? upper_[from - 1] : 0;
    addStepTimes(fromTime);
    // Steps numbered otherwise, or a new time that joins the step before:
    // every step is delivered again.
    const bool whole = stepsNotWhole_.empty();
    const bool joined = from > 0 && upper_[from - 1] != lastUpper;
    if (from > 0 && (whole != stepIsTime_ || joined)) {
        builder.dropRecordsFrom(stepNumber(0));
        from = 0;
        fromTime = kFromStart;
        forgetStepsFrom(0);
        addStepTimes(fromTime);
    }
    stepIsTime_ = stepsNotWhole_.empty();
    if (!stepIsTime_) builder.setStepsNumberedByReader();
    deliverSteps(builder, timeColumn, from, fromTime);
}

void TimeKeyedHistory::deliverSteps(RunDataBuilder& builder, int timeColumn, size_t fromStep,
                                    double fromTime) {
    const std::vector<std::vector<RowRef>> rows = sourceRows(fromTime);
    // A record per time at least (more with loops): columns seldom move.
    builder.reserveRecords(builder.recordCount() +
                           static_cast<int64_t>(first_.size() - fromStep));
    std::vector<size_t> next(rows.size(), 0), count(rows.size(), 0);
    for (size_t step = fromStep; step < first_.size(); ++step) {
        size_t loops = 0;
        for (size_t source = 0; source < rows.size(); ++source) {
            size_t end = next[source];
            while (end < rows[source].size() && rows[source][end].step == step) ++end;
            count[source] = end - next[source];
            loops = std::max(loops, count[source]);
        }
        if (loops > 1) stepsWithLoops_.push_back(step);
        loops = std::min<size_t>(loops, RunDataBuilder::kMaxLoop);
        for (size_t loop = 0; loop < loops; ++loop) {
            builder.beginRecord(stepNumber(step), static_cast<int>(loop) + 1);
            builder.setDoubleValue(timeColumn, first_[step]);
            for (size_t source = 0; source < rows.size(); ++source)
                if (loop < count[source]) setValues(builder, rows[source][next[source] + loop]);
        }
        for (size_t source = 0; source < rows.size(); ++source) next[source] += count[source];
    }
}

}  // namespace mon
