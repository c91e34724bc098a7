#include "libs/mondata/model/RunDataBuilder.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace mon {

namespace {
// Maps the fresh pages of [begin, end) in one call before they are written:
// a fault per 4 KB page costs several times more on virtual machines. Only
// a hint, which kernels without it refuse harmlessly; a few pages are not
// worth the call.
void prepareForWriting(const float* begin, const float* end) {
    const uintptr_t page = 4096;
    if (static_cast<uintptr_t>(end - begin) * sizeof(float) < 16 * page) return;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(begin) + page - 1) & ~(page - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(end) + page - 1) & ~(page - 1);
#ifdef MADV_POPULATE_WRITE
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#endif
}
}  // namespace

RunDataBuilder::RunDataBuilder() {
    auto rows = std::make_shared<RowIndex>();
    rows_ = rows.get();
    data_.rows = std::move(rows);
}

void RunDataBuilder::clear() {
    std::vector<std::string> warnings = takeWarnings();
    const NameEncoding names = data_.names;
    *this = RunDataBuilder();
    data_.warnings = std::move(warnings);
    data_.names = names;
}

int RunDataBuilder::declare(VariableInfo info) {
    auto found = columns_.constFind(info.name);
    if (found != columns_.constEnd()) return found.value();
    int column = static_cast<int>(data_.variables.size());
    columns_.insert(info.name, column);
    data_.variables.push_back(std::move(info));
    data_.columns.emplace_back().reserve(static_cast<size_t>(reservedRecords_));
    data_.doubleColumns.emplace_back();
    holdsDoubles_.push_back(data_.variables.back().holdsDoubles());
    if (holdsDoubles_.back())
        data_.doubleColumns.back().reserve(static_cast<size_t>(reservedRecords_));
    return column;
}

void RunDataBuilder::reserveRecords(int64_t records) {
    if (records <= reservedRecords_) return;
    reservedRecords_ = records;
    for (auto& values : data_.columns) values.reserve(static_cast<size_t>(records));
    for (size_t variable = 0; variable < data_.variables.size(); ++variable)
        if (data_.variables[variable].holdsDoubles())
            data_.doubleColumns[variable].reserve(static_cast<size_t>(records));
}

int RunDataBuilder::columnOf(const QString& name) const {
    return columns_.value(name, -1);
}

void RunDataBuilder::beginRecord(int step, int loop) {
    if (!rows_->isAfterLast(step, loop)) {
        rowCount_ = rows_->truncateFrom(step, loop);
        truncate(rowCount_);
    }
    rowCount_ = rows_->append(step, loop);
}

void RunDataBuilder::dropRecordsFrom(int step, int loop) {
    if (rows_->isAfterLast(step, loop)) return;
    rowCount_ = rows_->truncateFrom(step, loop);
    truncate(rowCount_);
}

void RunDataBuilder::truncate(int64_t records) {
    publishedKept_ = std::min(publishedKept_, records);
    keptSinceMark_ = std::min(keptSinceMark_, records);
    const auto kept = static_cast<size_t>(records);
    for (auto& values : data_.columns)
        if (values.size() > kept) values.resize(kept);
    for (auto& values : data_.doubleColumns)
        if (values.size() > kept) values.resize(kept);
}

bool RunDataBuilder::rollBack(const Mark& mark) {
    if (keptSinceMark_ < mark.records) return false;
    if (rowCount_ > mark.records) {
        const int position = rows_->positionOfRecord(mark.records);
        rowCount_ = rows_->truncateFrom(rows_->stepAt(position), rows_->loopOfRecord(mark.records));
        truncate(rowCount_);
    }
    for (size_t variable = mark.variables; variable < data_.variables.size(); ++variable)
        columns_.remove(data_.variables[variable].name);
    data_.variables.erase(data_.variables.begin() + static_cast<long>(mark.variables),
                          data_.variables.end());
    data_.columns.resize(mark.variables);
    data_.doubleColumns.resize(mark.variables);
    holdsDoubles_.resize(mark.variables);
    data_.hasCoefficientLoops = mark.loops;
    return true;
}

// Records hold a field's values a record apart, columns hold them side by
// side: the values are moved a block of fields at a time, so that each
// record's block is one cache line read and each column one stream written.
void RunDataBuilder::setRecordValues(const std::vector<int>& columns,
                                     const std::vector<RecordValues>& records) {
    size_t fields = 0;
    for (const RecordValues& record : records) fields = std::max(fields, record.count);
    const size_t first = static_cast<size_t>(rowCount_) - records.size();
    std::vector<float*> targets(fields);
    for (size_t field = 0; field < fields; ++field) {
        FloatColumn& values = data_.columns[static_cast<size_t>(columns[field])];
        values.resize(first, FLT_MAX);
        if (values.capacity() >= first + records.size())
            prepareForWriting(values.data() + first, values.data() + first + records.size());
        values.resize(first + records.size(), FLT_MAX);
        targets[field] = values.data() + first;
    }
    for (size_t block = 0; block < fields; block += kFieldBlock)
        copyFieldBlock(records, targets.data() + block, block,
                       std::min(kFieldBlock, fields - block));
}

void RunDataBuilder::copyFieldBlock(const std::vector<RecordValues>& records, float* const* targets,
                                    size_t firstField, size_t width) {
    for (size_t row = 0; row < records.size(); ++row) {
        const RecordValues& record = records[row];
        const size_t present = std::min(width, record.count - std::min(record.count, firstField));
        const float* from = record.values + firstField;
        for (size_t field = 0; field < present; ++field) targets[field][row] = from[field];
    }
}

// A double column also takes the values a reader set as floats (setValue,
// setRecordValues, a merge of float runs): where it has none, the float's.
// The records before fromRecord were completed before.
void RunDataBuilder::completeDoubleColumns(size_t fromRecord) {
    for (size_t variable = 0; variable < data_.variables.size(); ++variable) {
        if (!data_.variables[variable].holdsDoubles()) continue;
        const FloatColumn& floats = data_.columns[variable];
        DoubleColumn& doubles = data_.doubleColumns[variable];
        doubles.resize(floats.size(), FLT_MAX);
        for (size_t record = fromRecord; record < floats.size(); ++record)
            if (doubles[record] == FLT_MAX) doubles[record] = floats[record];
    }
}

int64_t RunDataBuilder::publish() {
    for (auto& values : data_.columns) values.resize(static_cast<size_t>(rowCount_), FLT_MAX);
    completeDoubleColumns(static_cast<size_t>(publishedKept_));
    const int64_t added = rowCount_ - publishedKept_;
    publishedKept_ = rowCount_;
    return added;
}

RunData RunDataBuilder::finish() {
    publish();
    return std::move(data_);
}

}  // namespace mon
