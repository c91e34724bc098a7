#include "libs/mondata/model/TimestepData.h"

#include <utility>

TimestepData::TimestepData(std::shared_ptr<const mon::RowIndex> rows, mon::FloatColumn values,
                           bool coefficientLoops)
    : rows_(std::move(rows)), ownFloats_(std::move(values)) {
    setValueRange(coefficientLoops);
}

TimestepData::TimestepData(std::shared_ptr<const mon::RowIndex> rows,
                           const mon::FloatColumn& floats, const mon::DoubleColumn* doubles,
                           bool coefficientLoops, mon::VariableInfo::Precision precision)
    : rows_(std::move(rows)), floats_(&floats) {
    if (doubles) {
        doubles_ = doubles;
        precision_ = precision;
    }
    setValueRange(coefficientLoops);
}

void TimestepData::setValueRange(bool coefficientLoops) {
    const mon::FloatColumn& values = *floats_;
    const int64_t count = rows_->rowCount();
    if (count == 0) return;
    int64_t first = 0;
    while (first < count && values[static_cast<size_t>(first)] == FLT_MAX) ++first;
    int64_t last = count - 1;
    while (last >= 0 && values[static_cast<size_t>(last)] == FLT_MAX) --last;
    if (last < 0) {  // no value at all
        first = 0;
        last = count - 1;
    }
    setRange(first, last, coefficientLoops);
}

namespace {
mon::FloatColumn roundedToFloat(const mon::DoubleColumn& doubles) {
    mon::FloatColumn floats(doubles.size());
    for (size_t i = 0; i < doubles.size(); ++i) floats[i] = static_cast<float>(doubles[i]);
    return floats;
}
}  // namespace

TimestepData::TimestepData(std::shared_ptr<const mon::RowIndex> rows, mon::DoubleColumn values,
                           bool coefficientLoops, mon::VariableInfo::Precision precision)
    : TimestepData(std::move(rows), roundedToFloat(values), coefficientLoops) {
    ownDoubles_ = std::move(values);
    precision_ = precision;
}

TimestepData::TimestepData(std::shared_ptr<const mon::RowIndex> rows, mon::FloatColumn floats,
                           mon::DoubleColumn values, bool coefficientLoops,
                           mon::VariableInfo::Precision precision)
    : TimestepData(std::move(rows), std::move(floats), coefficientLoops) {
    ownDoubles_ = std::move(values);
    precision_ = precision;
}

TimestepData::TimestepData(std::shared_ptr<const mon::RowIndex> rows, Key key,
                           bool coefficientLoops)
    : rows_(std::move(rows)), key_(key) {
    if (rows_->rowCount() > 0) setRange(0, rows_->rowCount() - 1, coefficientLoops);
}

TimestepData::~TimestepData() = default;

void TimestepData::setRange(int64_t firstRecord, int64_t lastRecord, bool coefficientLoops) {
    firstStep_ = rows_->stepAt(rows_->positionOfRecord(firstRecord));
    lastStep_ = rows_->stepAt(rows_->positionOfRecord(lastRecord));
    if (coefficientLoops) lastLoop_ = rows_->loopOfRecord(lastRecord);
}

int TimestepData::getCloopCount(int step) const {
    int position = rows_->findStep(step);
    return position < 0 ? 0 : rows_->loopCountAt(position);
}

float TimestepData::getValue(int step, int cloop) const {
    if (key_ != Key::None) return keyValue(step, cloop);
    const int64_t record = rows_->record(step, cloop);
    return record < 0 ? FLT_MAX : (*floats_)[static_cast<size_t>(record)];
}

double TimestepData::getDoubleValue(int step, int cloop) const {
    if (!holdsDoubles()) return getValue(step, cloop);
    const int64_t record = rows_->record(step, cloop);
    return record < 0 ? FLT_MAX : (*doubles_)[static_cast<size_t>(record)];
}

float TimestepData::keyValue(int step, int cloop) const {
    const int position = rows_->findStep(step);
    if (position < 0) return FLT_MAX;
    const int count = rows_->loopCountAt(position);
    if (cloop == -1) cloop = count;
    if (cloop < 1 || cloop > count) return FLT_MAX;
    return static_cast<float>(key_ == Key::Step ? step : cloop);
}
